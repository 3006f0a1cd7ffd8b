#include "kovo_command_text.h"

#include <cstdio>
#include <cstring>

#include "kovo_text.h"
#include "kovo_typed_text.h"

namespace kovo_command_text {

kovo_string decimal(int value) {
    // 12 bytes hold "-2147483648" and its terminator; snprintf never writes past the size.
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", value);
    return kovo_string(digits);
}

builder::builder(const char* verb) : data_(inline_) {
    inline_[0] = '\0';
    literal(verb);
}

void builder::append(const char* text, std::size_t length) {
    if (size_ + length > capacity_) {
        std::size_t capacity = capacity_ * 2 + 1;
        if (capacity < size_ + length) {
            capacity = size_ + length;
        }
        std::unique_ptr<char[]> grown(new char[capacity + 1]);
        std::memcpy(grown.get(), data_, size_);
        heap_ = std::move(grown);
        data_ = heap_.get();
        capacity_ = capacity;
    }
    std::memcpy(data_ + size_, text, length);
    size_ += length;
    data_[size_] = '\0';
}

void builder::appendSafe(const kovo_string& text) {
    // Copied, then made safe where it now stands: one pass, no second text.
    const std::size_t from = size_;
    append(textOf(text), text.length());
    for (std::size_t i = from; i < size_; ++i) {
        data_[i] = hostSafeByte(data_[i]);
    }
}

builder& builder::quoted(const kovo_string& text) {
    append(" '", 2);
    appendSafe(text);
    append('\'');
    return *this;
}

builder& builder::quoted(const kovo_string& key, const kovo_string& value) {
    append(" '", 2);
    appendSafe(key);
    append('=');
    appendSafe(value);
    append('\'');
    return *this;
}

builder& builder::quotedPath(const kovo_string& prefix, const kovo_string& text) {
    append(" '", 2);
    if (!isEmpty(prefix)) {
        appendSafe(prefix);
        append('/');
    }
    appendSafe(text);
    append('\'');
    return *this;
}

builder& builder::number(int value) {
    // Written from the end: a blank, a sign and ten digits at most.
    char digits[16];
    char* first = digits + sizeof digits;
    unsigned magnitude =
        value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        *--first = static_cast<char>('0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude != 0);
    if (value < 0) {
        *--first = '-';
    }
    *--first = ' ';
    append(first, static_cast<std::size_t>(digits + sizeof digits - first));
    return *this;
}

builder& builder::flag(bool value) {
    append(value ? " 1" : " 0", 2);
    return *this;
}

builder& builder::literal(const char* text) {
    append(text, std::strlen(text));
    return *this;
}

}  // namespace kovo_command_text
