// Panel "3": switches each of the 12 groups of a map on or off with its tick.
#include "Lindqar.h"
#include "enables_text.h"
#include "group_names_store.h"
#include "kovo_control_number.h"
#include "panel_controls.h"

namespace {

constexpr const char* enablesPanel = panel::enablesEditor;

const char* tickImage(bool enabled) {
    return enabled ? "/images/EnabledTick.png" : "/images/DisabledTick.png";
}

}  // namespace

void Lindqar::loadGroupEnables() {
    textPut("text",
            matrixTitle(enablesLabelDatabase == group_names::sourceDatabase) + " Map Group Enables",
            enablesPanel, "ID_Data");
    for (int g = 1; g <= groupCount; ++g) {
        textPut("text", group_names::readGroupName(*this, matrixDevice, enablesLabelDatabase, g),
                enablesPanel, numberedControl("Grp_Name_%1", g));
    }
    group_enables::readGroupEnables(*this, matrixDevice, enablesIndex, groupEnabled);
    for (int g = 1; g <= groupCount; ++g) {
        textPut("pixmap", tickImage(groupEnabled[g - 1]), enablesPanel,
                numberedControl("Status_%1", g));
    }
}

void Lindqar::enablesEditorEvent(kovo_control_event& event) {
    const kovo_string control = event.controlId();
    if (control.startsWith("Status_")) {
        // A number outside 1..12 is no group: nothing changes. The tick is put
        // on the touched control by its id as received.
        const int g = controlNumber(control);
        if (!validGroup(g) || !canNameBack(control)) {
            return;
        }
        groupEnabled[g - 1] = !groupEnabled[g - 1];
        textPut("pixmap", tickImage(groupEnabled[g - 1]), enablesPanel, control);
        if (!enablesChanged) {
            controlEnable(enablesPanel, "Save_to_Network");
            enablesChanged = true;
        }
        return;
    }
    if (control == "Cancel") {
        enablesChanged = false;
        controlDisable(enablesPanel, "Save_to_Network");
        textPut("text=", enablesPanel, "ID_Data");
        for (int g = 1; g <= groupCount; ++g) {
            textPut("text=", enablesPanel, numberedControl("Grp_Name_%1", g));
        }
        returnHome(enablesPanel);
        return;
    }
    if (control == "Save_to_Network") {
        // All twelve are written, but only while a change waits behind the
        // enabled button: a save with nothing changed, or after Cancel, stores
        // nothing over the enables as they are.
        if (enablesChanged && matrixSavable("group enables")) {
            group_enables::writeGroupEnables(*this, matrixDevice, enablesIndex, groupEnabled);
        }
        enablesChanged = false;
        controlDisable(enablesPanel, "Save_to_Network");
    }
}
