// Text operations of kovo_string: marker replacement, splitting, case, truncation.
#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "kovo_string.h"
#include "kovo_string_verbatim.h"
#include "kovo_utf8.h"

char kovo_string::verbatim::markerAt(const kovo_string& s, unsigned i) {
    const char* text = s.text_;
    if (i + 1 >= s.length_ || text[i] != '%' || text[i + 1] < '1' || text[i + 1] > '9') {
        return 0;
    }
    if (s.verbatim_ != nullptr && (s.verbatim_->covers(i) || s.verbatim_->covers(i + 1))) {
        return 0;
    }
    return text[i + 1];
}

kovo_string kovo_string::arg(const kovo_string& a) const {
    char lowest = 0;
    unsigned count = 0;
    for (unsigned i = 0; i < length_; ++i) {
        const char marker = verbatim::markerAt(*this, i);
        if (marker != 0 && (lowest == 0 || marker < lowest)) {
            lowest = marker;
            count = 0;
        }
        count += marker != 0 && marker == lowest ? 1u : 0u;
    }
    if (lowest == 0) {
        return *this;
    }
    // One pass over the original text, into a buffer sized once: what is
    // inserted is never looked at again, and is recorded so that later calls
    // skip it too.
    kovo_string done;
    done.reserve(static_cast<unsigned>(
        std::min<unsigned long long>(static_cast<unsigned long long>(length_) - 2ull * count +
                                         static_cast<unsigned long long>(count) * a.length_,
                                     std::numeric_limits<unsigned>::max() - 1u)));
    // A marker is a '%' and a digit 1..9, both original. An inserted text without
    // a '%' that does not start with such a digit can never give a later arg a
    // marker, whatever comes before or after it: it needs no record (and most
    // inserted numbers and names are of that kind).
    const bool harmless = std::memchr(a.text_, '%', a.length_) == nullptr &&
                          !(a.length_ > 0 && a.text_[0] >= '1' && a.text_[0] <= '9');
    std::unique_ptr<verbatim> inserted;
    const auto record = [&inserted](unsigned begin, unsigned end) {
        if (!inserted) {
            inserted.reset(new verbatim);
        }
        inserted->append(begin, end);
    };
    unsigned run = 0;  // start of the original text not yet copied
    for (unsigned i = 0; i < length_; ++i) {
        if (verbatim::markerAt(*this, i) == lowest) {
            done.append(text_ + run, i - run);
            const unsigned out = done.length_;
            done.append(a.text_, a.length_);
            if (!harmless) {
                record(out, done.length_);
            }
            run = i + 2;
            ++i;
        } else if (verbatim_ != nullptr && verbatim_->covers(i)) {
            const unsigned out = done.length_ + (i - run);
            record(out, out + 1);
        }
    }
    done.append(text_ + run, length_ - run);
    verbatim::adopt(done, inserted.release());
    return done;
}

kovo_string kovo_string::arg(int value, char fill, unsigned width, int base) const {
    return arg(kovo_string(value, fill, width, base));
}

void kovo_string::split(char separator, kovo_string& left, kovo_string& right) const {
    const void* found = std::memchr(text_, separator, length_);
    if (found == nullptr) {
        const kovo_string whole(*this);
        right = "";
        left = whole;
        return;
    }
    // Taken aside first: left or right may be this very string.
    const kovo_string whole(*this);
    const auto at = static_cast<unsigned>(static_cast<const char*>(found) - text_);
    left.assign(whole.text_, at);
    verbatim::copy(left, nullptr);
    right.assign(whole.text_ + at + 1, whole.length_ - at - 1);
    verbatim::copy(right, nullptr);
}

bool kovo_string::startsWith(const kovo_string& prefix) const {
    return prefix.length_ <= length_ && std::memcmp(text_, prefix.text_, prefix.length_) == 0;
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
    text_[cut] = '\0';
    length_ = cut;
    verbatim::clip(*this, cut);
}
