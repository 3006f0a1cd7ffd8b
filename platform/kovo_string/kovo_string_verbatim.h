// Inside the library only: the record of which bytes of a kovo_string arg has
// inserted, so that no later arg takes a marker out of an inserted text.
#pragma once

#include <atomic>
#include <utility>
#include <vector>

#include "kovo_string.h"

struct kovo_string::verbatim {
    // Sorted, disjoint, non-touching [begin, end) byte ranges.
    std::vector<std::pair<unsigned, unsigned>> ranges;
    // The strings sharing this record; it changes only while it has one.
    std::atomic<unsigned> users{1};

    verbatim() = default;
    verbatim(const verbatim& other) : ranges(other.ranges) {}
    verbatim& operator=(const verbatim&) = delete;

    // Adds [begin, end) to ranges that all lie before it, joining a touching one.
    void append(unsigned begin, unsigned end);
    // True when the byte at position lies inside an inserted range.
    bool covers(unsigned position) const;

    // The marker digit ('1'..'9') starting at position i of s, or 0 when there is
    // none there: a marker is a '%' and a digit that are both original text.
    static char markerAt(const kovo_string& s, unsigned i);

    // to shares the ranges of from (none when from is null).
    static void copy(kovo_string& to, const verbatim* from);
    // to, whose old text was length bytes long, has had from's text appended.
    static void appendShifted(kovo_string& to, const verbatim* from, unsigned length);
    // Drops whatever lies at or past length.
    static void clip(kovo_string& s, unsigned length);
    // s takes the record fresh (null or empty: none), which it alone uses.
    static void adopt(kovo_string& s, verbatim* fresh);
    // One string fewer uses record; the last one deletes it.
    static void release(verbatim* record);

  private:
    // s's record, made its own first when other strings share it.
    static verbatim& own(kovo_string& s);
};
