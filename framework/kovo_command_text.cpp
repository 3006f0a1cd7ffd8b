#include "kovo_command_text.h"

#include <cstdio>

#include "kovo_typed_text.h"

namespace kovo_command_text {

kovo_string quoted(const kovo_string& text) {
    kovo_string result("'");
    // The one place a quoted field is formed: whatever a caller passes (a name
    // read from the host, a control id or an event value echoed back), no quote
    // or control character can break the command.
    if (isHostSafe(text)) {
        result += text;
    } else {
        result += hostSafeText(text);
    }
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
