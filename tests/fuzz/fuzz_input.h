// Helpers shared by the fuzz targets: the input as text, split into a few
// parts where a target takes more than one argument.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kovo_fuzz {

inline std::string text(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// Takes the part before the first '\n' off the front of rest (all of it when
// there is none).
inline std::string takeLine(std::string& rest) {
    const std::size_t end = rest.find('\n');
    std::string line = rest.substr(0, end);
    rest = end == std::string::npos ? std::string() : rest.substr(end + 1);
    return line;
}

// A C string: the text up to its first NUL, as the host and the plug-ins see it.
inline std::string cText(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

}  // namespace kovo_fuzz
