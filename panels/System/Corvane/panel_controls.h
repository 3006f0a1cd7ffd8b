// The four panels of the package and names editor, addressed by their decimal
// ids, and the numbered rows of the home panel (named by numberedControl).
#pragma once

#include "kovo_control_number.h"

namespace panel {
constexpr const char* home = "1";
constexpr const char* namesEditor = "2";
constexpr const char* packageNameEditor = "3";
constexpr const char* packageContentEditor = "4";
}  // namespace panel

// The rows of the home panel: areas 0 to 9, types 1 to 3, what 1 to 4, routers 1 to 3.
namespace home_row {
constexpr const char* area = "Area_name_%1";
constexpr const char* type = "Type_%1";
constexpr const char* editWhat = "Edit_what_%1";
constexpr const char* router = "Router_%1";
}  // namespace home_row
