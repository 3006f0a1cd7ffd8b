// Debug output of the scripts: to the platform debug output, never to the operator.
#include <string>

#include "kovo_script_helper.h"
#include "kovo_text.h"

void kovo_script_helper::debug(const kovo_string& text) {
    kovo_os::debugOutput(textOf(text));
}

void kovo_script_helper::debug(const kovo_string& format, const kovo_string& a1,
                               const kovo_string& a2, const kovo_string& a3, const kovo_string& a4,
                               const kovo_string& a5, const kovo_string& a6, const kovo_string& a7,
                               const kovo_string& a8, const kovo_string& a9) {
    const kovo_string* const args[] = {&a1, &a2, &a3, &a4, &a5, &a6, &a7, &a8, &a9};
    // One left-to-right pass over the format: %1..%9 take their argument, and an
    // inserted text is never looked at again, so a name holding "%2" stays as it is.
    std::string out;
    for (const char* at = textOf(format); *at != '\0'; ++at) {
        if (at[0] == '%' && at[1] >= '1' && at[1] <= '9') {
            const kovo_string& arg = *args[at[1] - '1'];
            out.append(textOf(arg), arg.length());
            ++at;
        } else {
            out += *at;
        }
    }
    kovo_os::debugOutput(out.c_str());
}
