// Corvane panel 1: the choice of area, edit type, sources or destinations and
// router, "DoEdit" opening the chosen editor (each editor's opening is in its
// own file), and the way back after an editor.
#include "Corvane.h"
#include "kovo_text.h"
#include "panel_controls.h"

namespace {

constexpr const char* homePanel = panel::home;

}  // namespace

const AreaRecord* Corvane::chosenArea() const {
    if (selectedArea < 0 || selectedArea >= maxAreas) {
        return nullptr;
    }
    return &areas[selectedArea];
}

int Corvane::chosenDriverId(int slot) const {
    const AreaRecord* area = chosenArea();
    if (area == nullptr || slot < 0 || slot >= AreaRecord::driverSlots) {
        return 0;
    }
    return area->driverIds[slot];
}

// The rows take the number a button's id carries and put the chosen look on
// the pressed button itself, whichever row buttons the panel has enabled: the
// choice is checked where it is used, when "DoEdit" opens an editor.
void Corvane::homePanelEvent(kovo_control_event& event) {
    const kovo_string id = event.controlId();

    if (id.startsWith("Area_name_") && selectedArea == -1) {
        // Only one of the ten area records can be chosen.
        const int area = controlNumber(id);
        if (area < 0 || area >= maxAreas || !canNameBack(id)) {
            return;
        }
        textPut("statesheet", "ctl_select_active", homePanel, id);
        selectedArea = area;
        disableOtherButtons(home_row::area, 0, areaCount - 1, selectedArea);
        offerTypes();
        return;
    }

    if (id.startsWith("Type_") && selectedType == noEditType) {
        if (!canNameBack(id)) {
            return;
        }
        textPut("statesheet", "ctl_select_active", homePanel, id);
        selectedType = static_cast<EditType>(controlNumber(id));
        disableOtherButtons(home_row::type, 1, 3, selectedType);
        offerEditWhat();
        return;
    }

    if (id.startsWith("Edit_what_")) {
        if (!canNameBack(id)) {
            return;
        }
        textPut("statesheet", "ctl_select_active", homePanel, id);
        selectedEditWhat = static_cast<EditChoice>(controlNumber(id));
        disableOtherButtons(home_row::editWhat, 1, 4, selectedEditWhat);
        if (selectedType == matrixNames &&
            (selectedEditWhat == sources || selectedEditWhat == destinations)) {
            labelRouters();
        } else if (selectedType == packageNames || selectedType == packageContents) {
            controlEnable(homePanel, "DoEdit");
            doEditEnabled = true;
        }
        return;
    }

    if (id.startsWith("Router_")) {
        if (!canNameBack(id)) {
            return;
        }
        selectedRouter = controlNumber(id);
        textPut("statesheet", "ctl_select_active", homePanel, id);
        disableOtherButtons(home_row::router, 1, 3, selectedRouter);
        controlEnable(homePanel, "DoEdit");
        doEditEnabled = true;
        return;
    }

    if (id == "Cancel") {
        undoHomeChoice();
        return;
    }

    if (id == "DoEdit") {
        if (!choiceComplete()) {
            return;
        }
        switch (selectedType) {
            case matrixNames:
                openNamesEditor();
                break;
            case packageNames:
                openPackageNameEditor();
                break;
            case packageContents:
                openPackageContentEditor();
                break;
            default:
                break;
        }
    }
}

void Corvane::labelRouters() {
    // The labels are the chosen area's; with no area chosen there are none to put.
    const AreaRecord* area = chosenArea();
    for (int slot = 2; area != nullptr && slot <= 4; ++slot) {
        const kovo_string router = numberedControl(home_row::router, slot - 1);
        textPut("text", area->driverTypes[slot], homePanel, router);
        if (!isEmpty(area->driverTypes[slot])) {
            controlEnable(homePanel, router);
        }
    }
}

void Corvane::disableOtherButtons(const char* format, int first, int last, int chosen) {
    for (int i = first; i <= last; ++i) {
        if (i != chosen) {
            controlDisable(homePanel, numberedControl(format, i));
        }
    }
}

bool Corvane::choiceComplete() const {
    // An editor opens on the chosen area's devices. For the names editor the
    // router must be one of the area's three (driverIds 2 to 4) and the names
    // its sources or destinations (database 0 or 1): any other number would
    // reach past the area's five devices, or list and write short names, the
    // package contents or another database as long names. The package name
    // editor likewise writes only database 0 or 1 of the package device.
    if (chosenArea() == nullptr) {
        return false;
    }
    const bool sourcesOrDestinations =
        selectedEditWhat == sources || selectedEditWhat == destinations;
    switch (selectedType) {
        case matrixNames:
            return sourcesOrDestinations && selectedRouter >= 1 && selectedRouter <= 3;
        case packageNames:
            return sourcesOrDestinations;
        case packageContents:
            return true;
        default:
            return false;
    }
}

void Corvane::offerTypes() {
    const AreaRecord* area = chosenArea();
    if (area == nullptr) {
        return;
    }
    if (area->driverIds[0] != 0 || area->driverIds[1] != 0) {
        for (int i = 1; i <= 3; ++i) {
            controlEnable(homePanel, numberedControl(home_row::type, i));
        }
        for (int i = 1; i <= 3; ++i) {
            textPut("statesheet", "ctl_select_inactive", homePanel,
                    numberedControl(home_row::type, i));
        }
    } else {
        controlEnable(homePanel, "Type_1");
        controlDisable(homePanel, "Type_2");
        controlDisable(homePanel, "Type_3");
    }
}

void Corvane::offerEditWhat() {
    if (selectedArea >= 0 && selectedType > 0) {
        if (selectedType == matrixNames || selectedType == packageNames) {
            controlEnable(homePanel, "Edit_what_1");
            controlEnable(homePanel, "Edit_what_2");
        } else if (selectedType == packageContents) {
            controlEnable(homePanel, "Edit_what_3");
            controlEnable(homePanel, "Edit_what_4");
        }
        editWhatEnabled = true;
    } else {
        for (int i = 1; i <= 4; ++i) {
            controlDisable(homePanel, numberedControl(home_row::editWhat, i));
        }
        editWhatEnabled = false;
    }
}

void Corvane::resetDoEdit() {
    if (doEditEnabled) {
        controlDisable(homePanel, "DoEdit");
        doEditEnabled = false;
    }
}

void Corvane::resetRouters() {
    for (int i = 1; i <= 3; ++i) {
        textPut("text=", homePanel, numberedControl(home_row::router, i));
    }
    // The contents editor reuses selectedRouter for its levels (2 to 4); only a
    // router button's number names a control here.
    if (selectedRouter >= 1 && selectedRouter <= 3) {
        textPut("statesheet", "ctl_select_inactive", homePanel,
                numberedControl(home_row::router, selectedRouter));
    }
    for (int i = 1; i <= 3; ++i) {
        controlDisable(homePanel, numberedControl(home_row::router, i));
    }
    selectedRouter = 0;
}

void Corvane::resetEditWhat() {
    if (!editWhatEnabled) {
        return;
    }
    if (selectedEditWhat > 0) {
        textPut("statesheet", "ctl_select_inactive", homePanel,
                numberedControl(home_row::editWhat, selectedEditWhat));
        selectedEditWhat = noEditChoice;
    }
    for (int i = 1; i <= 4; ++i) {
        controlDisable(homePanel, numberedControl(home_row::editWhat, i));
    }
    editWhatEnabled = false;
}

void Corvane::resetTypes() {
    if (selectedType > 0) {
        textPut("statesheet", "ctl_select_inactive", homePanel,
                numberedControl(home_row::type, selectedType));
        selectedType = noEditType;
    }
    for (int i = 1; i <= 3; ++i) {
        controlDisable(homePanel, numberedControl(home_row::type, i));
    }
}

void Corvane::undoHomeChoice() {
    resetDoEdit();
    resetRouters();
    resetEditWhat();
    resetTypes();
    if (selectedArea >= 0) {
        textPut("statesheet", "ctl_select_inactive", homePanel,
                numberedControl(home_row::area, selectedArea));
    }
    selectedArea = -1;
    for (int i = 0; i < areaCount; ++i) {
        controlEnable(homePanel, numberedControl(home_row::area, i));
    }
}

void Corvane::returnHome(const kovo_string& fromPanel) {
    undoHomeChoice();
    selectedType = noEditType;
    selectedEditWhat = noEditChoice;
    selectedRouter = 0;
    panelRemove(fromPanel);
    panelShow(homePanel, homePanelFile, "");
}
