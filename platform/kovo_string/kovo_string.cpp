// Value semantics, concatenation and comparison of kovo_string.
#include "kovo_string.h"

#include <cstring>
#include <limits>
#include <stdexcept>

#include "kovo_string_verbatim.h"

namespace {

unsigned checkedLength(std::size_t length) {
    if (length > std::numeric_limits<unsigned>::max() - 1u) {
        throw std::length_error("kovo_string: text too long");
    }
    return static_cast<unsigned>(length);
}

}  // namespace

kovo_string::kovo_string() : text_(nullptr), length_(0), verbatim_(nullptr) {}

kovo_string::kovo_string(const char* text) : text_(nullptr), length_(0), verbatim_(nullptr) {
    if (text != nullptr) {
        assign(text, checkedLength(std::strlen(text)));
    }
}

kovo_string::kovo_string(const kovo_string& other)
    : text_(nullptr), length_(0), verbatim_(nullptr) {
    assign(other.c_str(), other.length_);
    verbatim::copy(*this, other.verbatim_);
}

kovo_string::kovo_string(kovo_string&& other) noexcept
    : text_(other.text_), length_(other.length_), verbatim_(other.verbatim_) {
    other.text_ = nullptr;
    other.length_ = 0;
    other.verbatim_ = nullptr;
}

kovo_string::~kovo_string() {
    delete[] text_;
    delete verbatim_;
}

// Builds the new text before the old one is released, so a source that points
// into this string's own text stays valid while it is copied.
void kovo_string::assign(const char* text, unsigned length) {
    char* fresh = nullptr;
    if (length > 0) {
        fresh = new char[length + 1];
        std::memcpy(fresh, text, length);
        fresh[length] = '\0';
    }
    delete[] text_;
    text_ = fresh;
    length_ = length;
}

kovo_string& kovo_string::operator=(const char* text) {
    if (text == nullptr) {
        assign("", 0);
    } else {
        assign(text, checkedLength(std::strlen(text)));
    }
    verbatim::copy(*this, nullptr);
    return *this;
}

kovo_string& kovo_string::operator=(const kovo_string& other) {
    if (this != &other) {
        assign(other.c_str(), other.length_);
        verbatim::copy(*this, other.verbatim_);
    }
    return *this;
}

kovo_string& kovo_string::operator=(kovo_string&& other) noexcept {
    if (this != &other) {
        delete[] text_;
        delete verbatim_;
        text_ = other.text_;
        length_ = other.length_;
        verbatim_ = other.verbatim_;
        other.text_ = nullptr;
        other.length_ = 0;
        other.verbatim_ = nullptr;
    }
    return *this;
}

kovo_string& kovo_string::operator+=(const kovo_string& other) {
    const unsigned before = length_;
    *this += other.c_str();
    verbatim::appendShifted(*this, other.verbatim_, before);
    return *this;
}

kovo_string& kovo_string::operator+=(const char* text) {
    if (text == nullptr || *text == '\0') {
        return *this;
    }
    const std::size_t added = std::strlen(text);
    const unsigned total = checkedLength(static_cast<std::size_t>(length_) + added);
    char* fresh = new char[total + 1];
    std::memcpy(fresh, c_str(), length_);
    std::memcpy(fresh + length_, text, added);  // text may be this string's own
    fresh[total] = '\0';
    delete[] text_;
    text_ = fresh;
    length_ = total;
    return *this;
}

kovo_string::operator const char*() const {
    return c_str();
}

const char* kovo_string::c_str() const {
    return text_ != nullptr ? text_ : "";
}

unsigned kovo_string::length() const {
    return length_;
}

bool kovo_string::isEmpty() const {
    return length_ == 0;
}

bool kovo_string::operator==(const kovo_string& other) const {
    return length_ == other.length_ && std::memcmp(c_str(), other.c_str(), length_) == 0;
}

bool kovo_string::operator==(const char* text) const {
    return std::strcmp(c_str(), text != nullptr ? text : "") == 0;
}

bool kovo_string::operator==(int value) const {
    return *this == kovo_string(value, ' ');
}

bool kovo_string::operator!=(const kovo_string& other) const {
    return !(*this == other);
}

bool kovo_string::operator!=(const char* text) const {
    return !(*this == text);
}

bool kovo_string::operator!=(int value) const {
    return !(*this == value);
}

kovo_string operator+(const kovo_string& a, const kovo_string& b) {
    kovo_string result(a);
    result += b;
    return result;
}

kovo_string operator+(const kovo_string& a, const char* b) {
    kovo_string result(a);
    result += b;
    return result;
}

kovo_string operator+(const char* a, const kovo_string& b) {
    kovo_string result(a);
    result += b;
    return result;
}

bool operator==(const char* a, const kovo_string& b) {
    return b == a;
}

bool operator!=(const char* a, const kovo_string& b) {
    return b != a;
}
