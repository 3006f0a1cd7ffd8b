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

void kovo_string::verbatim::release(verbatim* record) {
    if (record != nullptr && record->users.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        delete record;
    }
}

kovo_string::verbatim& kovo_string::verbatim::own(kovo_string& s) {
    if (s.verbatim_ == nullptr) {
        s.verbatim_ = new verbatim;
    } else if (s.verbatim_->users.load(std::memory_order_acquire) > 1) {
        verbatim* fresh = new verbatim(*s.verbatim_);
        release(s.verbatim_);
        s.verbatim_ = fresh;
    }
    return *s.verbatim_;
}

void kovo_string::verbatim::copy(kovo_string& to, const verbatim* from) {
    verbatim* shared =
        from == nullptr || from->ranges.empty() ? nullptr : const_cast<verbatim*>(from);
    if (shared == to.verbatim_) {
        return;
    }
    if (shared != nullptr) {
        shared->users.fetch_add(1, std::memory_order_relaxed);
    }
    release(to.verbatim_);
    to.verbatim_ = shared;
}

void kovo_string::verbatim::appendShifted(kovo_string& to, const verbatim* from, unsigned length) {
    if (from == nullptr || from->ranges.empty()) {
        return;
    }
    if (from == to.verbatim_) {
        // s += s: read the ranges before they grow.
        const std::vector<std::pair<unsigned, unsigned>> added = from->ranges;
        verbatim& record = own(to);
        for (const auto& r : added) {
            record.append(r.first + length, r.second + length);
        }
        return;
    }
    verbatim& record = own(to);
    for (const auto& r : from->ranges) {
        record.append(r.first + length, r.second + length);
    }
}

void kovo_string::verbatim::clip(kovo_string& s, unsigned length) {
    if (s.verbatim_ == nullptr) {
        return;
    }
    if (!s.verbatim_->ranges.empty() && s.verbatim_->ranges.back().second <= length) {
        return;  // nothing lies past the cut
    }
    auto& ranges = own(s).ranges;
    while (!ranges.empty() && ranges.back().first >= length) {
        ranges.pop_back();
    }
    if (!ranges.empty() && ranges.back().second > length) {
        ranges.back().second = length;
    }
    if (ranges.empty()) {
        release(s.verbatim_);
        s.verbatim_ = nullptr;
    }
}

void kovo_string::verbatim::adopt(kovo_string& s, verbatim* fresh) {
    release(s.verbatim_);
    if (fresh != nullptr && fresh->ranges.empty()) {
        delete fresh;
        fresh = nullptr;
    }
    s.verbatim_ = fresh;
}
