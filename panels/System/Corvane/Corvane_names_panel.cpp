// Corvane panel 2: the long and short names of one router's sources or
// destinations, typed on the keyboard and written with Update.
#include "Corvane.h"
#include "kovo_typed_text.h"

namespace {

const char* const namesPanel = "2";
// Longest names the routers store.
constexpr unsigned longNameLength = 16;
constexpr unsigned shortNameLength = 8;

}  // namespace

void Corvane::namesPanelEvent(kovo_control_event& event) {
    const kovo_string id = event.controlId();
    if (id == "MtxNames") {
        // The entry text starts with its index ("005 = VT 1").
        const int index = event.eventValue().firstInt();
        if (index < 1 || index > namesListSize) {
            return;
        }
        selectedNameIndex = index;
        showStoredNames();
    } else if (id == "LongName") {
        beginNameTyping(0, "LongName");
    } else if (id == "ShortName") {
        beginNameTyping(2, "ShortName");
    } else if (id == "KB_1") {
        if (selectedNameIndex >= 1) {
            endNameTyping();
        }
    } else if (id == "Cancel") {
        showStoredNames();
        enableBrowsing();
        controlDisable(namesPanel, "Cancel");
        controlDisable(namesPanel, "Update");
    } else if (id == "Update") {
        if (selectedNameIndex >= 1) {
            databaseModifyName(namesDevice, namesDatabase + nameDbOffset, selectedNameIndex,
                               editedName, false);
        }
        controlDisable(namesPanel, "Cancel");
        controlDisable(namesPanel, "Update");
        enableBrowsing();
    } else if (id == "Home") {
        closeNamesEditor();
    }
}

void Corvane::showStoredNames() {
    // One text for both reads: a short name the host has no answer for shows
    // the long name again.
    kovo_string name;
    databaseGetName(namesDevice, namesDatabase, selectedNameIndex, name);
    textPut("text", name, namesPanel, "LongName");
    databaseGetName(namesDevice, namesDatabase + 2, selectedNameIndex, name);
    textPut("text", name, namesPanel, "ShortName");
}

void Corvane::enableBrowsing() {
    controlEnable(namesPanel, "LongName");
    controlEnable(namesPanel, "ShortName");
    controlEnable(namesPanel, "MtxNames");
    controlEnable(namesPanel, "Home");
}

void Corvane::beginNameTyping(int offset, const kovo_string& nameControl) {
    // With no entry chosen a typed name would have no index to be written to.
    if (selectedNameIndex < 1) {
        return;
    }
    nameDbOffset = offset;
    kovo_string current;
    textGet("text", namesPanel, nameControl, current);
    textPut("text", current, namesPanel, "KB_1");
    controlShow(namesPanel, "KB_1");
    for (const char* control : {"LongName", "ShortName", "Home", "MtxNames", "Cancel", "Update"}) {
        controlDisable(namesPanel, control);
    }
}

void Corvane::endNameTyping() {
    const bool longName = nameDbOffset == 0;
    const kovo_string nameControl = longName ? "LongName" : "ShortName";
    kovo_string oldName;
    textGet("text", namesPanel, nameControl, oldName);
    kovo_string typed;
    textGet("text", namesPanel, "KB_1", typed);
    // Made safe before the cut and the comparison, so what the button shows
    // after typing is exactly what Update stores.
    kovo_string newName = hostSafeText(typed);
    newName.truncate(longName ? longNameLength : shortNameLength);
    textPut("text=", namesPanel, "KB_1");
    controlHide(namesPanel, "KB_1");

    if (newName == oldName) {
        enableBrowsing();
        return;
    }
    editedName = newName;
    textPut("text", editedName, namesPanel, nameControl);
    controlEnable(namesPanel, nameControl);
    controlEnable(namesPanel, "Update");
    controlEnable(namesPanel, "Cancel");
    namesBlinkCount = 10;
    putFlashPhase(namesPanel, namesBlinkCount);
    timerStart(1, 1000);
}

void Corvane::closeNamesEditor() {
    if (routerRegistered) {
        routerUnregister(namesDevice);
    }
    routerRegistered = false;
    namesEditorActive = false;
    namesDevice = 0;
    namesDatabase = 0;
    nameDbOffset = 0;
    selectedNameIndex = 0;
    namesListSize = 0;
    textPut("text=", namesPanel, "LongName");
    textPut("text=", namesPanel, "ShortName");
    controlDisable(namesPanel, "Update");
    controlDisable(namesPanel, "Cancel");
    textPut("clear", namesPanel, "MtxNames");
    returnHome(namesPanel);
}
