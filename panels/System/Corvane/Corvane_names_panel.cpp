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

// Each control acts only in the state in which the panel has it enabled:
// browsing ("MtxNames", both name buttons, "Home"), typing ("KB_1"), a change
// waiting (the edited name button, "Update", "Cancel").
void Corvane::namesPanelEvent(kovo_control_event& event) {
    const kovo_string id = event.controlId();
    const bool browsing = namesState == EditorState::choosing;
    const bool waiting = namesState == EditorState::changeWaiting;
    if (id == "MtxNames") {
        // The entry text starts with its index ("005 = VT 1").
        const int index = event.eventValue().firstInt();
        if (!browsing || index < 1 || index > namesListSize) {
            return;
        }
        selectedNameIndex = index;
        showStoredNames();
    } else if (id == "LongName") {
        if (browsing || (waiting && nameDbOffset == 0)) {
            beginNameTyping(0, "LongName");
        }
    } else if (id == "ShortName") {
        if (browsing || (waiting && nameDbOffset == 2)) {
            beginNameTyping(2, "ShortName");
        }
    } else if (id == "KB_1") {
        if (namesState == EditorState::typing) {
            endNameTyping();
        }
    } else if (id == "Cancel") {
        if (!waiting) {
            return;
        }
        namesState = EditorState::choosing;
        showStoredNames();
        enableBrowsing();
        controlDisable(namesPanel, "Cancel");
        controlDisable(namesPanel, "Update");
    } else if (id == "Update") {
        // Only the change that waits, to the entry and database it was typed for.
        if (!waiting) {
            return;
        }
        namesState = EditorState::choosing;
        // The short names may be fewer than the long ones; the host keeps no
        // name beyond a database's size.
        const int database = namesDatabase + nameDbOffset;
        if (databaseHolds(namesDevice, database, selectedNameIndex)) {
            databaseModifyName(namesDevice, database, selectedNameIndex, editedName, false);
        } else {
            debug(kovo_string("\nCorvane:: database %1 of device %2 has no entry %3; the name "
                              "is not written.\n")
                      .arg(database)
                      .arg(namesDevice)
                      .arg(selectedNameIndex));
        }
        controlDisable(namesPanel, "Cancel");
        controlDisable(namesPanel, "Update");
        enableBrowsing();
    } else if (id == "Home") {
        if (browsing) {
            closeNamesEditor();
        }
    }
}

void Corvane::showStoredNames() {
    // Each name is read on its own: a name the host has no answer for shows
    // empty, never the other name of the entry.
    textPut("text", storedName(namesDevice, namesDatabase, selectedNameIndex), namesPanel,
            "LongName");
    textPut("text", storedName(namesDevice, namesDatabase + 2, selectedNameIndex), namesPanel,
            "ShortName");
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
    namesState = EditorState::typing;
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
        namesState = EditorState::choosing;
        enableBrowsing();
        return;
    }
    namesState = EditorState::changeWaiting;
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
