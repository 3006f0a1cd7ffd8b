#include <cstring>

#include "kovo_interface.h"

namespace {
// Every unset pointer of a record points here, so readers never meet a null text.
const char emptyText[] = "";
}  // namespace

kovo_key_value::kovo_key_value(const char* text)
    : key(emptyText), value(emptyText), count(0), hasValue(false), buffer(nullptr) {
    for (const char*& part : parts) {
        part = emptyText;
    }
    if (text == nullptr || *text == '\0') {
        return;
    }
    const std::size_t length = std::strlen(text);
    buffer = new char[length + 1];
    std::memcpy(buffer, text, length + 1);

    for (char* at = buffer; *at != '\0' && count < maxParts; ++at) {
        if (*at == '.') {
            if (key == emptyText) {
                key = buffer;
            }
            *at = '\0';
            parts[count++] = at + 1;
        } else if (*at == '=') {
            if (key == emptyText) {
                key = buffer;
            }
            *at = '\0';
            hasValue = true;
            value = at + 1;
            break;
        }
    }
    if (key == emptyText) {
        key = buffer;
    }
}

kovo_key_value::~kovo_key_value() {
    delete[] buffer;
}
