#include "kovo_string_verbatim.h"

#include <algorithm>

void kovo_string::verbatim::append(unsigned begin, unsigned end) {
    if (begin >= end) {
        return;
    }
    if (!ranges.empty() && ranges.back().second >= begin) {
        ranges.back().second = std::max(ranges.back().second, end);
    } else {
        ranges.emplace_back(begin, end);
    }
}

bool kovo_string::verbatim::covers(unsigned position) const {
    // The first range that ends after position is the only one that may hold it.
    const auto it = std::upper_bound(
        ranges.begin(), ranges.end(), position,
        [](unsigned p, const std::pair<unsigned, unsigned>& r) { return p < r.second; });
    return it != ranges.end() && it->first <= position;
}

void kovo_string::verbatim::copy(kovo_string& to, const verbatim* from) {
    if (from == nullptr || from->ranges.empty()) {
        delete to.verbatim_;
        to.verbatim_ = nullptr;
        return;
    }
    verbatim* fresh = new verbatim(*from);
    delete to.verbatim_;
    to.verbatim_ = fresh;
}

void kovo_string::verbatim::appendShifted(kovo_string& to, const verbatim* from, unsigned length) {
    if (from == nullptr || from->ranges.empty()) {
        return;
    }
    // from may be to's own record (s += s): read it all before writing.
    const std::vector<std::pair<unsigned, unsigned>> added = from->ranges;
    if (to.verbatim_ == nullptr) {
        to.verbatim_ = new verbatim;
    }
    for (const auto& r : added) {
        to.verbatim_->append(r.first + length, r.second + length);
    }
}

void kovo_string::verbatim::clip(kovo_string& s, unsigned length) {
    if (s.verbatim_ == nullptr) {
        return;
    }
    auto& ranges = s.verbatim_->ranges;
    while (!ranges.empty() && ranges.back().first >= length) {
        ranges.pop_back();
    }
    if (!ranges.empty() && ranges.back().second > length) {
        ranges.back().second = length;
    }
    if (ranges.empty()) {
        delete s.verbatim_;
        s.verbatim_ = nullptr;
    }
}

void kovo_string::verbatim::adopt(kovo_string& s, verbatim&& fresh) {
    delete s.verbatim_;
    s.verbatim_ = fresh.ranges.empty() ? nullptr : new verbatim(std::move(fresh));
}
