#include "kovo_typed_text.h"

#include <string>

kovo_string hostSafeText(const kovo_string& typed) {
    std::string safe(typed.c_str(), typed.length());
    for (char& c : safe) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\'') {
            c = '`';
        } else if (byte < 0x20 || byte == 0x7f) {
            c = ' ';
        }
    }
    return kovo_string(safe.c_str());
}
