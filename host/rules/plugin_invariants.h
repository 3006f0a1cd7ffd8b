// The rules every plug-in must keep, checked on each command it sends: the
// generic ones (quoting, writes only on an operator's action, never to device
// 0) and those of each plug-in (Tavisk's workstations, Lindqar's storage
// layout, Corvane's name rules and names list). `kovo-host validate` and the session line
// "invariants on" report a broken rule as a protocol breach.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "simulator.h"

namespace kovo_host {

class site_directory;

// The plug-in a library is, by its file name: "Corvane", "Lindqar", "Tavisk" or "".
std::string pluginKind(const std::string& pluginPath);

class plugin_invariants {
  public:
    explicit plugin_invariants(const simulator& sim) : sim_(sim) {}

    // Adds a message for every rule the command breaks.
    void check(const observed_command& command, std::vector<std::string>& breaches);

  private:
    // What the site configures, read once per site directory.
    struct site_facts {
        std::set<int> routerDevices;                   // Corvane: driver_ids 3 to 5 of every area
        std::map<int, std::set<int>> shutdownTargets;  // Tavisk: workstation -> its area's list
    };
    const site_facts& facts();
    // Corvane's router names: the index is an entry of the names editor's list.
    void checkNamesListIndex(int device, int database, int index,
                             std::vector<std::string>& breaches);

    const simulator& sim_;
    std::string factsSite_;
    site_facts facts_;
};

// Installs the checks on the simulator (as its command observer).
void enableInvariants(simulator& sim);

// Map text of one group: 30 fields of three or more digits (crosspoints above
// 999 on large routers) joined by ",". Enables text:
// 12 fields, field i either "000" or i in three digits.
bool isMapText(const std::string& text);
bool isEnablesText(const std::string& text);

}  // namespace kovo_host
