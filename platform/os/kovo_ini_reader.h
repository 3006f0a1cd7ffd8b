// The INI reader used where the system has none of its own: the same section,
// key and default behaviour as the Windows profile functions.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace kovo_os {

// Reads key from section of the INI text in input. Returns false when the
// section or key is absent; value then is untouched. line, when given, receives
// the line (from 1) the key was found on.
bool findIniValue(std::istream& input, const std::string& section, const std::string& key,
                  std::string& value, int* line = nullptr);

}  // namespace kovo_os
