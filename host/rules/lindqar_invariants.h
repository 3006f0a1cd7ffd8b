// Lindqar's invariants: the map editor writes only its fixed storage layout
// (group names at 1 to 12 of databases 4 and 5; in database 8 the group maps
// at 1-12 and 101-112 and the enables at 201 and 251), in the stored formats.
#pragma once

#include <string>
#include <vector>

namespace kovo_host {

// Adds a message for every rule the write "RM device database index 'text'" breaks.
void checkLindqarWrite(int database, int index, const std::string& text,
                       std::vector<std::string>& breaches);

// Map text of one group: 30 fields of three or more digits (crosspoints above
// 999 on large routers) joined by ",". Enables text:
// 12 fields, field i either "000" or i in three digits.
bool isMapText(const std::string& text);
bool isEnablesText(const std::string& text);

}  // namespace kovo_host
