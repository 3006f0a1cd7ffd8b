#include "corvane_invariants.h"

#include <algorithm>

#include "kovo_script_helper.h"
#include "site_directory.h"
#include "text.h"

namespace kovo_host {

namespace {

// The names editor lists entries 1 to the long-name database's size (as the
// plug-ins bound it), and writes a short name at its entry's index whatever
// the short-name database's size says.
void checkNamesListIndex(const site_directory* site, int device, int database, int index,
                         std::vector<std::string>& breaches) {
    const int longNames = database % 2;
    const int size = std::min(site == nullptr ? 0 : site->databaseSize(device, longNames),
                              kovo_script_helper::maxDatabaseSize);
    if (index < 1 || index > size) {
        breaches.push_back("invariant names-list: index " + std::to_string(index) +
                           " is no entry of the names list of device " + std::to_string(device) +
                           " (database " + std::to_string(longNames) + ": " + std::to_string(size) +
                           " entries)");
    }
}

}  // namespace

void corvane_invariants::readSite(const site_directory* site) {
    areas_ = site == nullptr ? std::vector<area_settings>() : readSiteAreas(*site);
}

void corvane_invariants::checkWrite(const site_directory* site, int device, int database, int index,
                                    const std::string& name,
                                    std::vector<std::string>& breaches) const {
    if (name.find('\'') != std::string::npos || hasControlCharacter(name)) {
        breaches.push_back(
            "invariant corvane-name-rule: a name holds a quote or a control character");
    }
    const int limit = editorNameLimit(areas_, device, database);
    if (limit == 0) {
        return;
    }
    if (name.size() > static_cast<std::size_t>(limit)) {
        breaches.push_back("invariant corvane-name-length: " + std::to_string(name.size()) +
                           " bytes in a " + (database < 2 ? "long" : "short") + " name (at most " +
                           std::to_string(limit) + ")");
    }
    checkNamesListIndex(site, device, database, index, breaches);
}

}  // namespace kovo_host
