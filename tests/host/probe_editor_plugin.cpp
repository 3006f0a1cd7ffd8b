// A small name editor for testing the validator: "Edit" reads name 1 of device
// 7 and shows it, "Save" writes the typed name back, "Cancel" drops it, "Arm"
// starts a timer. The workstation it runs on chooses a seeded fault:
//   1  none (the editor keeps every rule);
//   2  the timer writes the name: a write nobody asked for;
//   3  the stored name goes into "TP" as it is: a quote breaks the command;
//   4  "Arm" never returns: a hang;
//   5  the timer writes to device 0: two breaches on one command.
#include "kovo_script_helper.h"
#include "kovo_typed_text.h"

namespace {

const char panel[] = "1";

}  // namespace

class kovo_host_probe_editor : public kovo_script_helper {
  public:
    kovo_host_probe_editor(kovo_host_link* link, const char* instance)
        : kovo_script_helper(link, instance), fault_(workstationNumber()) {
        panelShow(panel, "editor.kovo_ui", "");
        closeEdit();
    }

    void controlEvent(kovo_control_event& event) override {
        const kovo_string control = event.controlId();
        if (event.panelId() != panel) {
            return;
        }
        if (control == "Edit") {
            kovo_string stored;
            databaseGetName(7, 0, 1, stored);
            if (fault_ == 3) {
                // Built by hand, past the framework's own care for quotes.
                const kovo_string text = kovo_string("TP 'text=") + stored + "' '1' 'Name'";
                hostLink->sendCommand(text, KOVO_CODE_COMMAND);
            } else {
                textPut("text", hostSafeText(stored), panel, "Name");
            }
            controlShow(panel, "KB");
        } else if (control == "KB") {
            pending_ = hostSafeText(event.eventValue());
            havePending_ = true;
            controlHide(panel, "KB");
            controlEnable(panel, "Save");
            controlEnable(panel, "Cancel");
        } else if (control == "Save" && havePending_ && getDatabaseSize(7, 0) >= 1) {
            databaseModifyName(7, 0, 1, pending_, false);
            closeEdit();
        } else if (control == "Cancel") {
            closeEdit();
        } else if (control == "Arm") {
            if (fault_ == 4) {
                spinForever();
            }
            timerStart(1, 1000);
        }
    }

    int revertiveEvent(kovo_revertive_event&) override { return 0; }
    kovo_string parentQuery(kovo_parent_query&) override { return kovo_string(); }

    void timerEvent(int timerId) override {
        timerStop(timerId);
        if (fault_ == 2) {
            databaseModifyName(7, 0, 1, "from the timer", false);
        } else if (fault_ == 5) {
            databaseModifyName(0, 0, 1, "on device 0", false);
        }
    }

  private:
    [[noreturn]] static void spinForever() {
        // Volatile, so the loop has an effect and the compiler keeps it.
        volatile unsigned long turns = 0;
        while (true) {
            turns = turns + 1;
        }
    }

    void closeEdit() {
        havePending_ = false;
        controlHide(panel, "KB");
        controlDisable(panel, "Save");
        controlDisable(panel, "Cancel");
    }

    int fault_;
    bool havePending_ = false;
    kovo_string pending_;
};

KOVO_SCRIPT_EXPORT(kovo_host_probe_editor)
