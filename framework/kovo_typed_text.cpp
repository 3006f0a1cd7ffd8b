#include "kovo_typed_text.h"

#include <string>

#include "kovo_text.h"

bool isHostSafe(const kovo_string& text) {
    const char* bytes = textOf(text);
    const unsigned length = text.length();
    for (unsigned i = 0; i < length; ++i) {
        if (hostSafeByte(bytes[i]) != bytes[i]) {
            return false;
        }
    }
    return true;
}

kovo_string hostSafeText(const kovo_string& typed) {
    if (isHostSafe(typed)) {
        return typed;
    }
    std::string safe(textOf(typed), typed.length());
    for (char& c : safe) {
        c = hostSafeByte(c);
    }
    return kovo_string(safe.c_str());
}
