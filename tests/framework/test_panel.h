// A panel for framework tests: records which handler got which event and lets a
// test reach the framework's protected state and commands.
#pragma once

#include <string>
#include <vector>

#include "kovo_script_helper.h"

class TestPanel : public kovo_script_helper {
  public:
    TestPanel(kovo_host_link* link, const char* instance) : kovo_script_helper(link, instance) {}

    void controlEvent(kovo_control_event& event) override {
        calls.push_back("control " + text(event.panelId()) + " " + text(event.controlId()) + " " +
                        text(event.eventKey()) + "=" + text(event.eventValue()));
    }
    int revertiveEvent(kovo_revertive_event&) override {
        calls.push_back("revertive");
        return 7;  // must never reach the host
    }
    kovo_string parentQuery(kovo_parent_query& query) override {
        calls.push_back("query " + text(query.key()) + "=" + text(query.value()));
        return kovo_string(queryReply.c_str());
    }
    void hostNotice(kovo_host_notice& notice) override {
        calls.push_back("notice");
        kovo_script_helper::hostNotice(notice);
    }
    void timerEvent(int timerId) override { calls.push_back("timer " + std::to_string(timerId)); }
    void databaseEvent(kovo_database_event& event) override {
        calls.push_back("database " + std::to_string(event.device()) + " " +
                        std::to_string(event.database()) + " " + std::to_string(event.index()) +
                        " " + text(event.name()));
    }

    void enableAlarms(bool on) { alarmEnabled = on; }
    bool alarmsEnabled() const { return alarmEnabled; }
    std::string instance() const { return text(instanceString); }
    const kovo_host_link* link() const { return hostLink; }

    std::vector<std::string> calls;
    std::string queryReply;

  private:
    static std::string text(const kovo_string& s) { return std::string(s.c_str()); }
};
