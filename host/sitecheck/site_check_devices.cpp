// Checks of the device files (names and database sizes) and the name files.
#include <filesystem>
#include <fstream>
#include <map>

#include "kovo_ini_reader.h"
#include "kovo_script_helper.h"
#include "kovo_string.h"
#include "numbers.h"
#include "site_check_internal.h"
#include "text.h"

namespace fs = std::filesystem;

namespace kovo_host {

namespace {

bool looksLike(const std::string& name, const char* prefix, const char* suffix) {
    const std::string l = lowerCase(name), p(prefix), s(suffix);
    return l.size() >= p.size() + s.size() && l.compare(0, p.size(), p) == 0 &&
           l.compare(l.size() - s.size(), s.size(), s) == 0;
}

std::string iniPath(const site_check_context& c, int device) {
    return (fs::path(c.systemDir) / deviceFileName(device)).string();
}

std::string sizeKey(int database) {
    return "DatabaseSize_" + std::to_string(database);
}

// A database size as the device file writes it, and its line; false when absent.
bool sizeEntry(const std::string& path, int database, std::string& raw, int& line) {
    std::ifstream in(path, std::ios::binary);
    return in && kovo_os::findIniValue(in, "Database", sizeKey(database), raw, &line);
}

void checkFileNames(site_check_context& c) {
    std::error_code code;
    for (const fs::directory_entry& entry : fs::directory_iterator(c.systemDir, code)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || !looksLike(name, "dev_", ".ini")) {
            continue;
        }
        const std::string digits = name.substr(4, name.size() - 8);
        int number = 0;
        if (!parseNumber(digits, number) || number < 0 || deviceFileName(number) != name) {
            c.warning(entry.path().string(), 0, name + " is not a device file name",
                      "device N is read only from dev_N.ini with N of at least three digits, "
                      "zero-filled (dev_005.ini): no plug-in opens this file");
        }
    }
    const fs::path names = fs::path(c.site.directory()) / "names";
    for (const fs::directory_entry& folder : fs::directory_iterator(names, code)) {
        const std::string name = folder.path().filename().string();
        int number = 0;
        if (folder.is_directory() &&
            (!parseNumber(name.size() > 4 ? name.substr(4) : std::string(), number) || number < 0 ||
             deviceFileName(number) != name + ".ini")) {
            c.warning(folder.path().string(), 0, name + " is not a device's names folder",
                      "names are seeded only from names/dev_NNN/ (at least three digits, "
                      "zero-filled): these names are never stored");
        }
    }
}

void checkSizes(site_check_context& c, const device_info& device) {
    const std::string path = iniPath(c, device.number);
    std::string offset;
    int offsetLine = 0;
    std::ifstream in(path, std::ios::binary);
    int number = 0;
    if (in && kovo_os::findIniValue(in, "Device", "Offset", offset, &offsetLine) &&
        !parseNumber(offset, number)) {
        c.error(path, offsetLine, "Offset " + inQuotes(offset) + " is not a whole number",
                "a lookup by name (\"SD\") answers the offset " + std::to_string(device.offset));
    }
    bool mapStore = false;
    for (int database = 0; database <= maxDatabaseNumber; ++database) {
        std::string raw;
        int line = 0;
        if (!sizeEntry(path, database, raw, line) || raw.empty()) {
            continue;
        }
        mapStore = mapStore || database == 4 || database == 5 || database == 8;
        // As the plug-ins read it: the leading number, saturated, then bounded.
        const int bound = kovo_script_helper::maxDatabaseSize;
        const int read = kovo_string(raw.c_str()).toInt();
        const bool digits =
            raw.find_first_not_of("0123456789", raw[0] == '-' ? 1 : 0) == std::string::npos;
        if (!digits) {
            const int used = read < 0 ? 0 : read > bound ? bound : read;
            c.error(path, line, sizeKey(database) + " " + inQuotes(raw) + " is not a whole number",
                    "the plug-ins read it as " + std::to_string(used) + " entries");
        } else if (read < 0) {
            c.error(path, line, sizeKey(database) + " is negative (" + raw + ")",
                    "no editor lists an entry of it, and the host stores no name in it");
        } else if (read > bound) {
            c.warning(path, line,
                      sizeKey(database) + " is " + raw + ", above " + std::to_string(bound),
                      "the plug-ins use only its first " + std::to_string(bound) +
                          " entries, with a debug line naming the file and the key");
        }
    }
    // The map editor opens a matrix by its name, which the site does not tie to
    // any setting: a device with a map store is taken to be one.
    if (mapStore) {
        const std::string user = "the map editor (map store of a matrix)";
        c.need(device.number, 4, 12, user);
        c.need(device.number, 5, 12, user);
        c.need(device.number, 8, 251, user);
    }
}

void checkNeeds(site_check_context& c) {
    for (const auto& byDevice : c.needs) {
        if (c.site.device(byDevice.first) == nullptr) {
            continue;  // reported with the setting that names it
        }
        const std::string path = iniPath(c, byDevice.first);
        for (const auto& byDatabase : byDevice.second) {
            const int database = byDatabase.first;
            const database_need& need = byDatabase.second;
            const device_info& info = *c.site.device(byDevice.first);
            const auto stored = info.databaseSizes.find(database);
            const int size = c.site.databaseSize(byDevice.first, database);
            if (size >= need.minimum) {
                continue;
            }
            std::string raw;
            int line = 0;
            sizeEntry(path, database, raw, line);
            if (size <= 0) {
                c.error(path, line,
                        sizeKey(database) +
                            (stored == info.databaseSizes.end() ? " is missing"
                                                                : " is " + std::to_string(size)) +
                            ", but " + need.user + " reads database " + std::to_string(database),
                        need.listed ? "the editor reads the size as 0 and lists nothing of the "
                                      "database, and the host stores no name in it"
                                    : "the editor does not read the size and writes there all "
                                      "the same, but the host stores no name in it");
            } else {
                c.error(path, line,
                        sizeKey(database) + " is " + std::to_string(size) + ", but " + need.user +
                            " uses indices up to " + std::to_string(need.minimum),
                        "the host refuses to store a name above index " + std::to_string(size) +
                            ", so those entries are never saved");
            }
        }
    }
}

// The short name of an entry lives at the same index of database 2 (or 3) as
// its long name in 0 (or 1).
void checkShortNames(site_check_context& c) {
    for (int device : namesEditorRouters(c.areas)) {
        for (int database = 0; database < 2; ++database) {
            const int entries = c.site.databaseSize(device, database);
            const int shortNames = c.site.databaseSize(device, database + 2);
            if (shortNames <= 0 || shortNames >= entries) {
                continue;  // a missing size is reported as a need
            }
            const std::string path = iniPath(c, device);
            std::string raw;
            int line = 0;
            sizeEntry(path, database + 2, raw, line);
            c.warning(path, line,
                      sizeKey(database + 2) + " is " + std::to_string(shortNames) +
                          ", smaller than " + sizeKey(database) + " (" + std::to_string(entries) +
                          ")",
                      "the names editor writes the short name of every entry it lists at the "
                      "entry's index, but the host stores none above " +
                          std::to_string(shortNames) + ": those of entries " +
                          std::to_string(shortNames + 1) + " to " + std::to_string(entries) +
                          " are never saved");
        }
    }
}

void checkDeviceNames(site_check_context& c) {
    std::map<std::string, int> named;
    for (const auto& entry : c.site.devices()) {
        const device_info& device = entry.second;
        if (device.name.empty()) {
            continue;
        }
        const auto first = named.emplace(device.name, device.number);
        if (!first.second) {
            c.warning(iniPath(c, device.number), 0,
                      "the name " + inQuotes(device.name) + " is also the name of device " +
                          std::to_string(first.first->second),
                      "a lookup by name (\"SD\") finds device " +
                          std::to_string(first.first->second) + " only");
        }
    }
}

void checkNameFile(site_check_context& c, const name_file& file) {
    if (c.site.device(file.device) == nullptr) {
        c.error(file.path, 0,
                "names of device " + std::to_string(file.device) + ", which has no device file",
                "the simulator stores them, but answers every name request for the device with "
                "nothing: no plug-in sees them");
        return;
    }
    std::vector<name_line> lines;
    std::string error;
    int errorLine = 0;
    if (!readNameFile(file.path, lines, error, &errorLine)) {
        c.error(file.path, errorLine, "a line does not start with its index (\"<index> <name>\")",
                "the simulator cannot seed its name store: every run on this site stops");
        return;
    }
    const int size = c.site.databaseSize(file.device, file.database);
    if (size <= 0 && !lines.empty()) {
        // One finding for the file rather than one for each of its lines.
        c.error(file.path, 0,
                "database " + std::to_string(file.database) + " of device " +
                    std::to_string(file.device) + " has no size (" + sizeKey(file.database) +
                    " in " + deviceFileName(file.device) + ")",
                "no editor lists any of these names, and the host stores none of them");
    }
    const int limit = editorNameLimit(c.areas, file.device, file.database);
    const std::string where = "database " + std::to_string(file.database);
    std::map<int, int> seen;  // index -> first line
    for (const name_line& line : lines) {
        const std::string index = "index " + std::to_string(line.index);
        if (size > 0 && (line.index < 1 || line.index > size)) {
            c.error(file.path, line.line,
                    index + " is outside " + where + " (1 to " + std::to_string(size) + ")",
                    "no editor lists it, and the host refuses to store a name at this index");
        }
        const auto first = seen.emplace(line.index, line.line);
        if (!first.second) {
            c.warning(file.path, line.line,
                      index + " again (first at line " + std::to_string(first.first->second) + ")",
                      "this line's name is stored; the earlier one is lost");
        }
        // The host commands quote names with ' and have no escape: the panels read
        // every stored name through the typed-text rule, so they never show it
        // as stored.
        if (line.name.find('\'') != std::string::npos) {
            c.warning(file.path, line.line,
                      index + ": the name " + inQuotes(line.name) + " holds a '",
                      "the panels show it with a backtick in place of the quote, and a name "
                      "written back from a panel stores the backtick");
        }
        if (hasControlCharacter(line.name)) {
            c.warning(file.path, line.line, index + ": the name holds a control character",
                      "the panels show it with a space in its place, and a name written back "
                      "from a panel stores the space");
        }
        if (limit > 0 && line.name.size() > static_cast<std::size_t>(limit)) {
            c.warning(file.path, line.line,
                      index + ": the name " + inQuotes(line.name) + " is " +
                          std::to_string(line.name.size()) + " bytes long",
                      "the names editor writes at most " + std::to_string(limit) +
                          " bytes here: it shows this name whole, but cuts it when retyped");
        }
    }
}

}  // namespace

void checkDeviceFiles(site_check_context& c) {
    checkFileNames(c);
    for (const auto& entry : c.site.devices()) {
        checkSizes(c, entry.second);
    }
    checkDeviceNames(c);
}

void checkDatabaseSizes(site_check_context& c) {
    checkNeeds(c);
    checkShortNames(c);
}

void checkNameFiles(site_check_context& c) {
    for (const name_file& file : c.site.nameFiles()) {
        checkNameFile(c, file);
    }
}

}  // namespace kovo_host
