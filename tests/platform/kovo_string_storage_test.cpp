// How kovo_string stores its text: short texts inside the string, longer ones on
// the heap, grown by doubling; moves hand the text over; copies share the record
// of inserted text until one of them changes. None of it may show in the values.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "kovo_string.h"

namespace {

TEST(KovoStringStorage, GrowingAcrossTheInlineEndKeepsEveryByte) {
    kovo_string grown;
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        const char piece[2] = {static_cast<char>('a' + i % 26), '\0'};
        grown += piece;
        expected += piece;
        ASSERT_EQ(grown.length(), expected.size());
        ASSERT_STREQ(grown.c_str(), expected.c_str()) << "after " << i + 1 << " bytes";
    }
    // Appending itself across the end: the source moves with the buffer.
    kovo_string twice("0123456789012345678901234567890");  // 31 bytes
    twice += twice;
    EXPECT_STREQ(twice.c_str(), "01234567890123456789012345678900123456789012345678901234567890");
    kovo_string part("abcdefghijklmnopqrstuvwxyz0123456789");
    part += part.c_str() + 20;  // a tail of its own text
    EXPECT_STREQ(part.c_str(), "abcdefghijklmnopqrstuvwxyz0123456789uvwxyz0123456789");
    // A long text assigned a short one, then grown again.
    part = "x";
    part += twice;
    EXPECT_EQ(part.length(), 1 + twice.length());
    EXPECT_EQ(std::string(part.c_str()), "x" + std::string(twice.c_str()));
}

TEST(KovoStringStorage, MovesHandTheTextOverAndLeaveAnEmptyUsableString) {
    const std::string longText(200, 'L');
    for (const std::string& text : {std::string("short"), longText}) {
        kovo_string from(text.c_str());
        kovo_string to(std::move(from));
        EXPECT_EQ(std::string(to.c_str()), text);
        EXPECT_TRUE(from.isEmpty());  // NOLINT(bugprone-use-after-move): defined as empty
        EXPECT_STREQ(from.c_str(), "");
        from += "again";
        EXPECT_STREQ(from.c_str(), "again");

        kovo_string assigned("old text that is longer than the inline buffer of a string");
        assigned = std::move(to);
        EXPECT_EQ(std::string(assigned.c_str()), text);
        kovo_string& same = assigned;
        assigned = std::move(same);
        EXPECT_EQ(std::string(assigned.c_str()), text);
    }
    // A temporary on the left of + is extended, the result is the same text.
    const kovo_string name("Camera 12");
    EXPECT_STREQ((kovo_string("TP '") + name + "' '2'").c_str(), "TP 'Camera 12' '2'");
}

TEST(KovoStringStorage, VeryLongTexts) {
    std::string expected;
    kovo_string text;
    const kovo_string piece("0123456789abcdef");
    for (int i = 0; i < 65536; ++i) {
        text += piece;
    }
    expected.reserve(1 << 20);
    for (int i = 0; i < 65536; ++i) {
        expected += "0123456789abcdef";
    }
    ASSERT_EQ(text.length(), 1u << 20);
    EXPECT_EQ(std::string(text.c_str()), expected);
    kovo_string copy(text);
    EXPECT_TRUE(copy == text);
    copy.truncate(5);
    EXPECT_STREQ(copy.c_str(), "01234");
    EXPECT_EQ(text.length(), 1u << 20);
    // A marker at the very end of a long text is still found.
    kovo_string marked = text + "%1";
    EXPECT_EQ(std::string(marked.arg("end").c_str()), expected + "end");
    // Wide filling goes to the heap too.
    EXPECT_EQ(std::string(kovo_string(-7, '0', 300).c_str()), "-" + std::string(298, '0') + "7");
}

TEST(KovoStringStorage, ArgChainsAfterCopiesKeepTheirOwnRecord) {
    // "%2" inserted: a copy shares the record, and still never takes it as a marker.
    const kovo_string original = kovo_string("%1 %2").arg("%2");  // "%2 %2"
    kovo_string copy = original;
    EXPECT_STREQ(copy.arg("x").c_str(), "%2 x");
    EXPECT_STREQ(original.arg("y").c_str(), "%2 y");

    // Growing the copy's record changes nothing of the original's.
    copy += kovo_string("%1").arg("%3");  // "%2 %2%3", the last two bytes inserted
    EXPECT_STREQ(copy.arg("z").c_str(), "%2 z%3");
    EXPECT_STREQ(original.arg("y").c_str(), "%2 y");
    kovo_string appended = original;
    appended += " %3";
    EXPECT_STREQ(appended.arg("a").arg("b").c_str(), "%2 a b");
    EXPECT_STREQ(original.arg("y").c_str(), "%2 y");

    // Cutting a copy clips its record alone.
    kovo_string cut = original;
    cut.truncate(2);  // "%2", inserted
    kovo_string extended = cut + " %2";
    EXPECT_STREQ(extended.arg("q").c_str(), "%2 q");
    EXPECT_STREQ(original.arg("y").c_str(), "%2 y");

    // A chain of args on a long copy: each inserted text stays as it is.
    kovo_string chain = kovo_string(std::string(60, '-').c_str()) + " %1 %2 %3";
    const kovo_string chained = kovo_string(chain).arg("%3").arg("%1").arg("c");
    EXPECT_EQ(std::string(chained.c_str()), std::string(60, '-') + " %3 %1 c");
    EXPECT_EQ(std::string(chain.arg("1").c_str()), std::string(60, '-') + " 1 %2 %3");

    // An inserted number that starts with a marker digit stays inserted even
    // when a '%' comes to stand before it; so does an inserted '%'.
    EXPECT_STREQ(("%" + kovo_string("%1").arg(5)).arg("x").c_str(), "%5");
    EXPECT_STREQ(kovo_string("%%1").arg(7).arg("x").c_str(), "%7");
    EXPECT_STREQ((kovo_string("%1").arg("a%") + "2").arg("x").c_str(), "a%2");
    // A zero-filled number starts with '0', which never makes a marker.
    EXPECT_STREQ(("%" + kovo_string("%1 %2").arg(7, '0', 3)).arg("x").c_str(), "%007 x");

    // Assigned over and split: the parts carry no record of the whole.
    kovo_string left, right;
    kovo_string("%1=%2").arg("%2").split('=', left, right);
    EXPECT_STREQ(left.arg("k").c_str(), "k");
    EXPECT_STREQ(right.arg("v").c_str(), "v");
}

}  // namespace
