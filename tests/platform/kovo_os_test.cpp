#include <cstdlib>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "debug_output_capture.h"
#include "kovo_ini_reader.h"
#include "kovo_os.h"
#include "kovo_os_host.h"
#include "temp_dir.h"

namespace {

TEST(KovoOsDebugOutput, WritesTextUnchangedWithoutLineEnd) {
    debug_output_capture capture;
    kovo_os::debugOutput("first");
    kovo_os::debugOutput(" second\n");
    kovo_os::debugOutput("");
    kovo_os::debugOutput(nullptr);
    const std::string big(100000, 'x');  // written whole, however many calls it takes
    kovo_os::debugOutput(big.c_str());
    EXPECT_EQ("first second\n" + big, capture.text());
}

// The host's capture nests: the one begun last catches until it ends, then the
// outer one catches again; nothing is lost or caught twice.
TEST(KovoOsDebugOutput, TheCaptureBegunLastCatchesUntilItEnds) {
    kovo_os::debug_capture outer;
    ASSERT_TRUE(outer.begin());
    kovo_os::debugOutput("a");
    {
        kovo_os::debug_capture inner;
        ASSERT_TRUE(inner.begin());
        kovo_os::debugOutput("b");
        EXPECT_EQ("b", inner.drain());
        kovo_os::debugOutput("c");
        inner.end();
        EXPECT_EQ("c", inner.drain());
    }
    kovo_os::debugOutput("d");
    EXPECT_EQ("ad", outer.drain());
    outer.end();
}

TEST(KovoOsEnvironment, SetEmptyAndUnset) {
    std::string value = "untouched";
    kovo_os::unsetEnvironment("KOVO_OS_TEST_VAR");
    EXPECT_FALSE(kovo_os::environmentValue("KOVO_OS_TEST_VAR", value));
    EXPECT_EQ("untouched", value);
    kovo_os::setEnvironment("KOVO_OS_TEST_VAR", "");
    EXPECT_TRUE(kovo_os::environmentValue("KOVO_OS_TEST_VAR", value));
    EXPECT_EQ("", value);
    kovo_os::setEnvironment("KOVO_OS_TEST_VAR", "12a");
    EXPECT_TRUE(kovo_os::environmentValue("KOVO_OS_TEST_VAR", value));
    EXPECT_EQ("12a", value);
    kovo_os::unsetEnvironment("KOVO_OS_TEST_VAR");
    EXPECT_FALSE(kovo_os::environmentValue(nullptr, value));
}

class KovoOsIni : public ::testing::Test {
  protected:
    std::string read(const std::string& section, const std::string& key,
                     const std::string& fallback = "0", std::size_t maxChars = 255) {
        return kovo_os::readIniString(file_.string(), section, key, fallback, maxChars);
    }
    void write(const std::string& text) { file_ = dir_.write("dev_005.ini", text); }

    temp_dir dir_;
    std::filesystem::path file_ = dir_.path() / "dev_005.ini";
};

TEST_F(KovoOsIni, NamesAreCaseInsensitiveAndValuesTrimmed) {
    write("[Database]\nDatabaseSize_0=4096\n  databasesize_1 =  12 \t\n[OTHER]\nx=1\n");
    EXPECT_EQ("4096", read("Database", "DatabaseSize_0"));
    EXPECT_EQ("4096", read("DATABASE", "databasesize_0"));
    EXPECT_EQ("12", read("database", "DatabaseSize_1"));
    EXPECT_EQ("1", read("other", "X"));
    EXPECT_EQ("", read("Database", "Empty", ""));
}

TEST_F(KovoOsIni, FirstMatchWins) {
    write("[Database]\nSize=1\nSize=2\n[Other]\n[DATABASE]\nSize=3\nOnlyLater=4\n");
    EXPECT_EQ("1", read("Database", "Size"));
    // Only the first section of a name is read; a later duplicate is never seen.
    EXPECT_EQ("0", read("Database", "OnlyLater"));
    write("[Other]\nSize=5\n[Database]\nSize=6\n");
    EXPECT_EQ("6", read("Database", "Size"));
}

TEST_F(KovoOsIni, DefaultWhenFileSectionOrKeyIsMissing) {
    EXPECT_EQ("0", read("Database", "DatabaseSize_0"));  // no file yet
    write("[Device]\nDatabaseSize_0=5\n[Database]\nDatabaseSize_1=6\n");
    EXPECT_EQ("0", read("Database", "DatabaseSize_0"));  // key only in another section
    EXPECT_EQ("dflt", read("Missing", "DatabaseSize_1", "dflt"));
    EXPECT_EQ("0", read("Databas", "DatabaseSize_1"));
    EXPECT_EQ("0", read("Database", "DatabaseSize_"));
    // A key above every section belongs to none.
    write("DatabaseSize_0=9\n[Database]\n");
    EXPECT_EQ("0", read("Database", "DatabaseSize_0"));
}

TEST_F(KovoOsIni, CommentsCrlfAndOddLines) {
    write(
        "\xEF\xBB\xBF[Database]\r\n"
        "; DatabaseSize_0=1\r\n"
        "# DatabaseSize_1=1\r\n"
        "no equals sign here\r\n"
        "\r\n"
        "DatabaseSize_0=64\r\n"
        "DatabaseSize_1=a=b\r\n"
        "[ Spaced ]\r\n"
        "k = v ; not a comment\r\n"
        "q1 = \" quoted \" \r\n"
        "q2='x'\r\n"
        "q3=\"half\r\n"
        "q4=\"\r\n");
    EXPECT_EQ("64", read("Database", "DatabaseSize_0"));
    EXPECT_EQ("a=b", read("Database", "DatabaseSize_1"));
    EXPECT_EQ("v ; not a comment", read("Spaced", "k"));
    EXPECT_EQ(" quoted ", read("Spaced", "q1"));
    EXPECT_EQ("x", read("Spaced", "q2"));
    EXPECT_EQ("\"half", read("Spaced", "q3"));
    EXPECT_EQ("\"", read("Spaced", "q4"));
    // A commented-out line never answers for the key it names. (How a key spelled
    // with the ';' itself is looked up differs: the Windows profile functions take
    // such a line as an ordinary key.)
    write("[Database]\n; DatabaseSize_0=1\n# DatabaseSize_1=1\n");
    EXPECT_EQ("0", read("Database", "DatabaseSize_0"));
    EXPECT_EQ("0", read("Database", "DatabaseSize_1"));
}

TEST_F(KovoOsIni, ValueIsCappedAtMaxChars) {
    write("[S]\nlong=" + std::string(300, 'v') + "\nutf=ab\xC3\xA9\n");
    EXPECT_EQ(std::string(255, 'v'), read("S", "long"));
    EXPECT_EQ(std::string(10, 'v'), read("S", "long", "0", 10));
    EXPECT_EQ("ab", read("S", "utf", "0", 3));  // never half of a character
    EXPECT_EQ("ab\xC3\xA9", read("S", "utf", "0", 4));
    EXPECT_EQ("de", read("S", "missing", "default", 2));
}

}  // namespace

TEST(KovoIniReader, GivesTheLineOfTheKeyItFound) {
    // A byte-order mark, a comment, a CRLF line and a first match that wins.
    std::istringstream text("\xEF\xBB\xBF; sizes\r\n[Database]\r\nA=1\r\n\r\nB = 2\r\nB=3\r\n");
    std::string value;
    int line = 0;
    ASSERT_TRUE(kovo_os::findIniValue(text, "database", "b", value, &line));
    EXPECT_EQ(value, "2");
    EXPECT_EQ(line, 5);
    std::istringstream missing("[Database]\nA=1\n");
    line = 7;
    EXPECT_FALSE(kovo_os::findIniValue(missing, "Database", "B", value, &line));
    EXPECT_EQ(line, 7);
}
