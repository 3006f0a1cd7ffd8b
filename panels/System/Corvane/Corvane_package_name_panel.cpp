// Package name editor (panel 3): page through an area's source or destination
// packages, type a new name, write it with Update or drop it with Cancel.
#include "Corvane.h"
#include "kovo_typed_text.h"
#include "panel_controls.h"

namespace {
constexpr const char* namePanel = panel::packageNameEditor;
}  // namespace

void Corvane::openPackageNameEditor() {
    const AreaRecord& area = *chosenArea();
    panelRemove(panel::home);
    textPut("text",
            "Edit " + area.areaName + (selectedEditWhat == sources ? " Source " : " Destination ") +
                area.driverTypes[0],
            namePanel, "MatrixName");
    packageDevice = area.driverIds[0];
    packageDatabase = selectedEditWhat - 1;
    packageNameTyping = false;
    packageNameWaiting = false;
    selectedPackageIndex = 0;
    packageGridSetup(namePanel, packageDevice, packageDatabase);
    textPut("text=", namePanel, "PkgNo");
    textPut("text=", namePanel, "PreEdit");
    textPut("text=", namePanel, "PostEdit");
    controlHide(namePanel, "KB_1");
    controlDisable(namePanel, "Cancel");
    controlDisable(namePanel, "Update");
    panelShow(namePanel, packageNamePanelFile, "");
    textPut("button.001=released", namePanel, "Group");
}

void Corvane::packageNamePanelEvent(kovo_control_event& event) {
    const kovo_string control = event.controlId();
    if (control == "Group") {
        turnPage(event, namePanel, "PackageName");
    } else if (control == "PackageName") {
        // The index comes from the package map as it is (above 0). A change that
        // waits belongs to the package it was typed for: another choice now would
        // make Update write it there.
        if (!packageNameWaiting && indexChosen(event)) {
            choosePackageToRename(event.eventValue());
        }
    } else if (control == "KB_1") {
        // A keyboard event while the keyboard is hidden carries no typing: it
        // would make a change wait (or replace the one waiting) that nobody typed.
        if (packageNameTyping) {
            endPackageNameTyping();
        }
    } else if (control == "Update") {
        closePackageNameChange(true);
    } else if (control == "Cancel") {
        closePackageNameChange(false);
    } else if (control == "AllDone") {
        packageNameWaiting = false;
        clearPackageNameLabels();
        putFlashPhase(namePanel, 0);
        returnHome(namePanel);
    }
}

void Corvane::choosePackageToRename(const kovo_string& value) {
    packageNameTyping = true;
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
    packageNameTyping = false;
    if (packageNameStored != packageNameEdited) {
        packageNameWaiting = true;
        controlEnable(namePanel, "Cancel");
        controlEnable(namePanel, "Update");
        packageBlinkCount = 10;
        timerStart(2, 1000);
        return;
    }
    controlEnable(namePanel, "Group");
    controlEnable(namePanel, "PackageName");
    controlEnable(namePanel, "AllDone");
    textPut("index=-1", namePanel, "PackageName");
    clearPackageNameLabels();
    packageNameStored = "";
    packageNameEdited = "";
}

void Corvane::closePackageNameChange(bool write) {
    // Only a name that waits behind the enabled "Update" is written: nothing
    // after Cancel, the countdown or unchanged typing.
    const bool waiting = packageNameWaiting;
    packageNameWaiting = false;
    timerStop(2);
    packageBlinkCount = 0;  // nothing waits any more
    putFlashPhase(namePanel, 0);
    controlDisable(namePanel, "Update");
    controlDisable(namePanel, "Cancel");
    if (write && waiting) {
        storeName(packageDevice, packageDatabase, selectedPackageIndex, packageNameEdited);
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
