// Tavisk panel "1": selection, arming, confirming and cancelling.
#include "Tavisk.h"
#include "kovo_control_number.h"

#include "kovo_text.h"

namespace {

const char* const panel = "1";
const char* const selectedLook = "alarm_alarm";
const char* const idleLook = "alarm_ignore";

// The process-execution text for one workstation, empty for an unknown type.
kovo_string processText(int osType, int action) {
    const bool shutdown = action == Tavisk::actionShutdown;
    switch (osType) {
        case Tavisk::osXPE:
            return kovo_string("PX c:\\windows\\system32\\XpePM.exe") +
                   (shutdown ? " -Shutdown" : " -Restart");
        case Tavisk::osXP:
        case Tavisk::osW7:
        case Tavisk::osW10:
            return kovo_string("PX c:\\windows\\system32\\shutdown.exe") +
                   (shutdown ? " /s /t 2" : " /r /t 2");
        default:
            return kovo_string();
    }
}

}  // namespace

void Tavisk::controlEvent(kovo_control_event& event) {
    // Without an area the panel is never shown, so no control can be touched.
    if (event.panelId() != panel || shownPanel() != panel) {
        return;
    }
    const kovo_string id = event.controlId();
    if (id.startsWith("WS_")) {
        toggleWorkstation(id);
    } else if (id == "AllWS") {
        selectAll();
    } else if (id == "Shutdown") {
        arm(actionShutdown);
    } else if (id == "Restart") {
        arm(actionRestart);
    } else if (id == "Cancel") {
        clearSelection();
    } else if (id == "Confirm") {
        confirm();
    }
}

void Tavisk::toggleWorkstation(const kovo_string& controlId) {
    // The ordinal is the first number in the id, whatever form a site's layout
    // gives it ("WS_03", "WS_3"), and the look goes on the id as received. Any
    // number outside 1 to 10 is no workstation of the panel.
    const int k = controlNumber(controlId);
    if (k < 1 || k > maxWorkstations || !canNameBack(controlId)) {
        return;
    }
    int& selected = selectedAt(k);
    selected = selected > 0 ? 0 : 1;
    textPut("statesheet", selected > 0 ? selectedLook : idleLook, panel, controlId);
    updateConfirm();
}

void Tavisk::selectAll() {
    for (int k = 1; k <= wsCount; ++k) {
        selectedAt(k) = 1;
        textPut("statesheet", selectedLook, panel, wsButton[k - 1]);
        updateConfirm();
    }
}

void Tavisk::arm(int action) {
    pendingAction = action;
    setActionButtons(action);
    updateConfirm();
}

void Tavisk::confirm() {
    if (wsCount < 1) {
        return;
    }
    // Confirm is disabled while nothing is armed; an event that arrives anyway
    // must not be read as a restart: nothing is sent, and the return to idle
    // follows as after any Confirm.
    const bool armed = pendingAction == actionShutdown || pendingAction == actionRestart;
    for (int k = 1; armed && k <= wsCount; ++k) {
        if (selectedAt(k) <= 0 || wsNumber[k - 1] <= 0) {
            continue;
        }
        const kovo_string text = processText(wsOsType[k - 1], pendingAction);
        if (isEmpty(text)) {
            continue;
        }
        infoWrite(infoDevice, text, wsNumber[k - 1], true);
    }
    timerStart(idleTimer, idleDelayMs);
}

void Tavisk::setActionButtons(int action) {
    const char* shutdownLook = nullptr;
    const char* restartLook = nullptr;
    switch (action) {
        case actionNone:
            shutdownLook = idleLook;
            restartLook = idleLook;
            break;
        case actionShutdown:
            shutdownLook = selectedLook;
            restartLook = idleLook;
            break;
        case actionRestart:
            shutdownLook = idleLook;
            restartLook = selectedLook;
            break;
        default:
            return;
    }
    textPut("statesheet", shutdownLook, panel, "Shutdown");
    textPut("statesheet", restartLook, panel, "Restart");
}

void Tavisk::updateConfirm() {
    int count = 0;
    for (int selected : wsSelected) {
        if (selected > 0) {
            ++count;
        }
    }
    const bool armed = pendingAction == actionShutdown || pendingAction == actionRestart;
    if (armed && count > 0) {
        controlEnable(panel, "Confirm");
    } else {
        controlDisable(panel, "Confirm");
    }
}

void Tavisk::clearSelection() {
    for (int k = 1; k <= wsCount; ++k) {
        if (selectedAt(k) > 0) {
            selectedAt(k) = 0;
            textPut("statesheet", idleLook, panel, wsButton[k - 1]);
        }
    }
    if (pendingAction > 0) {
        pendingAction = actionNone;
        setActionButtons(actionNone);
        updateConfirm();
    }
}
