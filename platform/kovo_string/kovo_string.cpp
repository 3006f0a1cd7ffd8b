// Value semantics, storage, concatenation and comparison of kovo_string.
#include "kovo_string.h"

#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include "kovo_string_verbatim.h"

namespace {

unsigned checkedLength(std::size_t length) {
    if (length > std::numeric_limits<unsigned>::max() - 1u) {
        // libstdc++'s thrower of std::length_error; where exceptions are off
        // (the Microsoft-ABI build) the runtime support library stops instead.
        std::__throw_length_error("kovo_string: text too long");
    }
    return static_cast<unsigned>(length);
}

// True when text points into [begin, begin + length].
bool within(const char* text, const char* begin, unsigned length) {
    return std::less_equal<const char*>()(begin, text) &&
           std::less_equal<const char*>()(text, begin + length);
}

}  // namespace

kovo_string::kovo_string()
    : text_(inline_), length_(0), capacity_(inlineCapacity), verbatim_(nullptr) {
    inline_[0] = '\0';
}

kovo_string::kovo_string(const char* text) : kovo_string() {
    if (text != nullptr) {
        assign(text, checkedLength(std::strlen(text)));
    }
}

kovo_string::kovo_string(const kovo_string& other) : kovo_string() {
    assign(other.text_, other.length_);
    verbatim::copy(*this, other.verbatim_);
}

kovo_string::kovo_string(kovo_string&& other) noexcept : kovo_string() {
    takeBuffer(other);
    verbatim_ = other.verbatim_;
    other.verbatim_ = nullptr;
}

kovo_string::~kovo_string() {
    releaseBuffer();
    verbatim::release(verbatim_);
}

void kovo_string::releaseBuffer() {
    if (text_ != inline_) {
        delete[] text_;
    }
    text_ = inline_;
    capacity_ = inlineCapacity;
}

// Takes other's text, leaving other empty: a heap buffer changes hands, an
// inline text is copied.
void kovo_string::takeBuffer(kovo_string& other) {
    releaseBuffer();
    if (other.text_ != other.inline_) {
        text_ = other.text_;
        capacity_ = other.capacity_;
    } else {
        std::memcpy(inline_, other.inline_, other.length_ + 1);
    }
    length_ = other.length_;
    other.text_ = other.inline_;
    other.capacity_ = inlineCapacity;
    other.length_ = 0;
    other.inline_[0] = '\0';
}

void kovo_string::reserve(unsigned length) {
    if (length <= capacity_) {
        return;
    }
    checkedLength(length);
    // Doubling keeps a run of appends linear in the final length.
    unsigned capacity = capacity_ <= std::numeric_limits<unsigned>::max() / 2u - 1u
                            ? capacity_ * 2u + 1u
                            : std::numeric_limits<unsigned>::max() - 1u;
    if (capacity < length) {
        capacity = length;
    }
    char* fresh = new char[static_cast<std::size_t>(capacity) + 1];
    std::memcpy(fresh, text_, length_ + 1);
    releaseBuffer();
    text_ = fresh;
    capacity_ = capacity;
}

// text may point into this string's own text: it is read before the old
// buffer goes, or moved within the buffer that stays.
void kovo_string::assign(const char* text, unsigned length) {
    if (length <= capacity_) {
        std::memmove(text_, text, length);
    } else {
        char* fresh = new char[static_cast<std::size_t>(length) + 1];
        std::memcpy(fresh, text, length);
        releaseBuffer();
        text_ = fresh;
        capacity_ = length;
    }
    text_[length] = '\0';
    length_ = length;
}

void kovo_string::append(const char* text, unsigned length) {
    if (length == 0) {
        return;
    }
    const unsigned total = checkedLength(static_cast<std::size_t>(length_) + length);
    if (total > capacity_ && within(text, text_, length_)) {
        // Appending (part of) itself: find the text again in the grown buffer.
        const std::size_t offset = static_cast<std::size_t>(text - text_);
        reserve(total);
        text = text_ + offset;
    } else {
        reserve(total);
    }
    std::memcpy(text_ + length_, text, length);
    length_ = total;
    text_[total] = '\0';
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
        assign(other.text_, other.length_);
        verbatim::copy(*this, other.verbatim_);
    }
    return *this;
}

kovo_string& kovo_string::operator=(kovo_string&& other) noexcept {
    if (this != &other) {
        takeBuffer(other);
        verbatim::release(verbatim_);
        verbatim_ = other.verbatim_;
        other.verbatim_ = nullptr;
    }
    return *this;
}

kovo_string& kovo_string::operator+=(const kovo_string& other) {
    const unsigned before = length_;
    // other may be this string: its record is read before anything changes.
    verbatim* const added = other.verbatim_;
    append(other.text_, other.length_);
    verbatim::appendShifted(*this, added, before);
    return *this;
}

kovo_string& kovo_string::operator+=(const char* text) {
    if (text != nullptr) {
        append(text, checkedLength(std::strlen(text)));
    }
    return *this;
}

kovo_string::operator const char*() const {
    return text_;
}

const char* kovo_string::c_str() const {
    return text_;
}

unsigned kovo_string::length() const {
    return length_;
}

bool kovo_string::isEmpty() const {
    return length_ == 0;
}

bool kovo_string::operator==(const kovo_string& other) const {
    return length_ == other.length_ && std::memcmp(text_, other.text_, length_) == 0;
}

bool kovo_string::operator==(const char* text) const {
    return std::strcmp(text_, text != nullptr ? text : "") == 0;
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

kovo_string operator+(kovo_string&& a, const kovo_string& b) {
    a += b;
    return std::move(a);
}

kovo_string operator+(kovo_string&& a, const char* b) {
    a += b;
    return std::move(a);
}

bool operator==(const char* a, const kovo_string& b) {
    return b == a;
}

bool operator!=(const char* a, const kovo_string& b) {
    return b != a;
}
