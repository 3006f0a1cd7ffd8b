#include "kovo_config_location.h"

#include "kovo_os.h"

namespace kovo_config_store {
namespace {

std::string fileOfPrefix(const std::string& prefix) {
    if (prefix == "workstation_settings") {
        return "workstations.xml";
    }
    if (prefix == "object_settings") {
        return "object_settings.xml";
    }
    return prefix + ".xml";
}

// The prefix becomes a file name: it must not lead out of the directory.
bool isPlainName(const std::string& prefix) {
    return prefix.find_first_of("/\\:") == std::string::npos && prefix != "." && prefix != "..";
}

}  // namespace

bool locateGroup(const std::string& groupName, group_location& where) {
    const std::size_t dot = groupName.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == groupName.size()) {
        return false;
    }
    const std::string prefix = groupName.substr(0, dot);
    if (!isPlainName(prefix)) {
        return false;
    }
    std::string root;
    std::string system;
    if (!kovo_os::environmentValue("RX_ROOT", root) ||
        !kovo_os::environmentValue("RX_SYSTEM", system) || root.empty() || system.empty()) {
        return false;
    }
    const char sep = kovo_os::pathSeparator();
    where.file = root + sep + system + sep + "config" + sep + "system" + sep + fileOfPrefix(prefix);
    where.id = groupName.substr(dot + 1);
    return true;
}

}  // namespace kovo_config_store
