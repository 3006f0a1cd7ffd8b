// Where a configuration group is stored: which file, and which id inside it.
#pragma once

#include <string>

namespace kovo_config_store {

struct group_location {
    std::string file;  // full path of the XML file
    std::string id;    // the id attribute of the group's element
};

// Splits groupName at its first '.' into a prefix, which names the file in the
// site's configuration directory, and the id. False when the group cannot be
// stored: no '.', an empty part, a prefix that is not a plain file name, or
// RX_ROOT or RX_SYSTEM unset or empty.
bool locateGroup(const std::string& groupName, group_location& where);

}  // namespace kovo_config_store
