// Corvane's invariants: every name it writes is free of quotes and control
// characters; a router's name (a router the names editor offers, by the site's
// area rules) keeps the editor's length limit and goes to an entry of the
// names list.
#pragma once

#include <string>
#include <vector>

#include "site_areas.h"

namespace kovo_host {

class site_directory;

class corvane_invariants {
  public:
    // The site's areas; none without a site.
    void readSite(const site_directory* site);
    // Adds a message for every rule "RM device database index 'name'" breaks on
    // the site read last.
    void checkWrite(const site_directory* site, int device, int database, int index,
                    const std::string& name, std::vector<std::string>& breaches) const;

  private:
    std::vector<area_settings> areas_;
};

}  // namespace kovo_host
