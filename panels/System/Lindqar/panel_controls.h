// The four panels of the map editor, addressed by their decimal ids, and the
// numbered controls that several of them carry.
#pragma once

#include "kovo_string.h"

namespace panel {
constexpr const char* home = "1";
constexpr const char* mapEditor = "2";
constexpr const char* enablesEditor = "3";
constexpr const char* namesEditor = "4";
}  // namespace panel

// "Group_7" from ("Group_%1", 7): the numbers are plain decimal, as in the layouts.
inline kovo_string numberedControl(const char* pattern, int number) {
    return kovo_string(pattern).arg(number);
}
