// Cutting UTF-8 text without leaving half a character behind, for the string
// library's truncation and the INI reader's value limit alike.
#pragma once

#include <cstddef>
#include <string>

namespace kovo_os {

inline bool isUtf8ContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Number of bytes of the UTF-8 sequence a lead byte starts; 1 for anything else.
inline std::size_t utf8SequenceLength(unsigned char lead) {
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        return 4;
    }
    return 1;
}

// Where to cut text (at least n + 1 bytes long) to keep at most n bytes: n, or
// less when the byte at n continues a sequence whose lead byte lies before it.
// Stray continuation bytes are no character to protect and are cut where asked.
inline std::size_t utf8CutPoint(const char* text, std::size_t n) {
    if (!isUtf8ContinuationByte(static_cast<unsigned char>(text[n]))) {
        return n;
    }
    for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
        const auto c = static_cast<unsigned char>(text[n - back]);
        if (!isUtf8ContinuationByte(c)) {
            return utf8SequenceLength(c) > back ? n - back : n;
        }
    }
    return n;
}

// Keeps at most maxChars bytes of text without leaving half of a UTF-8 sequence.
inline void limitText(std::string& text, std::size_t maxChars) {
    if (text.size() > maxChars) {
        text.resize(utf8CutPoint(text.c_str(), maxChars));
    }
}

}  // namespace kovo_os
