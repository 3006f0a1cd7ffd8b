// Package name editor (panel 3): page through an area's source or destination
// packages, type a new name, write it with Update or drop it with Cancel.
#include "Corvane.h"
#include "kovo_typed_text.h"

namespace {
const char* const namePanel = "3";
}  // namespace

bool Corvane::indexChosen(const kovo_control_event& event) {
    return event.eventKey() == "index" && event.eventValue().toInt() > 0;
}

void Corvane::turnPage(const kovo_control_event& event, const kovo_string& panel,
                       const kovo_string& nameMap) {
    if (indexChosen(event)) {
        textPut("page", event.eventValue(), panel, nameMap);
    }
}

// Each control acts only in the state in which the panel has it enabled:
// choosing ("Group", "PackageName", "AllDone"), typing ("KB_1"), a change
// waiting ("Update", "Cancel").
void Corvane::packageNamePanelEvent(kovo_control_event& event) {
    const kovo_string control = event.controlId();
    const bool choosing = packageNameState == EditorState::choosing;
    const bool waiting = packageNameState == EditorState::changeWaiting;
    if (control == "Group") {
        if (choosing) {
            turnPage(event, namePanel, "PackageName");
        }
    } else if (control == "PackageName") {
        if (choosing && indexChosen(event) &&
            databaseHolds(packageDevice, packageDatabase, event.eventValue().firstInt())) {
            choosePackageToRename(event.eventValue());
        }
    } else if (control == "KB_1") {
        // Typing begins only with a package chosen, so a change always has an index.
        if (packageNameState == EditorState::typing) {
            endPackageNameTyping();
        }
    } else if (control == "Update") {
        if (waiting) {
            closePackageNameChange(true);
        }
    } else if (control == "Cancel") {
        if (waiting) {
            closePackageNameChange(false);
        }
    } else if (control == "AllDone") {
        if (choosing) {
            clearPackageNameLabels();
            putFlashPhase(namePanel, 0);
            returnHome(namePanel);
        }
    }
}

void Corvane::choosePackageToRename(const kovo_string& value) {
    packageNameState = EditorState::typing;
    textPut("text", value, namePanel, "PkgNo");
    selectedPackageIndex = value.firstInt();
    // Read into an emptied name: a package the host has no name for must not
    // show (and offer for editing) the name of the package chosen before.
    packageNameStored = storedName(packageDevice, packageDatabase, selectedPackageIndex);
    textPut("text", packageNameStored, namePanel, "PreEdit");
    textPut("text=", namePanel, "PostEdit");
    textPut("text", packageNameStored, namePanel, "KB_1");
    controlShow(namePanel, "KB_1");
    controlDisable(namePanel, "AllDone");
    controlDisable(namePanel, "Group");
    controlDisable(namePanel, "PackageName");
}

void Corvane::endPackageNameTyping() {
    kovo_string typed;
    textGet("text", namePanel, "KB_1", typed);
    // No length limit here, but the text must survive the quoted "RM" command.
    packageNameEdited = hostSafeText(typed);
    textPut("text", packageNameEdited, namePanel, "PostEdit");
    controlHide(namePanel, "KB_1");
    textPut("text=", namePanel, "KB_1");
    if (packageNameStored != packageNameEdited) {
        packageNameState = EditorState::changeWaiting;
        controlEnable(namePanel, "Cancel");
        controlEnable(namePanel, "Update");
        packageBlinkCount = 10;
        timerStart(2, 1000);
        return;
    }
    packageNameState = EditorState::choosing;
    controlEnable(namePanel, "Group");
    controlEnable(namePanel, "PackageName");
    controlEnable(namePanel, "AllDone");
    textPut("index=-1", namePanel, "PackageName");
    clearPackageNameLabels();
    packageNameStored = "";
    packageNameEdited = "";
}

void Corvane::closePackageNameChange(bool write) {
    packageNameState = EditorState::choosing;
    timerStop(2);
    packageBlinkCount = 0;  // nothing waits any more
    putFlashPhase(namePanel, 0);
    controlDisable(namePanel, "Update");
    controlDisable(namePanel, "Cancel");
    if (write) {
        databaseModifyName(packageDevice, packageDatabase, selectedPackageIndex, packageNameEdited,
                           false);
    }
    clearPackageNameLabels();
    controlEnable(namePanel, "AllDone");
    controlEnable(namePanel, "Group");
    controlEnable(namePanel, "PackageName");
    textPut("index=-1", namePanel, "PackageName");
}

void Corvane::clearPackageNameLabels() {
    textPut("text=", namePanel, "PkgNo");
    textPut("text=", namePanel, "PreEdit");
    textPut("text=", namePanel, "PostEdit");
}
