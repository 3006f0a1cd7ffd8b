#include "tavisk_invariants.h"

#include <filesystem>

#include "galleries.h"
#include "numbers.h"
#include "settings_file.h"
#include "site_directory.h"

namespace fs = std::filesystem;

namespace kovo_host {

void tavisk_invariants::readSite(const site_directory* site) {
    targets_.clear();
    if (site == nullptr) {
        return;
    }
    const fs::path system = site->systemDirectory();
    const settings_file objects = readSettingsFile((system / "object_settings.xml").string());
    const settings_file workstations = readSettingsFile((system / "workstations.xml").string());
    for (const settings_group& station : workstations.groups) {
        std::set<int>& targets = targets_[leadingNumber(station.id)];
        const std::set<int> own =
            shutdownTargets(objects, workstations.value(station.id, "myarea"));
        targets.insert(own.begin(), own.end());
    }
}

void tavisk_invariants::checkExecution(int workstation, int target,
                                       std::vector<std::string>& breaches) const {
    const auto own = targets_.find(workstation);
    if (own == targets_.end() || own->second.count(target) == 0) {
        breaches.push_back("invariant tavisk-workstations: workstation " + std::to_string(target) +
                           " is not configured for the area of workstation " +
                           std::to_string(workstation));
    }
}

}  // namespace kovo_host
