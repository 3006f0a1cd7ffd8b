#include "site_directory.h"

#include <cstdio>
#include <filesystem>
#include <pugixml.hpp>

#include "kovo_os.h"
#include "numbers.h"
#include "text.h"
#include "text_file.h"

namespace fs = std::filesystem;

namespace kovo_host {

namespace {

// "dev_101.ini" -> 101, "db_4.txt" -> 4; false for anything else. Only the name
// with the number written as the plug-ins write it counts: devices with at least
// three digits, zero-filled ("dev_5.ini" or "dev_0101.ini" would be a device the
// plug-ins never read), databases in plain decimal.
bool numberInName(const std::string& fileName, const char* prefix, const char* suffix,
                  int minDigits, int& number) {
    const std::string p(prefix), s(suffix);
    if (fileName.size() <= p.size() + s.size() || fileName.compare(0, p.size(), p) != 0 ||
        fileName.compare(fileName.size() - s.size(), s.size(), s) != 0) {
        return false;
    }
    const std::string digits = fileName.substr(p.size(), fileName.size() - p.size() - s.size());
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    if (!parseNumber(digits, number) || number < 0) {
        return false;
    }
    char written[16];
    std::snprintf(written, sizeof written, "%0*d", minDigits, number);
    return digits == written;
}

int readFirstWorkstation(const fs::path& file) {
    pugi::xml_document document;
    if (!document.load_file(file.string().c_str())) {
        return 0;
    }
    for (pugi::xml_node node : document.document_element().children()) {
        int number = 0;
        if (node.type() == pugi::node_element &&
            parseNumber(node.attribute("id").value(), number)) {
            return number;
        }
    }
    return 0;
}

}  // namespace

bool site_directory::open(const std::string& dir, std::string& error) {
    std::error_code code;
    fs::path path = fs::weakly_canonical(fs::absolute(dir, code), code);
    const fs::path system = path / "config" / "system";
    if (!fs::is_directory(path, code)) {
        error = "site directory " + dir + " does not exist";
        return false;
    }
    if (!fs::is_directory(system, code)) {
        error = "site directory " + dir + " has no config/system folder";
        return false;
    }
    directory_ = path.string();
    devices_.clear();
    for (const fs::directory_entry& entry : fs::directory_iterator(system, code)) {
        int number = 0;
        if (!entry.is_regular_file() ||
            !numberInName(entry.path().filename().string(), "dev_", ".ini", 3, number)) {
            continue;
        }
        const std::string ini = entry.path().string();
        device_info device;
        device.number = number;
        device.name = kovo_os::readIniString(ini, "Device", "Name", "");
        device.offset = leadingNumber(kovo_os::readIniString(ini, "Device", "Offset", "0"));
        for (int database = 0; database <= maxDatabaseNumber; ++database) {
            const std::string size = kovo_os::readIniString(
                ini, "Database", "DatabaseSize_" + std::to_string(database), "");
            if (!size.empty()) {
                device.databaseSizes[database] = leadingNumber(size);
            }
        }
        devices_[number] = std::move(device);
    }
    firstWorkstation_ = readFirstWorkstation(system / "workstations.xml");
    return true;
}

std::string deviceFileName(int device) {
    char name[32];
    std::snprintf(name, sizeof name, "dev_%03d.ini", device);
    return name;
}

std::string site_directory::name() const {
    return fs::path(directory_).filename().string();
}

std::string site_directory::rxRoot() const {
    return fs::path(directory_).parent_path().string();
}

std::string site_directory::rxSystem() const {
    return name();
}

std::string site_directory::systemDirectory() const {
    return (fs::path(directory_) / "config" / "system").string();
}

const device_info* site_directory::device(int number) const {
    auto found = devices_.find(number);
    return found == devices_.end() ? nullptr : &found->second;
}

const device_info* site_directory::deviceNamed(const std::string& name) const {
    for (const auto& entry : devices_) {
        if (!entry.second.name.empty() && entry.second.name == name) {
            return &entry.second;
        }
    }
    return nullptr;
}

int site_directory::databaseSize(int device, int database) const {
    const device_info* info = this->device(device);
    if (info == nullptr) {
        return 0;
    }
    auto found = info->databaseSizes.find(database);
    return found == info->databaseSizes.end() ? 0 : found->second;
}

std::vector<name_file> site_directory::nameFiles() const {
    std::vector<name_file> files;
    std::error_code code;
    const fs::path names = fs::path(directory_) / "names";
    if (!fs::is_directory(names, code)) {
        return files;
    }
    for (const fs::directory_entry& folder : fs::directory_iterator(names, code)) {
        int device = 0;
        if (!folder.is_directory() ||
            !numberInName(folder.path().filename().string() + ".", "dev_", ".", 3, device)) {
            continue;
        }
        for (const fs::directory_entry& file : fs::directory_iterator(folder.path(), code)) {
            int database = 0;
            if (file.is_regular_file() &&
                numberInName(file.path().filename().string(), "db_", ".txt", 1, database)) {
                files.push_back(name_file{device, database, file.path().string()});
            }
        }
    }
    return files;
}

bool readNameFile(const std::string& path, std::vector<name_line>& lines, std::string& error,
                  int* errorLine) {
    std::string text;
    if (!readWholeFile(path, text)) {
        error = "cannot read " + path;
        return false;
    }
    int number = 0;
    for (const std::string& line : textLines(text)) {
        ++number;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::size_t space = line.find(' ');
        name_line entry;
        entry.line = number;
        if (!parseNumber(line.substr(0, space), entry.index) || entry.index < 0) {
            if (errorLine != nullptr) {
                *errorLine = number;
            }
            error = path + ":" + std::to_string(number) +
                    ": a name line starts with its index (\"<index> <name>\")";
            return false;
        }
        entry.name = space == std::string::npos ? std::string() : line.substr(space + 1);
        lines.push_back(std::move(entry));
    }
    return true;
}

}  // namespace kovo_host
