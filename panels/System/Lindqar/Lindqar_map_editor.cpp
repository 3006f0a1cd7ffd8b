// Panel "2": the button map of one matrix's sources or destinations. Pick a
// group, one of its 30 buttons and a crosspoint, then "SetMap" or "ClearMap";
// "Save_to_Network" writes the changed groups.
#include <cstddef>

#include "Lindqar.h"
#include "group_names_store.h"
#include "kovo_control_number.h"
#include "panel_controls.h"

namespace {

constexpr const char* mapPanel = panel::mapEditor;

}  // namespace

void Lindqar::loadMatrixMap(int device, int database) {
    xpointCount = getDatabaseSize(device, database);

    kovo_string title = kovo_string("  Matrix ") + kovo_string(device, '0', 3) + " ";
    if (database == 0) {
        title += "Source Database";
    } else if (database == 1) {
        title += "Destination Database";
    }
    textPut("text", title, mapPanel, "MatrixIdent");

    for (int g = 0; g < groupCount; ++g) {
        for (int e = 0; e < elementCount; ++e) {
            groupMap[g][e] = 0;
        }
        groupChanged[g] = false;
    }
    mapSaveEnabled = false;

    textPut("clear", mapPanel, "xpoints");
    for (int i = 1; i <= xpointCount; ++i) {
        textPut("add", kovo_string("%1 - ").arg(i, '0', 3) + storedName(device, editDatabase, i),
                mapPanel, "xpoints");
    }

    const int namesDatabase = group_names::databaseFor(database);
    for (int g = 1; g <= groupCount; ++g) {
        textPut("text", group_names::readGroupName(*this, device, namesDatabase, g), mapPanel,
                numberedControl("Group_%1", g));
    }

    for (int g = 1; g <= groupCount; ++g) {
        map_store::readGroupMap(*this, device, database, g, groupMap[g - 1]);
    }

    putSelected(mapPanel, numberedControl("Group_%1", 1), true);
    selectedGroup = 1;
    showGroupElements(1);
    refreshUnmapped();
}

void Lindqar::showGroupElements(int group) {
    if (!validGroup(group)) {
        return;
    }
    for (int e = 1; e <= elementCount; ++e) {
        const int x = groupMap[group - 1][e - 1];
        if (x != 0) {
            textPut("text", storedName(matrixDevice, editDatabase, x), mapPanel,
                    numberedControl("Element_%1", e));
        } else {
            textPut("text=[Not Mapped]", mapPanel, numberedControl("Element_%1", e));
        }
    }
}

void Lindqar::refreshMappedTo() {
    textPut("clear", mapPanel, "Mapped_To");
    const int namesDatabase = group_names::databaseFor(editDatabase);
    for (int g = 1; g <= groupCount; ++g) {
        const kovo_string groupName =
            group_names::readGroupName(*this, matrixDevice, namesDatabase, g);
        for (int e = 1; e <= elementCount; ++e) {
            if (groupMap[g - 1][e - 1] == selectedXpoint) {
                textPut("add",
                        kovo_string("Grp: ") + groupName + ", button " + kovo_string(e, ' ', 0),
                        mapPanel, "Mapped_To");
            }
        }
    }
}

void Lindqar::updateSetMapButton() {
    if (selectedElement <= 0 || selectedXpoint <= 0) {
        controlDisable(mapPanel, "SetMap");
        setMapEnabled = false;
    } else {
        controlEnable(mapPanel, "SetMap");
        setMapEnabled = true;
    }
}

void Lindqar::refreshUnmapped() {
    const int n = getDatabaseSize(matrixDevice, editDatabase);
    const std::size_t entries = n > 0 ? static_cast<std::size_t>(n) + 1 : 1;
    xpointUsed.assign(entries, false);
    for (const auto& group : groupMap) {
        for (const int v : group) {
            if (v >= 1 && v <= n) {
                xpointUsed[static_cast<std::size_t>(v)] = true;
            }
        }
    }
    textPut("clear", mapPanel, "Unmapped");
    for (int i = 1; i <= n; ++i) {
        if (!xpointUsed[static_cast<std::size_t>(i)]) {
            textPut("add", kovo_string(i, '0', 3), mapPanel, "Unmapped");
        }
    }
}

void Lindqar::mapEditorEvent(kovo_control_event& event) {
    const kovo_string control = event.controlId();
    if (control.startsWith("Group_")) {
        chooseMapGroup(controlNumber(control));
    } else if (control.startsWith("Element_")) {
        chooseMapElement(controlNumber(control));
    } else if (control == "xpoints") {
        chooseXpoint();
    } else if (control == "SetMap") {
        setMap();
    } else if (control == "ClearMap") {
        clearMap();
    } else if (control == "Clear") {
        clearMapChoice();
    } else if (control == "Cancel") {
        cancelMapEditor();
    } else if (control == "Save_to_Network") {
        saveMap();
    }
}

// A number outside 1..12 is no group of this panel: the event changes nothing.
void Lindqar::chooseMapGroup(int group) {
    if (!validGroup(group)) {
        return;
    }
    unmarkMapControl("Element_%1", selectedElement);
    unmarkMapControl("Group_%1", selectedGroup);
    selectedGroup = group;
    putSelected(mapPanel, numberedControl("Group_%1", selectedGroup), true);
    showGroupElements(selectedGroup);
    updateSetMapButton();
    refreshUnmapped();
}

// A number outside 1..30 is no button of this panel: the event changes nothing.
void Lindqar::chooseMapElement(int element) {
    if (!validElement(element)) {
        return;
    }
    unmarkMapControl("Element_%1", selectedElement);
    selectedElement = element;
    putSelected(mapPanel, numberedControl("Element_%1", selectedElement), true);
    controlEnable(mapPanel, "ClearMap");
    updateSetMapButton();
}

// Takes the mark off the chosen group or button, which is then no longer chosen.
void Lindqar::unmarkMapControl(const char* pattern, int& number) {
    if (number != 0) {
        putSelected(mapPanel, numberedControl(pattern, number), false);
        number = 0;
    }
}

// List entry k (from 0) is crosspoint k + 1. An answer that is no position of
// the list (none selected, no answer, not a number, beyond its end) chooses no
// crosspoint.
void Lindqar::chooseXpoint() {
    kovo_string index;
    textGet("selectedindex", mapPanel, "xpoints", index);
    const int entry = index.toInt();
    const bool listed = index == kovo_string(entry, ' ', 0) && entry >= 0 && entry < xpointCount;
    selectedXpoint = listed ? entry + 1 : 0;
    refreshMappedTo();
    updateSetMapButton();
}

void Lindqar::markMapDirty() {
    if (!mapSaveEnabled) {
        mapSaveEnabled = true;
        controlEnable(mapPanel, "Save_to_Network");
    }
}

// Without a group and a button there is no place in the map to set, and
// without a crosspoint nothing to set there: crosspoint 0 would unmap the
// button while it showed a name read for entry 0 instead of "[Not Mapped]".
// (The button is disabled then, but a host may deliver the event.)
void Lindqar::setMap() {
    if (!validGroup(selectedGroup) || !validElement(selectedElement) || selectedXpoint <= 0) {
        return;
    }
    groupMap[selectedGroup - 1][selectedElement - 1] = selectedXpoint;
    groupChanged[selectedGroup - 1] = true;
    textPut("text", storedName(matrixDevice, editDatabase, selectedXpoint), mapPanel,
            numberedControl("Element_%1", selectedElement));
    refreshMappedTo();
    markMapDirty();
    refreshUnmapped();
}

void Lindqar::clearMap() {
    if (validElement(selectedElement) && validGroup(selectedGroup)) {
        groupMap[selectedGroup - 1][selectedElement - 1] = 0;
        groupChanged[selectedGroup - 1] = true;
        textPut("text=[Not Mapped]", mapPanel, numberedControl("Element_%1", selectedElement));
        if (selectedXpoint != 0) {
            refreshMappedTo();
        }
        markMapDirty();
    }
    refreshUnmapped();
}

// Drops the button and crosspoint choices; the group choice stays.
void Lindqar::clearMapChoice() {
    if (selectedElement > 0) {
        putSelected(mapPanel, numberedControl("Element_%1", selectedElement), false);
        controlDisable(mapPanel, "ClearMap");
        selectedElement = 0;
    }
    if (selectedXpoint > 0) {
        textPut("selected=none", mapPanel, "xpoints");
        textPut("clear", mapPanel, "Mapped_To");
        selectedXpoint = 0;
    }
    updateSetMapButton();
}

// Closes the editor without writing; unsaved changes are dropped.
void Lindqar::cancelMapEditor() {
    textPut("clear", mapPanel, "xpoints");
    textPut("clear", mapPanel, "Mapped_To");
    textPut("clear", mapPanel, "Unmapped");
    for (int g = 1; g <= groupCount; ++g) {
        textPut("text=---", mapPanel, numberedControl("Group_%1", g));
    }
    for (int e = 1; e <= elementCount; ++e) {
        textPut("text=---", mapPanel, numberedControl("Element_%1", e));
    }
    if (selectedElement != 0) {
        putSelected(mapPanel, numberedControl("Element_%1", selectedElement), false);
    }
    if (selectedGroup != 0) {
        putSelected(mapPanel, numberedControl("Group_%1", selectedGroup), false);
    }
    matrixDevice = 0;
    editDatabase = 0;
    for (bool& changed : groupChanged) {
        changed = false;
    }
    selectedGroup = 0;
    selectedElement = 0;
    selectedXpoint = 0;
    controlDisable(mapPanel, "SetMap");
    controlDisable(mapPanel, "ClearMap");
    controlDisable(mapPanel, "Save_to_Network");
    mapSaveEnabled = false;
    setMapEnabled = false;
    panelRemove(mapPanel);
    clearHomeSelection();
    panelShow(panel::home, homePageFile, "");
}

// Writes only the groups changed since loading or the last save, which is
// exactly while the button is enabled.
void Lindqar::saveMap() {
    if (mapSaveEnabled && matrixSavable("group maps")) {
        for (int g = 1; g <= groupCount; ++g) {
            if (groupChanged[g - 1]) {
                map_store::writeGroupMap(*this, matrixDevice, editDatabase, g, groupMap[g - 1]);
            }
        }
    }
    for (bool& changed : groupChanged) {
        changed = false;
    }
    controlDisable(mapPanel, "Save_to_Network");
    mapSaveEnabled = false;
}
