#include "kovo_command_text.h"

#include <cstdio>

namespace kovo_command_text {

kovo_string quoted(const kovo_string& text) {
    kovo_string result("'");
    result += text;
    result += "'";
    return result;
}

kovo_string decimal(int value) {
    // 12 bytes hold "-2147483648" and its terminator; snprintf never writes past the size.
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", value);
    return kovo_string(digits);
}

kovo_string flag(bool value) {
    return kovo_string(value ? "1" : "0");
}

}  // namespace kovo_command_text
