#include "kovo_typed_text.h"

#include <string>

namespace {
bool needsReplacing(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return c == '\'' || byte < 0x20 || byte == 0x7f;
}
}  // namespace

bool isHostSafe(const kovo_string& text) {
    const char* bytes = text.c_str();
    for (unsigned i = 0; i < text.length(); ++i) {
        if (needsReplacing(bytes[i])) {
            return false;
        }
    }
    return true;
}

kovo_string hostSafeText(const kovo_string& typed) {
    if (isHostSafe(typed)) {
        return typed;
    }
    std::string safe(typed.c_str(), typed.length());
    for (char& c : safe) {
        if (needsReplacing(c)) {
            c = c == '\'' ? '`' : ' ';
        }
    }
    return kovo_string(safe.c_str());
}
