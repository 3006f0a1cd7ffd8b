// The stored package content string, read and written.
#include "package_content_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ReadCase {
    const char* text;
    int levels;
    int video, audio, aes;
    const char* videoField;
    const char* audioField;
    const char* aesField;
};

void expectRead(const ReadCase& c) {
    SCOPED_TRACE(std::string("\"") + c.text + "\" with " + std::to_string(c.levels) + " levels");
    const PackageContent content = readPackageContent(c.text, c.levels);
    EXPECT_EQ(content.ids[PackageContent::video], c.video);
    EXPECT_EQ(content.ids[PackageContent::audio], c.audio);
    EXPECT_EQ(content.ids[PackageContent::aes], c.aes);
    EXPECT_STREQ(content.fields[PackageContent::video].c_str(), c.videoField);
    EXPECT_STREQ(content.fields[PackageContent::audio].c_str(), c.audioField);
    EXPECT_STREQ(content.fields[PackageContent::aes].c_str(), c.aesField);
}

TEST(package_content_read, three_levels) {
    const ReadCase cases[] = {
        {"12,34,7", 3, 12, 34, 7, "12", "34", "7"},
        {"-,34,-", 3, 0, 34, 0, "-", "34", "-"},
        {"-,-,-", 3, 0, 0, 0, "-", "-", "-"},
        // Too few commas: the missing fields are empty and read as no ID.
        {"12", 3, 12, 0, 0, "12", "", ""},
        {"", 3, 0, 0, 0, "", "", ""},
        // The last level's field is the whole rest; its ID is the leading number.
        {"12,34,7,9", 3, 12, 34, 7, "12", "34", "7,9"},
        // Each field reads as its number; 0 or less is an empty level.
        {"0,-3,5", 3, 0, -3, 5, "0", "-3", "5"},
        {"x,34,7", 3, 0, 34, 7, "x", "34", "7"},
    };
    for (const ReadCase& c : cases) {
        expectRead(c);
    }
}

TEST(package_content_read, two_levels) {
    const ReadCase cases[] = {
        {"12,34", 2, 12, 34, 0, "12", "34", ""},
        {"-,34", 2, 0, 34, 0, "-", "34", ""},
        {"12,-", 2, 12, 0, 0, "12", "-", ""},
        // A three-level string: the audio field is the whole rest, shown as it
        // is; its ID is the leading number of that rest.
        {"12,34,7", 2, 12, 34, 0, "12", "34,7", ""},
        {"12,-,7", 2, 12, 0, 0, "12", "-,7", ""},
        {"12", 2, 12, 0, 0, "12", "", ""},
    };
    for (const ReadCase& c : cases) {
        expectRead(c);
    }
}

TEST(package_content_read, unsupported_level_counts_read_nothing) {
    for (int levels : {-1, 0, 1, 4}) {
        expectRead({"12,34,7", levels, 0, 0, 0, "", "", ""});
    }
}

TEST(package_content_read, huge_numbers_saturate) {
    const PackageContent content = readPackageContent("99999999999,1,1", 3);
    EXPECT_EQ(content.ids[PackageContent::video], 2147483647);
}

TEST(package_content_write, forms) {
    EXPECT_STREQ(writePackageContent(12, 34, 7, 3).c_str(), "12,34,7");
    EXPECT_STREQ(writePackageContent(12, 0, 7, 3).c_str(), "12,-,7");
    EXPECT_STREQ(writePackageContent(0, 0, 0, 3).c_str(), "-,-,-");
    EXPECT_STREQ(writePackageContent(-1, -1, -1, 3).c_str(), "-,-,-");
    EXPECT_STREQ(writePackageContent(12, 34, 7, 2).c_str(), "12,34");
    EXPECT_STREQ(writePackageContent(0, 34, 0, 2).c_str(), "-,34");
    EXPECT_STREQ(writePackageContent(0, 0, 0, 2).c_str(), "-,-");
    // Plain decimal, never zero-filled.
    EXPECT_STREQ(writePackageContent(7, 100, 1, 3).c_str(), "7,100,1");
}

TEST(package_content_write, stored_strings_round_trip) {
    const char* three[] = {"12,34,7", "-,34,7", "12,-,7", "12,34,-", "-,-,-", "1,128,32"};
    for (const char* text : three) {
        const PackageContent c = readPackageContent(text, 3);
        EXPECT_STREQ(writePackageContent(c.ids[0], c.ids[1], c.ids[2], 3).c_str(), text);
    }
    const char* two[] = {"12,34", "-,34", "12,-", "-,-"};
    for (const char* text : two) {
        const PackageContent c = readPackageContent(text, 2);
        EXPECT_STREQ(writePackageContent(c.ids[0], c.ids[1], c.ids[2], 2).c_str(), text);
    }
}

TEST(package_content_write, fields_the_area_lacks_are_dropped) {
    // Written back, a string with more fields than the area has levels keeps
    // only the area's levels.
    const PackageContent two = readPackageContent("12,34,7", 2);
    EXPECT_STREQ(writePackageContent(two.ids[0], two.ids[1], two.ids[2], 2).c_str(), "12,34");
    const PackageContent three = readPackageContent("12,34,7,9", 3);
    EXPECT_STREQ(writePackageContent(three.ids[0], three.ids[1], three.ids[2], 3).c_str(),
                 "12,34,7");
    // A negative ID is an empty level.
    const PackageContent negative = readPackageContent("0,-3,5", 3);
    EXPECT_STREQ(writePackageContent(negative.ids[0], negative.ids[1], negative.ids[2], 3).c_str(),
                 "-,-,5");
}

}  // namespace
