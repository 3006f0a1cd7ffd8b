#include "site_areas.h"

#include "kovo_string.h"

namespace kovo_host {

namespace {

std::vector<std::string> splitSetting(const std::string& text) {
    std::vector<std::string> items;
    if (text.empty()) {
        return items;
    }
    const kovo_stringlist list(kovo_string(text.c_str()), ',');
    for (int i = 0; i < list.count(); ++i) {
        items.emplace_back(list[i].c_str());
    }
    return items;
}

int asInteger(const std::string& text) {
    return kovo_string(text.c_str()).toInt();
}

}  // namespace

int area_settings::driverId(int slot) const {
    return slot >= 0 && slot < driverSlots && static_cast<std::size_t>(slot) < driverIds.size()
               ? asInteger(driverIds[static_cast<std::size_t>(slot)])
               : 0;
}

std::string area_settings::driverType(int slot) const {
    return slot >= 0 && slot < driverSlots && static_cast<std::size_t>(slot) < driverTypes.size()
               ? driverTypes[static_cast<std::size_t>(slot)]
               : std::string();
}

bool area_settings::offersRouter(int slot) const {
    return slot >= 2 && slot < driverSlots && !driverType(slot).empty();
}

std::vector<area_settings> readAreas(const settings_file& objects) {
    std::vector<area_settings> areas;
    for (int i = 0; i < areaSlots; ++i) {
        area_settings area;
        area.number = i;
        const std::string id = "rtr_area_" + std::to_string(i);
        area.group = objects.group(id);
        area.name = objects.value(id, "areaname");
        area.packageLevels = asInteger(objects.value(id, "package_levels"));
        area.driverIds = splitSetting(objects.value(id, "driver_ids"));
        area.driverTypes = splitSetting(objects.value(id, "driver_type"));
        areas.push_back(std::move(area));
    }
    return areas;
}

int offeredAreaCount(const std::vector<area_settings>& areas) {
    int count = 0;
    while (count < static_cast<int>(areas.size()) &&
           !areas[static_cast<std::size_t>(count)].name.empty()) {
        ++count;
    }
    return count;
}

std::set<int> namesEditorRouters(const std::vector<area_settings>& areas) {
    std::set<int> routers;
    const int offered = offeredAreaCount(areas);
    for (int a = 0; a < offered; ++a) {
        const area_settings& area = areas[static_cast<std::size_t>(a)];
        for (int slot = 2; slot < driverSlots; ++slot) {
            if (area.offersRouter(slot) && area.driverId(slot) != 0) {
                routers.insert(area.driverId(slot));
            }
        }
    }
    return routers;
}

int editorNameLimit(const std::vector<area_settings>& areas, int device, int database) {
    if (database < 0 || database > 3 || namesEditorRouters(areas).count(device) == 0) {
        return 0;
    }
    return database < 2 ? 16 : 8;
}

}  // namespace kovo_host

#include <filesystem>

#include "site_directory.h"

namespace kovo_host {

std::vector<area_settings> readSiteAreas(const site_directory& site) {
    const std::filesystem::path file =
        std::filesystem::path(site.systemDirectory()) / "object_settings.xml";
    std::vector<area_settings> areas = readAreas(readSettingsFile(file.string()));
    // The groups would point into the file read here, which is gone on return.
    for (area_settings& area : areas) {
        area.group = nullptr;
    }
    return areas;
}

}  // namespace kovo_host
