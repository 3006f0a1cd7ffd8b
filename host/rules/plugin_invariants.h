// The rules every plug-in must keep, checked on each command it sends: the
// generic ones here (quoting, writes only on an operator's action, never to
// device 0), and each plug-in's own in its file (tavisk_invariants.h,
// lindqar_invariants.h, corvane_invariants.h). `kovo-host validate` and the
// session line "invariants on" report a broken rule as a protocol breach.
#pragma once

#include <string>
#include <vector>

#include "corvane_invariants.h"
#include "lindqar_invariants.h"
#include "simulator.h"
#include "tavisk_invariants.h"

namespace kovo_host {

// The plug-in a library is, by its file name: "Corvane", "Lindqar", "Tavisk" or "".
std::string pluginKind(const std::string& pluginPath);

class plugin_invariants {
  public:
    explicit plugin_invariants(const simulator& sim) : sim_(sim) {}

    // Adds a message for every rule the command breaks.
    void check(const observed_command& command, std::vector<std::string>& breaches);

  private:
    // The plug-ins' rules read what the site configures once per site directory.
    void readSite();

    const simulator& sim_;
    std::string site_;
    tavisk_invariants tavisk_;
    corvane_invariants corvane_;
};

// Installs the checks on the simulator (as its command observer).
void enableInvariants(simulator& sim);

}  // namespace kovo_host
