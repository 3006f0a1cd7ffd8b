#include <climits>
#include <cstring>

#include <gtest/gtest.h>

#include "kovo_string.h"

namespace {

TEST(KovoString, ValueSemantics) {
    kovo_string empty;
    EXPECT_STREQ("", empty.c_str());
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_STREQ("", kovo_string(static_cast<const char*>(nullptr)).c_str());

    kovo_string a("abc");
    kovo_string b(a);
    b += "def";
    EXPECT_STREQ("abc", a.c_str());
    EXPECT_STREQ("abcdef", static_cast<const char*>(b));
    EXPECT_EQ(6u, b.length());

    kovo_string moved(std::move(b));
    EXPECT_STREQ("abcdef", moved.c_str());
    EXPECT_STREQ("", b.c_str());  // NOLINT: the moved-from string stays usable
    b = "again";
    EXPECT_STREQ("again", b.c_str());

    // Sources inside the string itself.
    moved += moved;
    EXPECT_STREQ("abcdefabcdef", moved.c_str());
    moved = moved.c_str() + 6;
    EXPECT_STREQ("abcdef", moved.c_str());
    moved = moved;
    EXPECT_STREQ("abcdef", moved.c_str());
    moved = static_cast<const char*>(nullptr);
    EXPECT_TRUE(moved.isEmpty());

    EXPECT_STREQ("x-y", (kovo_string("x") + "-" + kovo_string("y")).c_str());
    EXPECT_STREQ("<y", ("<" + kovo_string("y")).c_str());
}

TEST(KovoString, LengthCountsBytes) {
    EXPECT_EQ(3u, kovo_string("\xC3\xA9t").length());  // "ét"
}

TEST(KovoString, NumberConstructor) {
    EXPECT_STREQ("1", kovo_string(1, ' ').c_str());
    EXPECT_STREQ("07", kovo_string(7, '0', 2).c_str());
    EXPECT_STREQ("007", kovo_string(7, '0', 3).c_str());
    EXPECT_STREQ("1234", kovo_string(1234, '0', 3).c_str());  // never cut to width
    EXPECT_STREQ("  7", kovo_string(7, ' ', 3).c_str());
    EXPECT_STREQ("0", kovo_string(0, '0', 0).c_str());
    EXPECT_STREQ("-5", kovo_string(-5, '0', 0).c_str());
    EXPECT_STREQ("-05", kovo_string(-5, '0', 3).c_str());
    EXPECT_STREQ("  -5", kovo_string(-5, ' ', 4).c_str());
    EXPECT_STREQ("-2147483648", kovo_string(INT_MIN, ' ').c_str());
    EXPECT_STREQ("2147483647", kovo_string(INT_MAX, ' ').c_str());
    EXPECT_STREQ("ff", kovo_string(255, ' ', 0, 16).c_str());
    EXPECT_STREQ("00101", kovo_string(5, '0', 5, 2).c_str());
    EXPECT_STREQ("z", kovo_string(35, ' ', 0, 36).c_str());
    EXPECT_STREQ("-80000000", kovo_string(INT_MIN, ' ', 0, 16).c_str());
    EXPECT_STREQ("255", kovo_string(255, ' ', 0, 1).c_str());  // bad base: decimal
    EXPECT_STREQ("255", kovo_string(255, ' ', 0, 37).c_str());
}

TEST(KovoString, ToIntReadsTheLeadingNumber) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"", 0},
        {"-", 0},
        {"+", 0},
        {"x", 0},
        {"12a", 12},
        {"  42", 42},
        {"\t-7", -7},
        {"+9", 9},
        {"- 5", 0},
        {"a12", 0},
        {"007", 7},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"-99999999999999999999", INT_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value, kovo_string(c.text).toInt()) << '"' << c.text << '"';
        EXPECT_EQ(c.value, static_cast<int>(kovo_string(c.text))) << '"' << c.text << '"';
    }
}

TEST(KovoString, FirstIntFindsTheFirstNumber) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"WS_03", 3},
        {"", 0},
        {"none", 0},
        {"-", 0},
        {"a-12b", -12},
        {"a- 12", 12},
        {"12 34", 12},
        {"x99999999999", INT_MAX},
        {"x-99999999999", INT_MIN},
        {"-2147483648", INT_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value, kovo_string(c.text).firstInt()) << '"' << c.text << '"';
    }
}

TEST(KovoString, ArgReplacesTheLowestMarker) {
    EXPECT_STREQ("a 1 b", kovo_string("a %1 b").arg("1").c_str());
    EXPECT_STREQ("x=B y=%3", kovo_string("x=%2 y=%3").arg("B").c_str());
    EXPECT_STREQ("%2 then A", kovo_string("%2 then %1").arg("A").c_str());
    // Every occurrence of that same marker.
    EXPECT_STREQ("A-A-%2", kovo_string("%1-%1-%2").arg("A").c_str());
    // Chained, as the scripts build their texts.
    EXPECT_STREQ("dev_005 db 1", kovo_string("dev_%1 db %2").arg(5, '0', 3).arg(1).c_str());
    // No marker: a plain copy.
    EXPECT_STREQ("plain % text %0", kovo_string("plain % text %0").arg("X").c_str());
    EXPECT_STREQ("end%", kovo_string("end%").arg("X").c_str());
    EXPECT_STREQ("", kovo_string().arg("X").c_str());
    EXPECT_STREQ("%X", kovo_string("%%1").arg("X").c_str());
}

TEST(KovoString, ArgNeverRescansInsertedText) {
    EXPECT_STREQ("-%1-", kovo_string("-%1-").arg("%1").c_str());
    EXPECT_STREQ("a", kovo_string("%1").arg("a").arg("b").c_str());

    // Nor does a later call on the result.
    const kovo_string name("Cam %2 %1");
    const kovo_string text = kovo_string("name=%1 index=%2").arg(name).arg(7);
    EXPECT_STREQ("name=Cam %2 %1 index=7", text.c_str());
    EXPECT_STREQ(
        "RM 5 0 12 'A%5' 0",
        kovo_string("RM %1 %2 %3 '%4' %5").arg(5).arg(0).arg(12).arg("A%5").arg(0).c_str());
    // A marker split between an inserted "%" and an original digit is none.
    EXPECT_STREQ("50%1 x", kovo_string("%11 %2").arg("50%").arg("x").c_str());
    // Inserted text inside an inserted argument stays inserted.
    const kovo_string inner = kovo_string("<%1>").arg("%2");
    EXPECT_STREQ("[<%2>] y", kovo_string("[%1] %2").arg(inner).arg("y").c_str());
    // Text inserted earlier moves with what a later call inserts before it,
    // longer or shorter than its marker, and stays inserted there.
    const kovo_string later = kovo_string("%2 %1 %9").arg("%5");  // "%2 %5 %9"
    EXPECT_STREQ("abcdef %5 Q", later.arg("abcdef").arg("Q").c_str());
    EXPECT_STREQ(" %5 Q", later.arg("").arg("Q").c_str());
    EXPECT_STREQ("%5x %5 %9", later.arg("%5x").c_str());
    EXPECT_STREQ("%5x %5 Q", later.arg("%5x").arg("Q").c_str());
    // An inserted number next to a byte that a later call takes away, or at the
    // very start, never forms a marker with an original '%' either.
    EXPECT_STREQ("%10", kovo_string("%%2%1").arg("10").arg("").arg("x").c_str());
    EXPECT_STREQ("%10", kovo_string("%%1").arg("10").arg("x").c_str());
    EXPECT_STREQ("%10", ("%" + kovo_string("%1").arg(10)).arg("x").c_str());
    EXPECT_STREQ("WS_12 x", kovo_string("WS_%1 %2").arg(12).arg("x").c_str());
}

TEST(KovoString, InsertedTextStaysVerbatimThroughCopiesAndJoins) {
    kovo_string first = kovo_string("%1").arg("%2");  // "%2", all inserted
    kovo_string copy(first);
    kovo_string assigned;
    assigned = first;
    EXPECT_STREQ("%2", copy.arg("x").c_str());
    EXPECT_STREQ("%2", assigned.arg("x").c_str());

    // Joined: the inserted part keeps its mark, the appended text has none.
    kovo_string joined = first + " %3";
    EXPECT_STREQ("%2 x", joined.arg("x").c_str());
    kovo_string prefixed = "%1 " + first;
    EXPECT_STREQ("x %2", prefixed.arg("x").c_str());
    kovo_string self = first;
    self += self;
    EXPECT_STREQ("%2%2", self.arg("x").c_str());

    // Assigning plain text forgets the mark.
    kovo_string plain = first;
    plain = "%2";
    EXPECT_STREQ("x", plain.arg("x").c_str());
    EXPECT_STREQ("x", kovo_string(first.c_str()).arg("x").c_str());

    // Truncation keeps the mark of what remains.
    kovo_string cut = kovo_string("%1 %3").arg("%2%2");  // "%2%2 %3"
    cut.truncate(4);
    EXPECT_STREQ("%2%2", cut.arg("x").c_str());
    kovo_string lowered = kovo_string("%1 %3").arg("%2").lower();
    EXPECT_STREQ("%2 x", lowered.arg("x").c_str());

    // Moved strings carry the mark along.
    kovo_string moved(std::move(first));
    EXPECT_STREQ("%2", moved.arg("x").c_str());
}

TEST(KovoString, Split) {
    kovo_string left("old"), right("old");
    kovo_string("key=value=more").split('=', left, right);
    EXPECT_STREQ("key", left.c_str());
    EXPECT_STREQ("value=more", right.c_str());

    kovo_string("noseparator").split('=', left, right);
    EXPECT_STREQ("noseparator", left.c_str());
    EXPECT_STREQ("", right.c_str());

    kovo_string("=v").split('=', left, right);
    EXPECT_STREQ("", left.c_str());
    EXPECT_STREQ("v", right.c_str());

    kovo_string("k=").split('=', left, right);
    EXPECT_STREQ("k", left.c_str());
    EXPECT_STREQ("", right.c_str());

    kovo_string().split('=', left, right);
    EXPECT_STREQ("", left.c_str());
    EXPECT_STREQ("", right.c_str());

    // Splitting into itself.
    kovo_string s("a.b.c");
    s.split('.', s, right);
    EXPECT_STREQ("a", s.c_str());
    EXPECT_STREQ("b.c", right.c_str());
    kovo_string t("a.b.c");
    t.split('.', left, t);
    EXPECT_STREQ("a", left.c_str());
    EXPECT_STREQ("b.c", t.c_str());
    kovo_string u("whole");
    u.split('.', left, u);
    EXPECT_STREQ("whole", left.c_str());
    EXPECT_STREQ("", u.c_str());
}

TEST(KovoString, StartsWithAndLower) {
    const kovo_string s("Button_12");
    EXPECT_TRUE(s.startsWith(""));
    EXPECT_TRUE(s.startsWith("Button_"));
    EXPECT_FALSE(s.startsWith("button_"));
    EXPECT_FALSE(s.startsWith("Button_123"));
    EXPECT_TRUE(kovo_string().startsWith(""));
    EXPECT_STREQ("button_12 \xC3\x89", kovo_string("BUTTON_12 \xC3\x89").lower().c_str());
    EXPECT_STREQ("Button_12", s.c_str());
}

TEST(KovoString, TruncateKeepsWholeCharacters) {
    kovo_string ascii("abcdef");
    ascii.truncate(3);
    EXPECT_STREQ("abc", ascii.c_str());
    ascii.truncate(10);
    EXPECT_STREQ("abc", ascii.c_str());
    ascii.truncate(0);
    EXPECT_STREQ("", ascii.c_str());

    struct Case {
        unsigned n;
        const char* kept;
    };
    // "a" + e-acute (2 bytes) + euro sign (3 bytes) + a 4-byte sequence.
    const char* text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5";
    const Case cases[] = {
        {1, "a"},
        {2, "a"},
        {3, "a\xC3\xA9"},
        {4, "a\xC3\xA9"},
        {5, "a\xC3\xA9"},
        {6, "a\xC3\xA9\xE2\x82\xAC"},
        {7, "a\xC3\xA9\xE2\x82\xAC"},
        {9, "a\xC3\xA9\xE2\x82\xAC"},
        {10, text},
    };
    for (const Case& c : cases) {
        kovo_string s(text);
        s.truncate(c.n);
        EXPECT_STREQ(c.kept, s.c_str()) << "n=" << c.n;
    }
    // Stray continuation bytes are not a character to protect: cut where asked.
    kovo_string stray("\x80\x80\x80\x80\x80");
    stray.truncate(2);
    EXPECT_EQ(2u, stray.length());
}

TEST(KovoString, Comparisons) {
    const kovo_string s("12");
    EXPECT_TRUE(s == kovo_string("12"));
    EXPECT_TRUE(s == "12");
    EXPECT_TRUE("12" == s);
    EXPECT_TRUE(s == 12);
    EXPECT_FALSE(s != 12);
    EXPECT_TRUE(s != 13);
    EXPECT_TRUE(kovo_string("012") != 12);  // the decimal text, not the value
    EXPECT_TRUE(kovo_string("-3") == -3);
    EXPECT_TRUE(kovo_string("0") == 0);
    EXPECT_TRUE(s != "1");
    EXPECT_TRUE("x" != s);
    EXPECT_FALSE(s == "12 ");
    EXPECT_TRUE(kovo_string() == "");
    EXPECT_TRUE(kovo_string() == static_cast<const char*>(nullptr));
    EXPECT_TRUE(kovo_string("ab") != kovo_string("abc"));
}

}  // namespace
