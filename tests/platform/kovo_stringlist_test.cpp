#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kovo_string.h"

namespace {

std::vector<std::string> entriesOf(const kovo_stringlist& list) {
    std::vector<std::string> out;
    for (const kovo_string& entry : list) {
        out.emplace_back(entry.c_str());
    }
    return out;
}

using Entries = std::vector<std::string>;

TEST(KovoStringlist, SplitsAtEverySeparator) {
    EXPECT_EQ((Entries{""}), entriesOf(kovo_stringlist("", ',')));
    EXPECT_EQ((Entries{"a", "", "b"}), entriesOf(kovo_stringlist("a,,b", ',')));
    EXPECT_EQ((Entries{"a", ""}), entriesOf(kovo_stringlist("a,", ',')));
    EXPECT_EQ((Entries{"", "a"}), entriesOf(kovo_stringlist(",a", ',')));
    EXPECT_EQ((Entries{"12", "W10", "13", "XP"}), entriesOf(kovo_stringlist("12,W10,13,XP", ',')));
    EXPECT_EQ((Entries{"a,b"}), entriesOf(kovo_stringlist("a,b", ';')));
}

TEST(KovoStringlist, FromStringReplacesEntries) {
    kovo_stringlist list("x,y,z", ',');
    list.fromString("1|2", '|');
    EXPECT_EQ(2, list.count());
    EXPECT_EQ((Entries{"1", "2"}), entriesOf(list));
}

TEST(KovoStringlist, ToStringJoins) {
    kovo_stringlist list;
    EXPECT_EQ(0, list.count());
    EXPECT_STREQ("", list.toString(',').c_str());
    list << "a"
         << ""
         << "c";
    EXPECT_STREQ("a,,c", list.toString(',').c_str());
    EXPECT_STREQ("a,,b,", kovo_stringlist("a,,b,", ',').toString(',').c_str());
}

TEST(KovoStringlist, IndexOutOfRangeGivesEmpty) {
    const kovo_stringlist list("a,b", ',');
    EXPECT_STREQ("a", list[0].c_str());
    EXPECT_STREQ("b", list[1].c_str());
    EXPECT_STREQ("", list[2].c_str());
    EXPECT_STREQ("", list[-1].c_str());
    EXPECT_STREQ("", list[INT_MAX].c_str());
    EXPECT_STREQ("", list[INT_MIN].c_str());
    EXPECT_STREQ("", kovo_stringlist()[0].c_str());
}

TEST(KovoStringlist, CopiesAreIndependent) {
    kovo_stringlist a("1,2", ',');
    kovo_stringlist b(a);
    b << "3";
    kovo_stringlist c;
    c = b;
    c = c;
    a.fromString("9", ',');
    EXPECT_EQ((Entries{"9"}), entriesOf(a));
    EXPECT_EQ((Entries{"1", "2", "3"}), entriesOf(b));
    EXPECT_EQ((Entries{"1", "2", "3"}), entriesOf(c));
}

TEST(KovoStringlist, IteratorVisitsInOrder) {
    const kovo_stringlist list("p,q", ',');
    kovo_stringlistIterator it = list.begin();
    ASSERT_TRUE(it != list.end());
    EXPECT_STREQ("p", (*it).c_str());
    ++it;
    ASSERT_TRUE(it != list.end());
    EXPECT_STREQ("q", (*it).c_str());
    ++it;
    EXPECT_FALSE(it != list.end());
    // Iterators of distinct lists never compare equal.
    const kovo_stringlist other("p,q", ',');
    EXPECT_TRUE(list.begin() != other.begin());
}

}  // namespace
