// Tavisk: shuts down or restarts the workstations of one gallery area. One panel
// ("1"): the operator selects workstations (WS_01..WS_10 or "AllWS"), arms
// "Shutdown" or "Restart" and presses "Confirm"; each selected workstation then
// gets a process-execution text through the info device.
#pragma once

#include "kovo_script_helper.h"
#include "kovo_string.h"

class Tavisk : public kovo_script_helper {
  public:
    // The panel has buttons for ten workstations; ordinals run from 1 to 10.
    static constexpr int maxWorkstations = 10;

    // Values of pendingAction, also the argument of setActionButtons.
    enum Action { actionNone = 0, actionShutdown = 1, actionRestart = 2 };
    // Values of wsOsType; any other type text is osUnknown.
    enum OsType { osUnknown = 0, osXPE = 1, osXP = 2, osW7 = 3, osW10 = 4 };

    // Process-execution texts go to the info device, one per workstation.
    static constexpr int infoDevice = 998;
    // Timer 1 returns the panel to idle this long after "Confirm".
    static constexpr int idleTimer = 1;
    static constexpr int idleDelayMs = 250;

    Tavisk(kovo_host_link* link, const char* instance);
    ~Tavisk() override;

    void controlEvent(kovo_control_event& event) override;
    int revertiveEvent(kovo_revertive_event& event) override;
    kovo_string parentQuery(kovo_parent_query& query) override;
    void timerEvent(int timerId) override;

  private:
    // Start-up.
    void chooseLayout();
    void readWorkstations();
    void findWorkstationButtons();

    // Panel "1".
    void toggleWorkstation(const kovo_string& controlId);
    void selectAll();
    void arm(int action);
    void confirm();
    void setActionButtons(int action);
    void updateConfirm();
    void clearSelection();

    // Fields per ordinal k (1 to maxWorkstations) are stored at [k - 1].
    int& selectedAt(int k) { return wsSelected[k - 1]; }

    int pendingAction = actionNone;
    int wsCount = 0;
    int wsNumber[maxWorkstations] = {};  // 0: not configured, never a target
    int wsSelected[maxWorkstations] = {};
    int wsOsType[maxWorkstations] = {};
    // The button of each ordinal as the shown layout names it ("WS_03", or
    // "WS_3" on a site's own layout); "WS_" and the ordinal in two digits when
    // the host names none.
    kovo_string wsButton[maxWorkstations];
    kovo_stringlist wsList;
    kovo_string area;
    kovo_string screenWidth;
    kovo_string layoutFile;
};
