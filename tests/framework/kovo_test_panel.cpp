// A panel built as a real plug-in: it reports each event it gets with a command,
// so a test that loads the library sees its handlers through the host link.
#include "kovo_script_helper.h"

namespace {
class kovo_test_panel : public kovo_script_helper {
  public:
    kovo_test_panel(kovo_host_link* link, const char* instance)
        : kovo_script_helper(link, instance) {
        // The link is stored before a panel constructor runs.
        panelInit("1", "1280.kovo_ui", "");
        alarmEnabled = instanceString == "alarms";
    }
    ~kovo_test_panel() override { timerStop(1); }

    void controlEvent(kovo_control_event& event) override {
        textPut(event.eventKey() + "=" + event.eventValue(), event.panelId(), event.controlId());
    }
    int revertiveEvent(kovo_revertive_event&) override {
        debug("revertive\n");
        return 1;
    }
    kovo_string parentQuery(kovo_parent_query& query) override {
        if (query.key() == "_events") {
            return "notify=*";
        }
        if (query.key() == "instance") {
            return instanceString;
        }
        return "";
    }
    void timerEvent(int timerId) override { timerStart(timerId, 0); }
    void databaseEvent(kovo_database_event& event) override {
        databaseModifyName(event.device(), event.database(), event.index(), event.name(), false);
    }
};
}  // namespace

KOVO_SCRIPT_EXPORT(kovo_test_panel)
