// Numbers to text and back. Every conversion saturates at the int range.
#include <climits>
#include <cstring>

#include "kovo_string.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the digits starting at text, saturating the magnitude for the sign.
int readDigits(const char* text, bool negative) {
    // The magnitude of INT_MIN is one more than INT_MAX.
    const unsigned limit = negative ? 0u - static_cast<unsigned>(INT_MIN) : INT_MAX;
    unsigned magnitude = 0;
    for (; isDigit(*text); ++text) {
        const unsigned digit = static_cast<unsigned>(*text - '0');
        if (magnitude > (limit - digit) / 10u) {
            magnitude = limit;
            break;
        }
        magnitude = magnitude * 10u + digit;
    }
    if (!negative) {
        return static_cast<int>(magnitude);
    }
    if (magnitude == 0u - static_cast<unsigned>(INT_MIN)) {
        return INT_MIN;
    }
    return -static_cast<int>(magnitude);
}

}  // namespace

kovo_string::kovo_string(int value, char fill, unsigned width, int base) : kovo_string() {
    if (base < 2 || base > 36) {
        base = 10;
    }
    const bool negative = value < 0;
    unsigned magnitude =
        negative ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    // 32 binary digits at most; written from the end.
    char digits[40];
    char* first = digits + sizeof digits;
    do {
        *--first = "0123456789abcdefghijklmnopqrstuvwxyz"[magnitude % static_cast<unsigned>(base)];
        magnitude /= static_cast<unsigned>(base);
    } while (magnitude != 0);
    const auto count = static_cast<unsigned>(digits + sizeof digits - first);

    const unsigned used = count + (negative ? 1u : 0u);
    const unsigned padding = width > used ? width - used : 0u;
    reserve(padding + used);
    char* out = text_;
    if (negative && fill == '0') {
        // Zero filling goes between the sign and the digits: -05, not 0-5.
        *out++ = '-';
        std::memset(out, fill, padding);
        out += padding;
    } else {
        std::memset(out, fill, padding);
        out += padding;
        if (negative) {
            *out++ = '-';
        }
    }
    std::memcpy(out, first, count);
    length_ = padding + used;
    text_[length_] = '\0';
}

int kovo_string::toInt() const {
    const char* text = c_str();
    while (*text == ' ' || *text == '\t') {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    return readDigits(text, negative);
}

kovo_string::operator int() const {
    return toInt();
}

int kovo_string::firstInt() const {
    const char* text = c_str();
    for (const char* p = text; *p != '\0'; ++p) {
        if (isDigit(*p)) {
            return readDigits(p, p > text && p[-1] == '-');
        }
    }
    return 0;
}
