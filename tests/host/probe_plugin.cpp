// A test plug-in that does, on request, what a faulty script would: it relays
// any command text, keeps reply buffers, gives them back twice or late, or
// gives back a pointer the host never lent, answers an event that takes no
// answer, or throws. Everything it receives is written to its debug output, so
// scripts can check what arrived.
#include <cstring>
#include <stdexcept>
#include <string>

#include "kovo_script_helper.h"

namespace {

bool answersWithBuffer(const char* command) {
    return std::strncmp(command, "TG", 2) == 0 || std::strncmp(command, "XI", 2) == 0 ||
           std::strncmp(command, "RN", 2) == 0 || std::strncmp(command, "SD", 2) == 0;
}

char foreignText[] = "not from the host";

}  // namespace

class kovo_host_probe : public kovo_script_helper {
  public:
    kovo_host_probe(kovo_host_link* link, const char* instance)
        : kovo_script_helper(link, instance) {
        if (instanceString == "throw") {
            throw std::runtime_error("probe: asked to fail in its constructor");
        }
        panelShow("1", "probe.kovo_ui", "");
    }

    // "Answer" makes the call that carries it return a pointer, which only a
    // parent query may do.
    char* hostCallback(void* data, int eventType) override {
        char* result = kovo_script_helper::hostCallback(data, eventType);
        if (answerNext_) {
            answerNext_ = false;
            return foreignText;
        }
        return result;
    }

    void controlEvent(kovo_control_event& event) override {
        const kovo_string control = event.controlId();
        const kovo_string value = event.eventValue();
        if (control == "Relay") {
            char* reply = hostLink->sendCommand(value, KOVO_CODE_COMMAND);
            if (answersWithBuffer(value) && reply != nullptr) {
                debug(kovo_string("reply ") + reply + "\n");
                hostLink->sendCommand(reply, KOVO_CODE_RELEASE);
            }
        } else if (control == "Keep") {
            kept_ = hostLink->sendCommand(value, KOVO_CODE_COMMAND);
        } else if (control == "Late") {
            hostLink->sendCommand(kept_, KOVO_CODE_RELEASE);
        } else if (control == "Twice") {
            char* reply = hostLink->sendCommand(value, KOVO_CODE_COMMAND);
            hostLink->sendCommand(reply, KOVO_CODE_RELEASE);
            hostLink->sendCommand(reply, KOVO_CODE_RELEASE);
        } else if (control == "Foreign") {
            hostLink->sendCommand(foreignText, KOVO_CODE_RELEASE);
        } else if (control == "Answer") {
            answerNext_ = true;
        } else if (control == "Throw") {
            throw std::runtime_error("probe: asked to throw");
        } else if (control == "Workstation") {
            debug(kovo_string("workstation ") + kovo_string(workstationNumber(), ' ', 0, 10) +
                  "\n");
        } else {
            debug(kovo_string("control ") + event.panelId() + " " + control + " " +
                  event.eventKey() + "=" + value + "\n");
        }
    }

    int revertiveEvent(kovo_revertive_event&) override { return 0; }

    kovo_string parentQuery(kovo_parent_query& query) override {
        if (query.key() == "echo") {
            return query.value();
        }
        return kovo_string();
    }

    void timerEvent(int timerId) override {
        debug(kovo_string("timer ") + kovo_string(timerId, ' ', 0, 10) + "\n");
    }

    void databaseEvent(kovo_database_event& event) override {
        debug(kovo_string("database ") + kovo_string(event.device(), ' ', 0, 10) + " " +
              kovo_string(event.database(), ' ', 0, 10) + " " +
              kovo_string(event.index(), ' ', 0, 10) + " " + event.name() + "\n");
    }

  private:
    char* kept_ = nullptr;
    bool answerNext_ = false;
};

KOVO_SCRIPT_EXPORT(kovo_host_probe)
