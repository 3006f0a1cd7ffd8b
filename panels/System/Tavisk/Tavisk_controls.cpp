// Tavisk panel "1": selection, arming, confirming and cancelling.
#include "Tavisk.h"

#include "kovo_text.h"

namespace {

const char* const panel = "1";
const char* const selectedLook = "alarm_alarm";
const char* const idleLook = "alarm_ignore";

// The button of ordinal k: WS_01 .. WS_10. Joined rather than made with arg:
// every press makes it, and the text has no marker to fill but this one.
kovo_string workstationControl(int k) {
    return "WS_" + kovo_string(k, '0', 2);
}

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
    const int k = controlId.firstInt();
    // Only a configured ordinal may change, and only from its own button
    // ("WS_03"): any other id ("WS_3", "WS_03x") names no control of the layout,
    // must not pick a target and is never echoed back.
    if (!validOrdinal(k)) {
        return;
    }
    const kovo_string control = workstationControl(k);
    if (controlId != control) {
        return;
    }
    int& selected = selectedAt(k);
    selected = selected > 0 ? 0 : 1;
    textPut("statesheet", selected > 0 ? selectedLook : idleLook, panel, control);
    updateConfirm();
}

void Tavisk::selectAll() {
    for (int k = 1; k <= wsCount; ++k) {
        selectedAt(k) = 1;
        textPut("statesheet", selectedLook, panel, workstationControl(k));
        updateConfirm();
    }
}

void Tavisk::arm(int action) {
    pendingAction = action;
    setActionButtons(action);
    updateConfirm();
}

void Tavisk::confirm() {
    // Confirm is disabled while nothing is armed; an event that arrives anyway
    // must not be read as a restart.
    if (wsCount < 1 || (pendingAction != actionShutdown && pendingAction != actionRestart)) {
        return;
    }
    for (int k = 1; k <= wsCount; ++k) {
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
            textPut("statesheet", idleLook, panel, workstationControl(k));
        }
    }
    if (pendingAction > 0) {
        pendingAction = actionNone;
        setActionButtons(actionNone);
        updateConfirm();
    }
}
