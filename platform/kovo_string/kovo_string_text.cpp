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

namespace {

// The next '%' at or after position from, or length when there is none: markers
// are looked for only there, not at every byte.
unsigned nextPercent(const char* text, unsigned from, unsigned length) {
    if (from >= length) {
        return length;
    }
    const void* found = std::memchr(text + from, '%', length - from);
    return found == nullptr ? length
                            : static_cast<unsigned>(static_cast<const char*>(found) - text);
}

}  // namespace

kovo_string kovo_string::arg(const kovo_string& a) const {
    char lowest = 0;
    unsigned count = 0;
    for (unsigned i = nextPercent(text_, 0, length_); i < length_;
         i = nextPercent(text_, i + 1, length_)) {
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
    // a '%' can give a later arg a marker only through a first digit 1..9 that
    // an original '%' comes to precede: not when it follows a byte that no arg
    // can take away (neither a '%' nor a digit, which may belong to a marker)
    // and nothing can be put in front of. Such texts (most inserted numbers and
    // names) need no record.
    const bool holdsPercent = std::memchr(a.text_, '%', a.length_) != nullptr;
    const bool startsWithDigit = a.length_ > 0 && a.text_[0] >= '1' && a.text_[0] <= '9';
    const auto needsRecord = [&](unsigned out) {
        if (holdsPercent) {
            return true;
        }
        if (!startsWithDigit) {
            return false;
        }
        const char before = out > 0 ? done.text_[out - 1] : '%';
        return before == '%' || (before >= '0' && before <= '9');
    };
    std::unique_ptr<verbatim> inserted;
    const auto record = [&inserted](unsigned begin, unsigned end) {
        if (!inserted) {
            inserted.reset(new verbatim);
        }
        inserted->append(begin, end);
    };
    // Text inserted by earlier calls moves along with the run it lies in (no
    // such range holds a marker, so none crosses a run's end).
    std::size_t carried = 0;
    const auto copyRun = [&](unsigned begin, unsigned end) {
        const unsigned out = done.length_;
        done.append(text_ + begin, end - begin);
        while (verbatim_ != nullptr && carried < verbatim_->ranges.size() &&
               verbatim_->ranges[carried].first < end) {
            const auto& r = verbatim_->ranges[carried++];
            record(out + (r.first - begin), out + (std::min(r.second, end) - begin));
        }
    };
    unsigned run = 0;  // start of the original text not yet copied
    for (unsigned i = nextPercent(text_, 0, length_); i < length_;
         i = nextPercent(text_, i + 1, length_)) {
        if (verbatim::markerAt(*this, i) == lowest) {
            copyRun(run, i);
            const unsigned out = done.length_;
            done.append(a.text_, a.length_);
            if (needsRecord(out)) {
                record(out, done.length_);
            }
            run = i + 2;
            ++i;
        }
    }
    copyRun(run, length_);
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
