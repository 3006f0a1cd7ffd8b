// kovo_key_value and decodeKOVOString on ordinary and hostile texts.
#include <gtest/gtest.h>

#include <string>

#include "kovo_events.h"
#include "kovo_interface.h"

namespace {
std::string parts(const kovo_key_value& kv) {
    std::string joined;
    for (int i = 0; i < kv.count; ++i) {
        joined += std::string(i ? "|" : "") + kv.parts[i];
    }
    return joined;
}

std::string tokens(const decodeKOVOString& words) {
    std::string joined;
    for (int i = 0; i < words.count; ++i) {
        joined += std::string(i ? "|" : "") + "<" + words.tokens[i] + ">";
    }
    return joined;
}

std::string repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}
}  // namespace

TEST(KeyValue, SplitsKeyPartsAndValue) {
    struct Case {
        const char* text;
        const char* key;
        const char* parts;
        bool hasValue;
        const char* value;
    } cases[] = {
        {"return=all", "return", "", true, "all"},
        {"index=3", "index", "", true, "3"},
        {"_events", "_events", "", false, ""},
        {"a.b.d=v", "a", "b|d", true, "v"},
        {"a.b=v.w=x", "a", "b", true, "v.w=x"},  // a "." or "=" after the "=" is the value's
        {"=5", "", "", true, "5"},
        {".x", "", "x", false, ""},
        {"a..b", "a", "|b", false, ""},
        {"key=", "key", "", true, ""},
        {"", "", "", false, ""},
    };
    for (const Case& c : cases) {
        const kovo_key_value kv(c.text);
        EXPECT_STREQ(kv.key, c.key) << c.text;
        EXPECT_EQ(parts(kv), c.parts) << c.text;
        EXPECT_EQ(kv.hasValue, c.hasValue) << c.text;
        EXPECT_STREQ(kv.value, c.value) << c.text;
    }
}

TEST(KeyValue, NullTextIsTheEmptyRecordWithNoNullPointers) {
    const kovo_key_value kv(nullptr);
    EXPECT_EQ(kv.buffer, nullptr);
    EXPECT_EQ(kv.count, 0);
    EXPECT_FALSE(kv.hasValue);
    ASSERT_NE(kv.key, nullptr);
    ASSERT_NE(kv.value, nullptr);
    EXPECT_STREQ(kv.key, "");
    for (const char* part : kv.parts) {
        ASSERT_NE(part, nullptr);
        EXPECT_STREQ(part, "");
    }
    const kovo_parent_query query(&kv);
    EXPECT_STREQ(query.key().c_str(), "");
    EXPECT_STREQ(query.value().c_str(), "");
}

TEST(KeyValue, StopsRightAfterThe32ndDot) {
    // 33 dots: the 32nd part holds the rest, the 33rd dot and the "=" included.
    const std::string text = "k" + repeated(".p", 31) + ".last.more=v";
    const kovo_key_value kv(text.c_str());
    EXPECT_EQ(kv.count, kovo_key_value::maxParts);
    EXPECT_STREQ(kv.key, "k");
    EXPECT_STREQ(kv.parts[30], "p");
    EXPECT_STREQ(kv.parts[31], "last.more=v");
    EXPECT_FALSE(kv.hasValue);
    EXPECT_STREQ(kv.value, "");
}

TEST(KeyValue, OwnsACopyOfTheText) {
    char text[] = "a.b=c";
    const kovo_key_value kv(text);
    text[0] = 'X';
    EXPECT_STREQ(kv.key, "a");
    EXPECT_NE(kv.buffer, text);
}

TEST(DecodeKovoString, SplitsWordsAndQuotedWords) {
    struct Case {
        const char* text;
        const char* tokens;
    } cases[] = {
        {"12 34", "<12>|<34>"},
        {"a 'x y' b", "<a>|<x y>|<b>"},
        {"a '' b", "<a>|<>|<b>"},
        {" x", "<>|<x>"},
        {"  ", "<>"},
        {"'ab' c", "<>|<ab>|<c>"},
        {"a  b", "<a>|<b>"},
        {"a'b c'd", "<a>|<b c>|<d>"},
        {"'unclosed quote", "<>|<unclosed quote>"},
        {"one", "<one>"},
    };
    for (const Case& c : cases) {
        const decodeKOVOString words(c.text, '\'');
        EXPECT_EQ(tokens(words), c.tokens) << c.text;
    }
}

TEST(DecodeKovoString, NullAndEmptyTextsHaveNoTokens) {
    for (const char* text : {static_cast<const char*>(nullptr), ""}) {
        const decodeKOVOString words(text, '\'');
        EXPECT_EQ(words.count, 0);
        EXPECT_EQ(words.buffer, nullptr);
        for (const char* token : words.tokens) {
            ASSERT_NE(token, nullptr);
            EXPECT_STREQ(token, "");
        }
    }
}

TEST(DecodeKovoString, KeepsAtMost32WordsAndDropsTheRest) {
    std::string text;
    for (int i = 1; i <= 40; ++i) {
        text += (i > 1 ? " w" : "w") + std::to_string(i);
    }
    const decodeKOVOString words(text.c_str(), '\'');
    EXPECT_EQ(words.count, decodeKOVOString::maxTokens);
    EXPECT_STREQ(words.tokens[0], "w1");
    EXPECT_STREQ(words.tokens[31], "w32");  // cut off cleanly, not running into w33

    // Empty quoted words count too.
    const std::string empties = repeated("'' ", 40);
    const decodeKOVOString quoted(empties.c_str(), '\'');
    EXPECT_EQ(quoted.count, decodeKOVOString::maxTokens);
    EXPECT_STREQ(quoted.tokens[31], "");
}

TEST(DecodeKovoString, QuoteCharacterIsTheCallersChoice) {
    const decodeKOVOString words("a \"b c\" 'd e'", '"');
    EXPECT_EQ(tokens(words), "<a>|<b c>|<'d>|<e'>");
}
