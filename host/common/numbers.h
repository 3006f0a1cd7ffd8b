// Numbers read from texts: command arguments, script words, file names, settings.
#pragma once

#include <string>

namespace kovo_host {

// A whole decimal number (optional '-') that fits an int; nothing else is a number.
bool parseNumber(const std::string& text, int& value);

// The leading decimal number of a text (blanks, sign, digits), saturating; 0 when none.
int leadingNumber(const std::string& text);

// Digits only, no sign, at most 18 of them (so the value always fits): the
// counts and seeds of command-line options and query parameters.
bool parseDigits(const std::string& text, long long& value);

}  // namespace kovo_host
