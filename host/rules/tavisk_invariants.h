// Tavisk's invariant: the shutdown panel sends process executions only to the
// workstations its gallery's list configures, as the site's galleries rule reads them.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace kovo_host {

class site_directory;

class tavisk_invariants {
  public:
    // The site's workstations and their galleries; none without a site.
    void readSite(const site_directory* site);
    // Adds a message when "IW ... target" from the panel of `workstation` breaks the rule.
    void checkExecution(int workstation, int target, std::vector<std::string>& breaches) const;

  private:
    std::map<int, std::set<int>> targets_;  // workstation -> the workstations it can send to
};

}  // namespace kovo_host
