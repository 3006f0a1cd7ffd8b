// Start-up, teardown and the host's entry points.
#include "Lindqar.h"

#include "panel_controls.h"

Lindqar::Lindqar(kovo_host_link* link, const char* instance) : kovo_script_helper(link, instance) {
    const kovo_string width = layoutWidthText("Lindqar");
    homePageFile = kovo_string("HomePage") + width + ".kovo_ui";
    xpointMapFile = kovo_string("Xpoint_Map") + width + ".kovo_ui";
    groupMapFile = kovo_string("GroupMap") + width + ".kovo_ui";
    groupNameFile = kovo_string("GroupName") + width + ".kovo_ui";

    panelInit(panel::home, homePageFile, "");
    panelInit(panel::mapEditor, xpointMapFile, "");
    panelInit(panel::enablesEditor, groupMapFile, "");
    panelInit(panel::namesEditor, groupNameFile, "");

    controlDisable(panel::home, "Edit");
    controlDisable(panel::mapEditor, "SetMap");
    controlDisable(panel::mapEditor, "Save_to_Network");
    controlDisable(panel::mapEditor, "ClearMap");
    controlDisable(panel::enablesEditor, "Save_to_Network");
    controlDisable(panel::namesEditor, "Save_to_Network");
    controlDisable(panel::namesEditor, "Kbd");

    panelShow(panel::home, homePageFile, "");
}

// Sends nothing: the base part's "AS" is the script's last command.
Lindqar::~Lindqar() = default;

void Lindqar::controlEvent(kovo_control_event& event) {
    // Only the shown panel's controls can be touched; an event for another one
    // (a raw event, or one from an editor already closed) is dropped.
    if (event.panelId() != shownPanel()) {
        return;
    }
    const int panelNumber = event.panelId().toInt();
    if (panelNumber == 1) {
        homePageEvent(event);
    }
    if (panelNumber == 2) {
        mapEditorEvent(event);
    }
    if (panelNumber == 3) {
        enablesEditorEvent(event);
    }
    if (panelNumber == 4) {
        namesEditorEvent(event);
    }
}

int Lindqar::revertiveEvent(kovo_revertive_event&) {
    return 0;
}

// The plug-in publishes no parameters, events or commands to its parent: the
// lists asked for by "return=all", "_events" and "_commands" are empty, and so
// is every other answer.
kovo_string Lindqar::parentQuery(kovo_parent_query&) {
    return kovo_string();
}

// No timer is started here; one that fires anyway is only stopped.
void Lindqar::timerEvent(int timerId) {
    timerStop(timerId);
}

bool Lindqar::matrixSavable(const char* what) {
    if (matrixDevice != 0) {
        return true;
    }
    debug(kovo_string("\nLindqar:: the matrix has no device (device 0); the %1 are not saved.\n")
              .arg(what));
    return false;
}

void Lindqar::putSelected(const kovo_string& panelId, const kovo_string& control, bool selected) {
    textPut("statesheet", selected ? "QDSourceSelected" : "QDSourceDeselected", panelId, control);
}

kovo_string Lindqar::matrixTitle(bool source) const {
    return kovo_string("Matrix no. ") + kovo_string(matrixDevice, '0', 3) +
           (source ? " Source" : " Destination");
}

KOVO_SCRIPT_EXPORT(Lindqar)
