// Small text helpers the host's libraries share: quoting a text for people to
// read, comparing without regard to case, control characters, cutting a text
// into parts or lines, and telling UTF-8 text from other bytes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kovo_host {

// Shows a text in single quotes, with line ends and other control characters visible.
std::string quotedText(const std::string& text);
// The same, appended to out.
void appendQuotedText(const std::string& text, std::string& out);
// quotedText of at most the first `most` bytes (never half a character), and
// when that is not all of it, "…" and the whole length: a message that quotes
// what it refuses stays short however long that was.
std::string quotedStart(const std::string& text, std::size_t most = 80);

// Where the first byte stands that is not well-formed UTF-8 (an overlong form,
// a surrogate and a code point above U+10FFFF are not); npos when none does.
std::size_t invalidUtf8At(const std::string& text);
inline bool isUtf8(const std::string& text) {
    return invalidUtf8At(text) == std::string::npos;
}

// The text with its ASCII letters in lower case; other bytes stay as they are.
std::string lowerCase(std::string text);
// True when part stands in text, ASCII letters compared without regard to case.
bool containsIgnoringCase(const std::string& text, const std::string& part);

// True when the text holds a byte below 0x20 or DEL: what the host's quoting
// cannot carry and the panels show as a space.
bool hasControlCharacter(const std::string& text);

// The parts of a text between the separators: "a,,b" -> "a", "", "b"; "" -> "".
std::vector<std::string> splitAt(const std::string& text, char separator);

// The lines of a text, whether they end in LF or in CRLF (text mode on
// Windows); a last line without a line end counts, an empty end does not.
std::vector<std::string> textLines(const std::string& text);

}  // namespace kovo_host
