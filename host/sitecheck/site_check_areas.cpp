// Checks of the package and names editor's areas ("rtr_area_N"), and what they
// tell about the databases the editor will read.
#include "numbers.h"
#include "site_check_internal.h"

namespace kovo_host {

namespace {

const char* const slotNames[driverSlots] = {
    "the package names device", "the package contents device", "router 1", "router 2", "router 3"};

int lineOf(const area_settings& area, const char* id, const settings_file& file) {
    const settings_entry* entry = file.entry("rtr_area_" + std::to_string(area.number), id);
    return entry != nullptr ? entry->line : area.group->line;
}

void checkListLengths(site_check_context& c, const area_settings& area, const std::string& who) {
    const int idsLine = lineOf(area, "driver_ids", c.objects);
    const int typesLine = lineOf(area, "driver_type", c.objects);
    if (area.driverIds.size() > driverSlots) {
        c.warning(
            c.objects.path, idsLine,
            who + ": \"driver_ids\" has " + std::to_string(area.driverIds.size()) + " entries",
            "entries after the fifth are ignored");
    }
    if (area.driverTypes.size() > driverSlots) {
        c.warning(
            c.objects.path, typesLine,
            who + ": \"driver_type\" has " + std::to_string(area.driverTypes.size()) + " entries",
            "entries after the fifth are ignored");
    }
    const std::size_t ids = area.driverIds.size();
    const std::size_t types = area.driverTypes.size();
    if (ids != types && (ids < driverSlots || types < driverSlots)) {
        c.error(c.objects.path, typesLine,
                who + ": \"driver_ids\" has " + std::to_string(ids) +
                    " entries but \"driver_type\" " + std::to_string(types),
                "the editor pairs devices and labels by position: from the first missing entry on, "
                "a label names another device than meant");
    }
}

void checkDriverIds(site_check_context& c, const area_settings& area, const std::string& who) {
    const int idsLine = lineOf(area, "driver_ids", c.objects);
    for (int slot = 0; slot < driverSlots; ++slot) {
        const std::size_t s = static_cast<std::size_t>(slot);
        const std::string text = s < area.driverIds.size() ? area.driverIds[s] : std::string();
        int number = 0;
        if (!text.empty() && !parseNumber(text, number)) {
            c.error(c.objects.path, idsLine,
                    who + ": driver id " + inQuotes(text) + " (" + slotNames[slot] +
                        ") is not a number",
                    "the editor reads it as device " + std::to_string(area.driverId(slot)));
        }
        const int device = area.driverId(slot);
        if (device != 0 && c.site.device(device) == nullptr) {
            c.error(c.objects.path, idsLine,
                    who + ": driver id " + std::to_string(device) + " (" + slotNames[slot] +
                        ") has no device file (config/system/" + deviceFileName(device) + ")",
                    "every database of it reads as size 0: its editor opens empty, and the "
                    "host stores no name on it");
        }
        if (slot >= 2 && device == 0 && !area.driverType(slot).empty()) {
            c.error(c.objects.path, idsLine,
                    who + ": " + slotNames[slot] + " is labelled " +
                        inQuotes(area.driverType(slot)) + " but has no device",
                    "its router button is offered and opens the names of device 0, which has "
                    "none");
        }
    }
}

void noteNeeds(site_check_context& c, const area_settings& area, const std::string& who) {
    for (int slot = 2; slot < driverSlots; ++slot) {
        const int device = area.driverId(slot);
        if (device != 0 && area.offersRouter(slot)) {
            const std::string user = who + " (names editor, " + slotNames[slot] + ")";
            // The list comes from the long names' size; a short name is written
            // at its entry's index, whatever its own database's size.
            for (int database = 0; database < 4; ++database) {
                c.need(device, database, 1, user, database < 2);
            }
        }
    }
    if (!area.hasPackageDevices()) {
        return;
    }
    // The package editors page through the package device and the level routers
    // with the group selector and name map: names 4/5, pages and enables in 8.
    auto pages = [&](int device, const std::string& user) {
        c.need(device, 0, 1, user);
        c.need(device, 1, 1, user);
        c.need(device, 4, 12, user);
        c.need(device, 5, 12, user);
        c.need(device, 8, 251, user);
    };
    if (area.driverId(0) != 0) {
        pages(area.driverId(0), who + " (package names)");
    }
    if (area.driverId(1) != 0) {
        c.need(area.driverId(1), 0, 1, who + " (package contents)");
        c.need(area.driverId(1), 1, 1, who + " (package contents)");
    }
    const int levels = area.packageLevels == 3 ? 3 : 2;
    for (int level = 0; level < levels; ++level) {
        const int device = area.driverId(2 + level);
        if (device != 0) {
            pages(device, who + " (package contents, " + slotNames[2 + level] + ")");
        }
    }
}

}  // namespace

void checkAreas(site_check_context& c) {
    const int offered = offeredAreaCount(c.areas);
    for (const area_settings& area : c.areas) {
        if (area.group == nullptr) {
            continue;
        }
        const std::string who = "area rtr_area_" + std::to_string(area.number);
        if (area.number > offered && !area.name.empty()) {
            c.warning(c.objects.path, lineOf(area, "areaname", c.objects),
                      who + " " + inQuotes(area.name) + " comes after the gap at rtr_area_" +
                          std::to_string(offered),
                      "the area list ends at the first area without \"areaname\": this area is "
                      "never offered");
            continue;
        }
        if (area.number >= offered) {
            continue;
        }
        checkListLengths(c, area, who);
        checkDriverIds(c, area, who);
        if (area.hasPackageDevices() && area.packageLevels != 2 && area.packageLevels != 3) {
            c.error(c.objects.path, lineOf(area, "package_levels", c.objects),
                    who + ": \"package_levels\" " +
                        inQuotes(c.objects.value(area.group->id, "package_levels")) +
                        " is neither 2 nor 3",
                    "the package contents editor shows no levels for this area");
        }
        noteNeeds(c, area, who);
    }
    // Groups that look like areas but are never read.
    for (const settings_group& group : c.objects.groups) {
        if (group.id.compare(0, 9, "rtr_area_") != 0) {
            continue;
        }
        int number = -1;
        if (!parseNumber(group.id.substr(9), number) || number < 0 || number >= areaSlots ||
            "rtr_area_" + std::to_string(number) != group.id) {
            c.warning(c.objects.path, group.line, "group " + inQuotes(group.id) + " is not an area",
                      "the editor reads only rtr_area_0 to rtr_area_9: this group is never read");
        }
    }
}

}  // namespace kovo_host
