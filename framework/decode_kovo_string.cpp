#include <cstring>

#include "kovo_events.h"

namespace {
const char emptyToken[] = "";
}  // namespace

decodeKOVOString::decodeKOVOString(const char* text, char quoteChar)
    : count(0), buffer(nullptr), quote(quoteChar) {
    for (const char*& token : tokens) {
        token = emptyToken;
    }
    if (text == nullptr || *text == '\0') {
        return;
    }
    const std::size_t length = std::strlen(text);
    buffer = new char[length + 1];
    std::memcpy(buffer, text, length + 1);

    int last = 0;
    tokens[0] = buffer;
    bool inQuotes = false;
    bool previousEnded = false;  // the character before this one was cut off
    // A new token at this position; false when the record is full, and the rest
    // of the reply is dropped rather than written past the last entry.
    auto startToken = [&](char* at) {
        if (last + 1 >= maxTokens) {
            return false;
        }
        tokens[++last] = at;
        return true;
    };
    for (char* at = buffer; *at != '\0'; ++at) {
        if (*at == quoteChar) {
            const bool emptyQuotedWord = inQuotes && previousEnded;
            *at = '\0';
            inQuotes = !inQuotes;
            if (emptyQuotedWord && !startToken(at)) {
                break;
            }
            previousEnded = true;
        } else if (!inQuotes && *at == ' ') {
            *at = '\0';
            previousEnded = true;
        } else {
            if (previousEnded && !startToken(at)) {
                break;
            }
            previousEnded = false;
        }
    }
    count = last + 1;
}

decodeKOVOString::~decodeKOVOString() {
    delete[] buffer;
}
