// Corvane panel 1: the choice of area, edit type, sources or destinations and
// router, the openings of the three editors, and the way back after an editor.
#include "Corvane.h"
#include "kovo_control_number.h"
#include "kovo_text.h"

namespace {

const char* const homePanel = "1";

kovo_string rowControl(const char* format, int number) {
    return kovo_string(format).arg(number);
}

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
        disableOtherButtons("Area_name_%1", 0, areaCount - 1, selectedArea);
        offerTypes();
        return;
    }

    if (id.startsWith("Type_") && selectedType == 0) {
        if (!canNameBack(id)) {
            return;
        }
        textPut("statesheet", "ctl_select_active", homePanel, id);
        selectedType = controlNumber(id);
        disableOtherButtons("Type_%1", 1, 3, selectedType);
        offerEditWhat();
        return;
    }

    if (id.startsWith("Edit_what_")) {
        if (!canNameBack(id)) {
            return;
        }
        textPut("statesheet", "ctl_select_active", homePanel, id);
        selectedEditWhat = controlNumber(id);
        disableOtherButtons("Edit_what_%1", 1, 4, selectedEditWhat);
        if (selectedType == 1 && (selectedEditWhat == 1 || selectedEditWhat == 2)) {
            labelRouters();
        } else if (selectedType == 2 || selectedType == 3) {
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
        disableOtherButtons("Router_%1", 1, 3, selectedRouter);
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
        if (selectedType == 1) {
            openNamesEditor();
        } else if (selectedType == 2) {
            openPackageNameEditor();
        } else if (selectedType == 3) {
            openPackageContentEditor();
        }
    }
}

void Corvane::labelRouters() {
    // The labels are the chosen area's; with no area chosen there are none to put.
    const AreaRecord* area = chosenArea();
    for (int slot = 2; area != nullptr && slot <= 4; ++slot) {
        const kovo_string router = rowControl("Router_%1", slot - 1);
        textPut("text", area->driverTypes[slot], homePanel, router);
        if (!isEmpty(area->driverTypes[slot])) {
            controlEnable(homePanel, router);
        }
    }
}

void Corvane::disableOtherButtons(const char* format, int first, int last, int chosen) {
    for (int i = first; i <= last; ++i) {
        if (i != chosen) {
            controlDisable(homePanel, rowControl(format, i));
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
    const bool sourcesOrDestinations = selectedEditWhat == 1 || selectedEditWhat == 2;
    switch (selectedType) {
        case 1:
            return sourcesOrDestinations && selectedRouter >= 1 && selectedRouter <= 3;
        case 2:
            return sourcesOrDestinations;
        case 3:
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
            controlEnable(homePanel, rowControl("Type_%1", i));
        }
        for (int i = 1; i <= 3; ++i) {
            textPut("statesheet", "ctl_select_inactive", homePanel, rowControl("Type_%1", i));
        }
    } else {
        controlEnable(homePanel, "Type_1");
        controlDisable(homePanel, "Type_2");
        controlDisable(homePanel, "Type_3");
    }
}

void Corvane::offerEditWhat() {
    if (selectedArea >= 0 && selectedType > 0) {
        if (selectedType == 1 || selectedType == 2) {
            controlEnable(homePanel, "Edit_what_1");
            controlEnable(homePanel, "Edit_what_2");
        } else if (selectedType == 3) {
            controlEnable(homePanel, "Edit_what_3");
            controlEnable(homePanel, "Edit_what_4");
        }
        editWhatEnabled = true;
    } else {
        for (int i = 1; i <= 4; ++i) {
            controlDisable(homePanel, rowControl("Edit_what_%1", i));
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
        textPut("text=", homePanel, rowControl("Router_%1", i));
    }
    // The contents editor reuses selectedRouter for its levels (2 to 4); only a
    // router button's number names a control here.
    if (selectedRouter >= 1 && selectedRouter <= 3) {
        textPut("statesheet", "ctl_select_inactive", homePanel,
                rowControl("Router_%1", selectedRouter));
    }
    for (int i = 1; i <= 3; ++i) {
        controlDisable(homePanel, rowControl("Router_%1", i));
    }
    selectedRouter = 0;
}

void Corvane::resetEditWhat() {
    if (!editWhatEnabled) {
        return;
    }
    if (selectedEditWhat > 0) {
        textPut("statesheet", "ctl_select_inactive", homePanel,
                rowControl("Edit_what_%1", selectedEditWhat));
        selectedEditWhat = 0;
    }
    for (int i = 1; i <= 4; ++i) {
        controlDisable(homePanel, rowControl("Edit_what_%1", i));
    }
    editWhatEnabled = false;
}

void Corvane::resetTypes() {
    if (selectedType > 0) {
        textPut("statesheet", "ctl_select_inactive", homePanel,
                rowControl("Type_%1", selectedType));
        selectedType = 0;
    }
    for (int i = 1; i <= 3; ++i) {
        controlDisable(homePanel, rowControl("Type_%1", i));
    }
}

void Corvane::undoHomeChoice() {
    resetDoEdit();
    resetRouters();
    resetEditWhat();
    resetTypes();
    if (selectedArea >= 0) {
        textPut("statesheet", "ctl_select_inactive", homePanel,
                rowControl("Area_name_%1", selectedArea));
    }
    selectedArea = -1;
    for (int i = 0; i < areaCount; ++i) {
        controlEnable(homePanel, rowControl("Area_name_%1", i));
    }
}

void Corvane::returnHome(const kovo_string& fromPanel) {
    undoHomeChoice();
    selectedType = 0;
    selectedEditWhat = 0;
    selectedRouter = 0;
    panelRemove(fromPanel);
    panelShow(homePanel, homePanelFile, "");
}

void Corvane::openNamesEditor() {
    const AreaRecord& area = *chosenArea();
    const char* const panel = "2";
    panelRemove(homePanel);
    textPut("text",
            area.areaName + " " + area.driverTypes[selectedRouter + 1] +
                (selectedEditWhat == 1 ? " Source Names" : " Destination Names"),
            panel, "Matrix_Id");
    textPut("text=", panel, "LongName");
    textPut("text=", panel, "ShortName");
    controlDisable(panel, "Cancel");
    controlDisable(panel, "Update");
    textPut("clear", panel, "MtxNames");

    namesDevice = area.driverIds[selectedRouter + 1];
    namesDatabase = selectedEditWhat - 1;
    namesListSize = getDatabaseSize(namesDevice, namesDatabase);
    // Each entry is read on its own: one the host gives no name for shows empty.
    for (int index = 1; index <= namesListSize; ++index) {
        textPut(
            "add",
            kovo_string("%1 = ").arg(index, '0', 3) + storedName(namesDevice, namesDatabase, index),
            panel, "MtxNames");
    }
    routerRegister(namesDevice, 1, 1, false);
    routerRegistered = true;
    namesEditorActive = true;
    namesTyping = false;
    namesChangeWaiting = false;
    selectedNameIndex = 0;
    controlHide(panel, "KB_1");
    panelShow(panel, namesPanelFile, "");
}

void Corvane::openPackageNameEditor() {
    const AreaRecord& area = *chosenArea();
    const char* const panel = "3";
    panelRemove(homePanel);
    textPut("text",
            "Edit " + area.areaName + (selectedEditWhat == 1 ? " Source " : " Destination ") +
                area.driverTypes[0],
            panel, "MatrixName");
    packageDevice = area.driverIds[0];
    packageDatabase = selectedEditWhat - 1;
    packageNameTyping = false;
    packageNameWaiting = false;
    selectedPackageIndex = 0;
    packageGridSetup(panel, packageDevice, packageDatabase);
    textPut("text=", panel, "PkgNo");
    textPut("text=", panel, "PreEdit");
    textPut("text=", panel, "PostEdit");
    controlHide(panel, "KB_1");
    controlDisable(panel, "Cancel");
    controlDisable(panel, "Update");
    panelShow(panel, packageNamePanelFile, "");
    textPut("button.001=released", panel, "Group");
}

void Corvane::openPackageContentEditor() {
    const AreaRecord& area = *chosenArea();
    const char* const panel = "4";
    panelRemove(homePanel);
    textPut(
        "text",
        "Edit " + area.areaName +
            (selectedEditWhat == 3 ? " Source Package Content" : " Destination Package Content"),
        panel, "MatrixName");
    for (const char* label : {"PkgNo", "V_Name", "A_Name", "D_Name", "V_ID", "A_ID", "D_ID"}) {
        textPut("text=", panel, label);
    }
    for (const char* control :
         {"Update", "Element", "V_Name", "A_Name", "D_Name", "ClrVid", "ClrAud", "ClrAES"}) {
        controlDisable(panel, control);
    }
    storedVideoId = 0;
    storedAudioId = 0;
    storedDataId = 0;
    videoId = 0;
    audioId = 0;
    dataId = 0;
    contentPackageDevice = area.driverIds[0];
    contentDevice = area.driverIds[1];
    contentLevels = area.packageLevels;
    contentDatabase = selectedEditWhat == 4 ? 1 : 0;
    contentPackageShown = false;
    contentUpdateEnabled = false;
    contentPackageIndex = 0;
    packageGridSetup(panel, contentPackageDevice, contentDatabase);
    panelShow(panel, packageContentPanelFile, "");
    textPut("button.001=released", panel, "Group");
}

void Corvane::packageGridSetup(const kovo_string& panel, int d, int b) {
    deviceMapSetup(panel, "Group", "PackageName", d, b);
}

void Corvane::deviceMapSetup(const kovo_string& panel, const kovo_string& selector,
                             const kovo_string& nameMap, int d, int b) {
    const bool none = b == noMapDatabase;
    const kovo_string device(none ? 0 : d, ' ', 0);
    // Selector: the page (group) names in databases 4/5 and the group enables
    // in map database 8 from 200/250; name map: the names in 0/1 and the pages
    // of map database 8 from 0/100.
    const struct {
        const kovo_string& control;
        int namesDb;
        int mapOffset;
    } pair[] = {
        {selector, none ? 0 : b + 4, none ? 0 : (b == 0 ? 200 : 250)},
        {nameMap, none ? 0 : b, none ? 0 : (b == 0 ? 0 : 100)},
    };
    for (const auto& map : pair) {
        textPut("device", device, panel, map.control);
        textPut("device.map", device, panel, map.control);
        textPut("page=1", panel, map.control);
        textPut("namesdb", kovo_string(map.namesDb, ' ', 0), panel, map.control);
        textPut("mapdb=8", panel, map.control);
        textPut("mapoffset", kovo_string(map.mapOffset, ' ', 0), panel, map.control);
    }
}
