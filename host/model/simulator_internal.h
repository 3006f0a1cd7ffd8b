// What the simulator keeps per loaded script, shared by its implementation files.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "kovo_interface.h"
#include "kovo_os_host.h"
#include "lent_buffers.h"
#include "panel_state.h"
#include "script_object.h"
#include "simulator.h"

namespace kovo_host {

// The host link handed to one script. Commands go to the simulator, which
// knows the script by its id (so a link never outlives what it points to).
class script_link final : public kovo_host_link {
  public:
    script_link(simulator& owner, int scriptId) : owner_(owner), scriptId_(scriptId) {}
    char* sendCommand(const char* text, int code) override;

  private:
    simulator& owner_;
    int scriptId_;
};

struct simulator::script_instance {
    int id = 0;
    std::string name;
    std::string pluginPath;
    std::string instance;
    int workstation = 0;
    std::string workstationText;  // RX_WORKSTATION while the script runs
    kovo_os::plugin_library library;
    script_object callback;
    std::unique_ptr<script_link> link;
    bool stopped = false;  // "AS" received
    bool inCall = false;
    std::map<std::string, panel_state> panels;
    std::vector<std::string> shown;  // panel ids, in the order they were shown
    std::set<int> registered;        // devices of "RR"
    lent_buffers buffers;
    // (panel, control) of control events delivered for a control the panel's
    // layout lacks: a script naming it back names what the host itself named.
    std::set<std::pair<std::string, std::string>> hostNamed;
};

}  // namespace kovo_host
