// The host's shared text helpers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "kovo_script_test.h"
#include "numbers.h"
#include "text.h"
#include "text_file.h"

using namespace kovo_host;

TEST(CommonText, LinesEndInLfOrCrlf) {
    EXPECT_EQ(textLines("a\nb\r\n\nc"), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(textLines("a\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(textLines("\n"), (std::vector<std::string>{""}));
    EXPECT_TRUE(textLines("").empty());
    // Only the CR of a line end goes.
    EXPECT_EQ(textLines("a\rb\r\n"), (std::vector<std::string>{"a\rb"}));
}

TEST(CommonText, PartsBetweenSeparators) {
    EXPECT_EQ(splitAt("a,,b", ','), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitAt("", ','), (std::vector<std::string>{""}));
    EXPECT_EQ(splitAt("a,", ','), (std::vector<std::string>{"a", ""}));
}

TEST(CommonText, CaseOfAsciiLettersOnly) {
    EXPECT_EQ(lowerCase("LocalHost:8080"), "localhost:8080");
    EXPECT_EQ(lowerCase("\xc3\x89T\xc3\x89"), "\xc3\x89t\xc3\x89");  // UTF-8 bytes stay
    EXPECT_TRUE(containsIgnoringCase("Guest Camera 2", "CAMERA"));
    EXPECT_TRUE(containsIgnoringCase("x", ""));
    EXPECT_FALSE(containsIgnoringCase("Guest", "guests"));
}

TEST(CommonText, DigitsOnlyAndWithinEighteen) {
    long long value = -1;
    EXPECT_TRUE(parseDigits("0", value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(parseDigits("999999999999999999", value));
    EXPECT_EQ(value, 999999999999999999LL);
    for (const char* bad : {"", "-1", "+1", "1x", " 1", "1000000000000000000"}) {
        EXPECT_FALSE(parseDigits(bad, value)) << bad;
    }
}

TEST(CommonText, WholeFileAsItStands) {
    kovo_host_testing::temp_directory dir;
    const std::string path = (std::filesystem::path(dir.path()) / "f.txt").string();
    // Line ends and zero bytes as they stand.
    const std::string bytes = std::string("a\r\nb") + '\0' + "d";
    std::ofstream(path, std::ios::binary) << bytes;
    std::string text = "old";
    ASSERT_TRUE(readWholeFile(path, text));
    EXPECT_EQ(text, bytes);
    EXPECT_FALSE(readWholeFile(path + ".missing", text));
    EXPECT_TRUE(text.empty());
}
