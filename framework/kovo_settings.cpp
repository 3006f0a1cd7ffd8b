// Settings from the configuration store, device INI files and the environment.
#include <cstdio>
#include <string>

#include "kovo_command_text.h"
#include "kovo_config.h"
#include "kovo_script_helper.h"
#include "kovo_text.h"

namespace {
// The "value" of the first entry of the group whose "id" is id; later entries
// with the same id are never seen.
kovo_string firstSettingValue(const kovo_string& groupName, const kovo_string& id) {
    kovo_config config(groupName);
    for (; config.isChildValid(); config.nextChild()) {
        if (config.childAttr("id") == id) {
            return config.childAttr("value");
        }
    }
    return kovo_string();
}

// "dev_005.ini", "dev_1234.ini": at least three digits, zero-filled. The buffer
// holds any int, so a negative device gives a well-formed name ("dev_-05.ini").
std::string deviceIniName(int device) {
    char name[32];
    std::snprintf(name, sizeof name, "dev_%03d.ini", device);
    return name;
}
}  // namespace

kovo_string kovo_script_helper::getObjectSetting(const kovo_string& object, const kovo_string& id) {
    return firstSettingValue(kovo_string("object_settings.") + object, id);
}

kovo_string kovo_script_helper::getWorkstationSetting(const kovo_string& id) {
    return firstSettingValue(
        kovo_string("workstation_settings.") + kovo_command_text::decimal(workstationNumber()), id);
}

int kovo_script_helper::getDatabaseSize(int device, int database) {
    std::string root;
    std::string system;
    // An empty variable counts as unset, as in the configuration store: it would
    // otherwise lead to a path at the root of the file system.
    if (!kovo_os::environmentValue("RX_ROOT", root) ||
        !kovo_os::environmentValue("RX_SYSTEM", system) || root.empty() || system.empty()) {
        return 0;
    }
    const char sep = kovo_os::pathSeparator();
    const std::string path =
        root + sep + system + sep + "config" + sep + "system" + sep + deviceIniName(device);
    const std::string key =
        std::string("DatabaseSize_") + textOf(kovo_command_text::decimal(database));
    const std::string size = kovo_os::readIniString(path, "Database", key, "0", 255);
    if (size.empty()) {
        return 0;
    }
    const int entries = kovo_string(size.c_str()).toInt();
    if (entries < 0) {
        return 0;
    }
    // Editors walk every entry with a host request each: an absurd size in a
    // device file must not freeze the panel host for billions of requests.
    if (entries > maxDatabaseSize) {
        const std::string bound = std::to_string(maxDatabaseSize);
        debug(("\nkovo_script_helper:: " + path + ": " + key + "=" + size + " is above " + bound +
               "; " + bound + " entries are used.\n")
                  .c_str());
        return maxDatabaseSize;
    }
    return entries;
}

int kovo_script_helper::workstationNumber() {
    std::string number;
    if (!kovo_os::environmentValue("RX_WORKSTATION", number)) {
        return 0;
    }
    return kovo_string(number.c_str()).toInt();
}
