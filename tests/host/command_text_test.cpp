#include <gtest/gtest.h>

#include <climits>

#include "command_text.h"
#include "numbers.h"

using kovo_host::parseCommand;
using kovo_host::parseNumber;

TEST(CommandText, WellFormedCommandsOfEveryVerb) {
    for (const char* text : {"PS '1' 'panels/System/Tavisk/1280.kovo_ui'",
                             "PI '2' 'a.kovo_ui' 'extra'",
                             "PR '1'",
                             "TP 'statesheet=alarm_ignore' '1' 'Shutdown'",
                             "TG '1' 'alm_3' 'value'",
                             "CE '1' 'Confirm'",
                             "CD '1' 'Confirm'",
                             "CS '2' 'KB_1'",
                             "CH '2' 'KB_1'",
                             "XI '1' 'alm_'",
                             "ET 1 250",
                             "ET 1",
                             "RR 101 1 1",
                             "RR 101 1 1 'ADD'",
                             "RU 101",
                             "RN 101 0 5",
                             "RM 5 0 12 'Cam 1' 0",
                             "SD 'StC SDI Router'",
                             "IW 998 'PX c:\\windows\\system32\\shutdown.exe /s /t 2' 12 1",
                             "AS",
                             "TP 'text=' '2' 'LongName'",
                             "RM 101 0 3 '' 0",
                             "RN -1 0 2147483647"}) {
        const kovo_host::parsed_command command = parseCommand(text);
        EXPECT_EQ(command.error, "") << text;
        EXPECT_FALSE(command.unknownVerb) << text;
    }
}

TEST(CommandText, QuotedWordsKeepTheirSpaces) {
    const kovo_host::parsed_command command = parseCommand("RM 5 0 12 'Cam 1' 0");
    ASSERT_EQ(command.args.size(), 5u);
    EXPECT_EQ(command.verb, "RM");
    EXPECT_EQ(command.args[3], "Cam 1");
}

TEST(CommandText, UnknownAndEmptyCommands) {
    EXPECT_TRUE(parseCommand("ZZ 1").unknownVerb);
    EXPECT_TRUE(parseCommand("ps '1' 'x'").unknownVerb);  // verbs are upper case
    EXPECT_TRUE(parseCommand("").unknownVerb);
    EXPECT_TRUE(parseCommand(nullptr).unknownVerb);
    EXPECT_EQ(parseCommand("ZZ 1").error, "unknown command \"ZZ\"");
}

TEST(CommandText, WrongArgumentCounts) {
    EXPECT_EQ(parseCommand("PR '1' '2'").error, "PR takes 1 argument, not 2");
    EXPECT_EQ(parseCommand("PS '1'").error, "PS takes 2 or 3 arguments, not 1");
    EXPECT_EQ(parseCommand("TP 'text=x' '1'").error, "TP takes 3 arguments, not 2");
    EXPECT_EQ(parseCommand("AS now").error, "AS takes 0 arguments, not 1");
    EXPECT_EQ(parseCommand("RM 5 0 12 Cam 1 0").error, "RM takes 5 arguments, not 6");
}

TEST(CommandText, NumbersMustBeWholeDecimalNumbers) {
    EXPECT_EQ(parseCommand("ET x 250").error, "argument 1 of ET is not a number: \"x\"");
    EXPECT_EQ(parseCommand("RN 101 0 5a").error, "argument 3 of RN is not a number: \"5a\"");
    EXPECT_EQ(parseCommand("RM 5 0 12 'n' yes").error, "argument 5 of RM is not a number: \"yes\"");
    EXPECT_EQ(parseCommand("RU 99999999999").error,
              "argument 1 of RU is not a number: \"99999999999\"");
    EXPECT_EQ(parseCommand("ET 1 -5").error, "negative timer interval \"-5\"");
    EXPECT_EQ(parseCommand("RR 101 1 1 'DEL'").error,
              "the fourth argument of RR must be 'ADD', not \"DEL\"");
}

TEST(CommandText, AQuoteInsideAQuotedWordIsMalformed) {
    // The protocol has no escape: a name holding ' cannot be carried.
    EXPECT_NE(parseCommand("RM 5 0 12 'O'Neil' 0").error, "");
    EXPECT_NE(parseCommand("TP 'text=it's' '1' 'A'").error, "");
}

TEST(CommandText, ParseNumber) {
    int value = 0;
    EXPECT_TRUE(parseNumber("-2147483648", value));
    EXPECT_EQ(value, INT_MIN);
    EXPECT_TRUE(parseNumber("2147483647", value));
    EXPECT_EQ(value, INT_MAX);
    EXPECT_FALSE(parseNumber("2147483648", value));
    EXPECT_FALSE(parseNumber("", value));
    EXPECT_FALSE(parseNumber("-", value));
    EXPECT_FALSE(parseNumber(" 1", value));
    EXPECT_FALSE(parseNumber("+1", value));
    EXPECT_EQ(kovo_host::leadingNumber("  -12x"), -12);
    EXPECT_EQ(kovo_host::leadingNumber("99999999999"), INT_MAX);
    EXPECT_EQ(kovo_host::leadingNumber("x"), 0);
}

// A command parsed again into one used before holds only the new words: none
// of the longer last command's, and no error or verb of it.
TEST(CommandText, ACommandParsedAgainHoldsOnlyTheNewText) {
    kovo_host::parsed_command command;
    kovo_host::parseCommand("RM 5 0 12 'Camera Twelve Wide' 0", command);
    ASSERT_EQ(command.args.size(), 5u);
    kovo_host::parseCommand("TG '1' 'KB' 'text'", command);
    EXPECT_EQ(command.verb, "TG");
    EXPECT_EQ(command.args, (std::vector<std::string>{"1", "KB", "text"}));
    EXPECT_EQ(command.error, "");
    kovo_host::parseCommand("ZZ 1", command);
    EXPECT_TRUE(command.unknownVerb);
    kovo_host::parseCommand("CE '1' ''", command);
    EXPECT_FALSE(command.unknownVerb);
    EXPECT_EQ(command.args, (std::vector<std::string>{"1", ""}));
    kovo_host::parseCommand("", command);
    EXPECT_TRUE(command.args.empty());
    EXPECT_EQ(command.verb, "");
}
