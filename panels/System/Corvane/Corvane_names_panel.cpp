// Corvane panel 2: the long and short names of one router's sources or
// destinations, typed on the keyboard and written with Update.
#include "Corvane.h"
#include "kovo_typed_text.h"
#include "panel_controls.h"

namespace {

constexpr const char* namesPanel = panel::namesEditor;
// Longest names the routers store.
constexpr unsigned longNameLength = 16;
constexpr unsigned shortNameLength = 8;

}  // namespace

void Corvane::openNamesEditor() {
    const AreaRecord& area = *chosenArea();
    panelRemove(panel::home);
    textPut("text",
            area.areaName + " " + area.driverTypes[selectedRouter + 1] +
                (selectedEditWhat == sources ? " Source Names" : " Destination Names"),
            namesPanel, "Matrix_Id");
    textPut("text=", namesPanel, "LongName");
    textPut("text=", namesPanel, "ShortName");
    controlDisable(namesPanel, "Cancel");
    controlDisable(namesPanel, "Update");
    textPut("clear", namesPanel, "MtxNames");

    namesDevice = area.driverIds[selectedRouter + 1];
    namesDatabase = selectedEditWhat - 1;
    namesListSize = getDatabaseSize(namesDevice, namesDatabase);
    // Each entry is read on its own: one the host gives no name for shows empty.
    for (int index = 1; index <= namesListSize; ++index) {
        textPut(
            "add",
            kovo_string("%1 = ").arg(index, '0', 3) + storedName(namesDevice, namesDatabase, index),
            namesPanel, "MtxNames");
    }
    routerRegister(namesDevice, 1, 1, false);
    routerRegistered = true;
    namesEditorActive = true;
    namesTyping = false;
    namesChangeWaiting = false;
    selectedNameIndex = 0;
    controlHide(namesPanel, "KB_1");
    panelShow(namesPanel, namesPanelFile, "");
}

void Corvane::namesPanelEvent(kovo_control_event& event) {
    const kovo_string id = event.controlId();
    if (id == "MtxNames") {
        // The entry text starts with its index ("005 = VT 1"); the list holds
        // entries 1 to its size. A change that waits belongs to the entry it was
        // typed for: another choice now would make Update write it there.
        const int index = event.eventValue().firstInt();
        if (namesChangeWaiting || index < 1 || index > namesListSize) {
            return;
        }
        selectedNameIndex = index;
        showStoredNames();
    } else if (id == "LongName") {
        beginNameTyping(0, "LongName");
    } else if (id == "ShortName") {
        beginNameTyping(2, "ShortName");
    } else if (id == "KB_1") {
        // A keyboard event while the keyboard is hidden carries no typing: it
        // would make a change wait (or replace the one waiting) that nobody typed.
        if (namesTyping) {
            endNameTyping();
        }
    } else if (id == "Cancel") {
        namesChangeWaiting = false;
        showStoredNames();
        enableBrowsing();
        controlDisable(namesPanel, "Cancel");
        controlDisable(namesPanel, "Update");
    } else if (id == "Update") {
        if (namesChangeWaiting) {
            writeWaitingName();
        }
        namesChangeWaiting = false;
        controlDisable(namesPanel, "Cancel");
        controlDisable(namesPanel, "Update");
        enableBrowsing();
    } else if (id == "Home") {
        closeNamesEditor();
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
    // "Update" and "Cancel" go off: a change still waiting can no longer be written.
    namesTyping = true;
    namesChangeWaiting = false;
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
    namesTyping = false;

    if (newName == oldName) {
        enableBrowsing();
        return;
    }
    namesChangeWaiting = true;
    editedName = newName;
    textPut("text", editedName, namesPanel, nameControl);
    controlEnable(namesPanel, nameControl);
    controlEnable(namesPanel, "Update");
    controlEnable(namesPanel, "Cancel");
    namesBlinkCount = 10;
    putFlashPhase(namesPanel, namesBlinkCount);
    timerStart(1, 1000);
}

void Corvane::writeWaitingName() {
    // The short name belongs to the entry chosen in the list, at the same index
    // as its long name (a choice is taken only inside the list). Typing may
    // begin before any entry is chosen; such a name has no entry to go to.
    if (selectedNameIndex < 1) {
        debug(kovo_string("\nCorvane:: no entry of the list is chosen (index %1); the name is "
                          "not written.\n")
                  .arg(selectedNameIndex));
        return;
    }
    storeName(namesDevice, namesDatabase + nameDbOffset, selectedNameIndex, editedName);
}

void Corvane::storeName(int device, int database, int index, const kovo_string& name) {
    if (device == 0) {
        debug(kovo_string("\nCorvane:: the area gives no device (device 0) for database %1; "
                          "index %2 is not written.\n")
                  .arg(database)
                  .arg(index));
        return;
    }
    databaseModifyName(device, database, index, name, false);
}

void Corvane::closeNamesEditor() {
    if (routerRegistered) {
        routerUnregister(namesDevice);
    }
    routerRegistered = false;
    namesEditorActive = false;
    namesChangeWaiting = false;
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
