// Reading and writing a whole file: scripts, name files, settings, CSV, the
// validator's step and result files and site variants, the page's files.
#pragma once

#include <string>

namespace kovo_host {

// The file's bytes as they stand; false (text left empty) when it cannot be read.
bool readWholeFile(const std::string& path, std::string& text);

// Replaces the file's bytes with text; false when it cannot be written whole.
bool writeWholeFile(const std::string& path, const std::string& text);

}  // namespace kovo_host
