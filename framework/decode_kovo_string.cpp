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
    count = split(buffer, quoteChar, tokens);
}

int decodeKOVOString::split(char* text, char quoteChar, const char* (&words)[maxTokens]) {
    int last = 0;
    words[0] = text;
    bool inQuotes = false;
    bool previousEnded = false;  // the character before this one was cut off
    // A new token at this position; false when the record is full, and the rest
    // of the reply is dropped rather than written past the last entry.
    auto startToken = [&](char* at) {
        if (last + 1 >= maxTokens) {
            return false;
        }
        words[++last] = at;
        return true;
    };
    char* at = text;
    while (*at != '\0') {
        if (*at == quoteChar) {
            const bool emptyQuotedWord = inQuotes && previousEnded;
            *at = '\0';
            inQuotes = !inQuotes;
            if (emptyQuotedWord && !startToken(at)) {
                break;
            }
            previousEnded = true;
            ++at;
        } else if (!inQuotes && *at == ' ') {
            *at = '\0';
            previousEnded = true;
            ++at;
        } else {
            if (previousEnded && !startToken(at)) {
                break;
            }
            previousEnded = false;
            // The rest of the word needs no look at each character: inside
            // quotes it runs to the next quote, outside to a blank or a quote.
            if (inQuotes) {
                char* close = std::strchr(at, quoteChar);
                at = close != nullptr ? close : at + std::strlen(at);
            } else {
                ++at;
                while (*at != '\0' && *at != ' ' && *at != quoteChar) {
                    ++at;
                }
            }
        }
    }
    return last + 1;
}

decodeKOVOString::~decodeKOVOString() {
    delete[] buffer;
}
