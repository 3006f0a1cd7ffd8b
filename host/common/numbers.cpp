#include "numbers.h"

#include <climits>

namespace kovo_host {

bool parseNumber(const std::string& text, int& value) {
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && text[at] == '-') {
        negative = true;
        ++at;
    }
    if (at == text.size()) {
        return false;
    }
    long long result = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c < '0' || c > '9') {
            return false;
        }
        result = result * 10 + (c - '0');
        if (result > static_cast<long long>(INT_MAX) + 1) {
            return false;
        }
    }
    if (negative) {
        result = -result;
    }
    if (result > INT_MAX || result < INT_MIN) {
        return false;
    }
    value = static_cast<int>(result);
    return true;
}

int leadingNumber(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    long long result = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        result = result * 10 + (text[at] - '0');
        if (result > static_cast<long long>(INT_MAX) + 1) {
            result = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        result = -result;
    }
    if (result > INT_MAX) {
        return INT_MAX;
    }
    if (result < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(result);
}

bool parseDigits(const std::string& text, long long& value) {
    if (text.empty() || text.size() > 18 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
    }
    return true;
}

}  // namespace kovo_host
