// Text operations of kovo_string: marker replacement, splitting, case, truncation.
#include <string>

#include "kovo_string.h"
#include "kovo_string_verbatim.h"
#include "kovo_utf8.h"

char kovo_string::verbatim::markerAt(const kovo_string& s, unsigned i) {
    const char* text = s.c_str();
    if (i + 1 >= s.length_ || text[i] != '%' || text[i + 1] < '1' || text[i + 1] > '9') {
        return 0;
    }
    if (s.verbatim_ != nullptr && (s.verbatim_->covers(i) || s.verbatim_->covers(i + 1))) {
        return 0;
    }
    return text[i + 1];
}

kovo_string kovo_string::arg(const kovo_string& a) const {
    const char* text = c_str();
    char lowest = 0;
    for (unsigned i = 0; i < length_; ++i) {
        const char marker = verbatim::markerAt(*this, i);
        if (marker != 0 && (lowest == 0 || marker < lowest)) {
            lowest = marker;
        }
    }
    if (lowest == 0) {
        return *this;
    }
    // One pass over the original text: what is inserted is never looked at
    // again, and is recorded so that later calls skip it too.
    std::string result;
    result.reserve(length_ + a.length());
    verbatim inserted;
    for (unsigned i = 0; i < length_; ++i) {
        const auto out = static_cast<unsigned>(result.size());
        if (verbatim::markerAt(*this, i) == lowest) {
            result.append(a.c_str(), a.length());
            inserted.append(out, out + a.length());
            ++i;
        } else {
            result.push_back(text[i]);
            if (verbatim_ != nullptr && verbatim_->covers(i)) {
                inserted.append(out, out + 1);
            }
        }
    }
    kovo_string done(result.c_str());
    verbatim::adopt(done, std::move(inserted));
    return done;
}

kovo_string kovo_string::arg(int value, char fill, unsigned width, int base) const {
    return arg(kovo_string(value, fill, width, base));
}

void kovo_string::split(char separator, kovo_string& left, kovo_string& right) const {
    // Built aside first: left or right may be this very string.
    const std::string text(c_str(), length_);
    const std::size_t at = text.find(separator);
    if (at == std::string::npos) {
        const kovo_string whole(*this);
        right = "";
        left = whole;
        return;
    }
    const std::string before = text.substr(0, at);
    const std::string after = text.substr(at + 1);
    left = before.c_str();
    right = after.c_str();
}

bool kovo_string::startsWith(const kovo_string& prefix) const {
    return prefix.length_ <= length_ &&
           std::char_traits<char>::compare(c_str(), prefix.c_str(), prefix.length_) == 0;
}

kovo_string kovo_string::lower() const {
    kovo_string result(*this);
    for (unsigned i = 0; i < result.length_; ++i) {
        char& c = result.text_[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

void kovo_string::truncate(unsigned n) {
    if (n >= length_) {
        return;
    }
    const auto cut = static_cast<unsigned>(kovo_os::utf8CutPoint(text_, n));
    const std::string kept(text_, cut);
    assign(kept.c_str(), cut);
    verbatim::clip(*this, cut);
}
