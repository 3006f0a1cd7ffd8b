// The ten areas of the package and names editor ("rtr_area_0" to "rtr_area_9"
// in the object settings), read as the editor reads them at load.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "settings_file.h"

namespace kovo_host {

constexpr int areaSlots = 10;
constexpr int driverSlots = 5;  // package names, package contents, routers 1 to 3

struct area_settings {
    int number = 0;
    const settings_group* group = nullptr;  // null when the settings have none
    std::string name;
    int packageLevels = 0;
    std::vector<std::string> driverIds;    // "driver_ids" split at ',' (empty when not set)
    std::vector<std::string> driverTypes;  // "driver_type" split at ','

    // Entry j of the list as the editor keeps it: a number (0 when missing) or a label.
    int driverId(int slot) const;
    std::string driverType(int slot) const;
    // Routers and the package devices are edited only through these slots.
    bool hasPackageDevices() const { return driverId(0) != 0 || driverId(1) != 0; }
    // Router slot (2 to 4) whose button the area offers: it has a label. A
    // router without one is never enabled, so the names editor never opens on it.
    bool offersRouter(int slot) const;
};

// All ten slots, in order.
std::vector<area_settings> readAreas(const settings_file& objects);
// The areas the editor offers: those before the first one without a name.
int offeredAreaCount(const std::vector<area_settings>& areas);

// The routers whose names the names editor edits: the devices of the offered
// routers of the offered areas. A slot left at 0 names no device, and no name
// is ever written to device 0.
std::set<int> namesEditorRouters(const std::vector<area_settings>& areas);

// The longest name (in bytes) the names editor writes into this database, 0 for
// no limit: 16 for long names (databases 0 and 1) and 8 for short names (2 and
// 3) of a names editor router.
int editorNameLimit(const std::vector<area_settings>& areas, int device, int database);

}  // namespace kovo_host

namespace kovo_host {

class site_directory;

// The areas of a site, from its object_settings.xml, without their groups
// (`group` is null: the file they would point into is not kept).
std::vector<area_settings> readSiteAreas(const site_directory& site);

}  // namespace kovo_host
