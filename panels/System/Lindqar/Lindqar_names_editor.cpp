// Panel "4": renames the 12 groups of a map on the keyboard.
#include "Lindqar.h"
#include "group_names_store.h"
#include "kovo_control_number.h"
#include "kovo_typed_text.h"
#include "panel_controls.h"

namespace {

constexpr const char* namesPanel = panel::namesEditor;

}  // namespace

void Lindqar::loadGroupNames() {
    textPut("text",
            matrixTitle(groupNamesDatabase == group_names::sourceDatabase) + " Group Name Edit",
            namesPanel, "ID_Data");
    for (int g = 1; g <= groupCount; ++g) {
        groupNames[g - 1] = group_names::readGroupName(*this, matrixDevice, groupNamesDatabase, g);
        textPut("text", groupNames[g - 1], namesPanel, numberedControl("Group_%1", g));
    }
    namesChanged = false;
    typingName = false;
    for (bool& changed : nameChanged) {
        changed = false;
    }
}

void Lindqar::namesEditorEvent(kovo_control_event& event) {
    const kovo_string control = event.controlId();
    if (control.startsWith("Group_")) {
        startTyping(controlNumber(control));
    } else if (control == "Kbd") {
        // The keyboard is enabled only while a name is typed: an event from it
        // at any other time carries no typing, and would put its emptied text in
        // place of the last group's name, for the next save to write.
        if (typingName) {
            endTyping();
        }
    } else if (control == "Cancel") {
        cancelNamesEditor();
    } else if (control == "Save_to_Network") {
        saveNames();
    }
}

// A number outside 1..12 is no group of this panel: nothing changes.
void Lindqar::startTyping(int group) {
    if (!validGroup(group)) {
        return;
    }
    editedGroup = group;
    typingName = true;
    textPut("text", groupNames[editedGroup - 1], namesPanel, "Kbd");
    for (int g = 1; g <= groupCount; ++g) {
        controlDisable(namesPanel, numberedControl("Group_%1", g));
    }
    controlDisable(namesPanel, "Cancel");
    if (namesChanged) {
        controlDisable(namesPanel, "Save_to_Network");
    }
    controlEnable(namesPanel, "Kbd");
}

// The typed name is taken as it stands, made safe for the quoted commands that
// carry it; a keyboard event before any group was touched changes nothing.
void Lindqar::endTyping() {
    if (!validGroup(editedGroup)) {
        return;
    }
    typingName = false;
    kovo_string typed;
    textGet("text", namesPanel, "Kbd", typed);
    groupNames[editedGroup - 1] = hostSafeText(typed);
    textPut("text", groupNames[editedGroup - 1], namesPanel,
            numberedControl("Group_%1", editedGroup));
    textPut("text=", namesPanel, "Kbd");
    controlDisable(namesPanel, "Kbd");
    controlEnable(namesPanel, "Cancel");
    for (int g = 1; g <= groupCount; ++g) {
        controlEnable(namesPanel, numberedControl("Group_%1", g));
    }
    nameChanged[editedGroup - 1] = true;
    namesChanged = true;
    controlEnable(namesPanel, "Save_to_Network");
}

// Closes the editor without writing.
void Lindqar::cancelNamesEditor() {
    textPut("text=", namesPanel, "ID_Data");
    for (int g = 1; g <= groupCount; ++g) {
        textPut("text=", namesPanel, numberedControl("Group_%1", g));
    }
    if (namesChanged) {
        controlDisable(namesPanel, "Save_to_Network");
    }
    namesChanged = false;
    for (bool& changed : nameChanged) {
        changed = false;
    }
    returnHome(namesPanel);
}

// Writes only the names typed since loading or the last save, and only while
// the button is enabled: while a name is typed it is not, and the names typed
// before stay marked for the save after the typing.
void Lindqar::saveNames() {
    if (namesChanged && !typingName) {
        const bool savable = matrixSavable("group names");
        for (int g = 1; g <= groupCount; ++g) {
            if (nameChanged[g - 1]) {
                if (savable) {
                    group_names::writeGroupName(*this, matrixDevice, groupNamesDatabase, g,
                                                groupNames[g - 1]);
                }
                nameChanged[g - 1] = false;
            }
        }
    }
    controlDisable(namesPanel, "Save_to_Network");
    namesChanged = false;
}
