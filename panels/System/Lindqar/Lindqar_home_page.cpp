// Panel "1": choice of a matrix and of one of six functions, then "Edit".
#include "Lindqar.h"
#include "enables_text.h"
#include "group_names_store.h"
#include "kovo_control_number.h"
#include "panel_controls.h"

namespace {

// The site's routers by matrix button number; button 41 is the free number.
struct RouterButton {
    int button;
    const char* name;
};
constexpr RouterButton routerButtons[] = {
    {1, "CAR SDI Router"},      {2, "CAR Audio Router"}, {3, "CAR HD-SDI Router"},
    {4, "V2 Mixer SDI Router"}, {11, "StC SDI Router"},  {12, "StC Audio Router"},
    {13, "StC AES Router"},     {21, "CTA SDI Router"},  {22, "CTA Audio Router"},
    {31, "B4 SDI Router"},      {32, "B4 Audio Router"},
};
constexpr int freeMatrixButton = 41;

constexpr const char* matrixButtonPattern = "XPT_map_%1";
constexpr const char* functionButtonPattern = "FN_%1";
constexpr int lowestMatrixNumber = 1;
constexpr int highestMatrixNumber = 999;

struct StepButton {
    const char* control;
    int step;
};
constexpr StepButton stepButtons[] = {
    {"HU", 100}, {"TU", 10}, {"UU", 1}, {"HD", -100}, {"TD", -10}, {"UD", -1},
};

}  // namespace

void Lindqar::homePageEvent(kovo_control_event& event) {
    const kovo_string control = event.controlId();
    // A matrix or function button is chosen by the number its id carries, and
    // marked by its id as received: a site's layout may hold more matrix
    // buttons than the router table (the editor then opens on device 0).
    if (control.startsWith("XPT_map_")) {
        if (canNameBack(control)) {
            markHomeButton(matrixButtonPattern, control, selectedMatrixButton, matrixSelected);
        }
        return;
    }
    if (control.startsWith("FN_")) {
        if (canNameBack(control)) {
            markHomeButton(functionButtonPattern, control, selectedFunction, functionSelected);
        }
        return;
    }
    if (control == "Clear") {
        clearHomeSelection();
        return;
    }
    if (control == "Edit") {
        openEditor();
        return;
    }
    for (const StepButton& button : stepButtons) {
        if (control == button.control) {
            stepMatrixNumber(button.step);
            return;
        }
    }
}

int Lindqar::matrixDeviceFor(int matrixButton) {
    if (matrixButton == freeMatrixButton) {
        return freeMatrixNumber;
    }
    for (const RouterButton& router : routerButtons) {
        if (router.button == matrixButton) {
            int device = 0;
            deviceLookup(router.name, &device, nullptr);
            return device;
        }
    }
    return 0;
}

void Lindqar::openEditor() {
    matrixDevice = matrixDeviceFor(selectedMatrixButton);
    const char* editorPanel = nullptr;
    const kovo_string* editorLayout = nullptr;
    switch (selectedFunction) {
        case 1:
        case 2:
            editDatabase = selectedFunction - 1;
            loadMatrixMap(matrixDevice, editDatabase);
            editorPanel = panel::mapEditor;
            editorLayout = &xpointMapFile;
            break;
        case 3:
        case 4:
            editDatabase = selectedFunction == 3 ? group_names::sourceDatabase
                                                 : group_names::destinationDatabase;
            groupNamesDatabase = editDatabase;
            loadGroupNames();
            editorPanel = panel::namesEditor;
            editorLayout = &groupNameFile;
            break;
        case 5:
        case 6:
            editDatabase = map_store::storeDatabase;
            enablesIndex = selectedFunction == 5 ? group_enables::sourceIndex
                                                 : group_enables::destinationIndex;
            enablesLabelDatabase = selectedFunction == 5 ? group_names::sourceDatabase
                                                         : group_names::destinationDatabase;
            loadGroupEnables();
            editorPanel = panel::enablesEditor;
            editorLayout = &groupMapFile;
            break;
        default:
            return;
    }
    panelRemove(panel::home);
    panelShow(editorPanel, *editorLayout, "");
}

void Lindqar::updateEditButton() {
    if (matrixSelected && functionSelected) {
        if (!editEnabled) {
            controlEnable(panel::home, "Edit");
            editEnabled = true;
        }
    } else if (editEnabled) {
        controlDisable(panel::home, "Edit");
        editEnabled = false;
    }
}

void Lindqar::stepMatrixNumber(int step) {
    const int n = freeMatrixNumber + step;
    if (n < lowestMatrixNumber || n > highestMatrixNumber) {
        return;
    }
    freeMatrixNumber = n;
    textPut("text", kovo_string("Matrix ") + kovo_string(n, '0', 3), panel::home, "XPT_map_41");
}

void Lindqar::clearHomeSelection() {
    unmarkHomeButton(matrixButtonPattern, selectedMatrixButton, matrixSelected);
    unmarkHomeButton(functionButtonPattern, selectedFunction, functionSelected);
    updateEditButton();
}

// The matrix buttons and the function buttons each carry one mark: the old one
// is taken off (by its number) before the touched button is marked, so a second
// touch of the same button unmarks and marks it again.
void Lindqar::markHomeButton(const char* pattern, const kovo_string& touched, int& number,
                             bool& selected) {
    unmarkHomeButton(pattern, number, selected);
    number = controlNumber(touched);
    putSelected(panel::home, touched, true);
    selected = true;
    updateEditButton();
}

void Lindqar::unmarkHomeButton(const char* pattern, int number, bool& selected) {
    if (selected) {
        putSelected(panel::home, numberedControl(pattern, number), false);
        selected = false;
    }
}

void Lindqar::returnHome(const kovo_string& fromPanel) {
    clearHomeSelection();
    panelRemove(fromPanel);
    panelShow(panel::home, homePageFile, "");
}
