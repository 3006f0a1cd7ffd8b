// The four panels of the map editor, addressed by their decimal ids; the
// numbered controls that several of them carry are named by numberedControl.
#pragma once

#include "kovo_control_number.h"

namespace panel {
constexpr const char* home = "1";
constexpr const char* mapEditor = "2";
constexpr const char* enablesEditor = "3";
constexpr const char* namesEditor = "4";
}  // namespace panel
