// Command texts, their order, what happens to each answer, and results without a link.
#include <climits>
#include <string>

#include "panel_fixture.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

namespace {
std::string str(const kovo_string& s) {
    return s.c_str();
}
}  // namespace

TEST(PanelCommands, LayoutPathTakesTheInstancePrefixOnlyWhenThereIsOne) {
    RecordingHostLink withInstance;
    withInstance.status("P", true);
    {
        TestPanel tavisk(&withInstance, "panels/System/Tavisk");
        EXPECT_TRUE(tavisk.panelShow("1", "1280.kovo_ui", ""));
        EXPECT_TRUE(tavisk.panelInit("2", "1024.kovo_ui", "popup"));
    }
    EXPECT_THAT(withInstance.commands(),
                ElementsAre("PS '1' 'panels/System/Tavisk/1280.kovo_ui'",
                            "PI '2' 'panels/System/Tavisk/1024.kovo_ui' 'popup'", "AS"));

    for (const char* instance : {"", static_cast<const char*>(nullptr)}) {
        RecordingHostLink bare;
        {
            TestPanel panel(&bare, instance);
            panel.panelShow("1", "1280.kovo_ui", "");
        }
        EXPECT_THAT(bare.commands(), ElementsAre("PS '1' '1280.kovo_ui'", "AS"));
        EXPECT_THAT(bare.problems(), IsEmpty());
    }
}

TEST_F(PanelTest, PanelCommandsSendTheirTextsAndReportTheStatus) {
    link.status("PS '1'", true);
    link.status("PR", true);
    EXPECT_TRUE(panel->panelShow("1", "1280.kovo_ui", ""));
    EXPECT_FALSE(panel->panelInit("2", "a b.kovo_ui", "x"));  // no answer: false
    EXPECT_TRUE(panel->panelRemove("3"));
    EXPECT_FALSE(panel->panelShow("4", "it's.kovo_ui", "o'k"));  // quotes cannot break a field
    EXPECT_THAT(sentPairs(), ElementsAre(Pairs::value_type{"PS '1' '1280.kovo_ui'", 0},
                                         Pairs::value_type{"PI '2' 'a b.kovo_ui' 'x'", 0},
                                         Pairs::value_type{"PR '3'", 0},
                                         Pairs::value_type{"PS '4' 'it`s.kovo_ui' 'o`k'", 0}));
}

TEST_F(PanelTest, ControlCommands) {
    panel->textPut("Studio A", "1", "Title");
    panel->textPut("statesheet", "alarm_ignore", "1", "Shutdown");
    panel->textPut("", "", "", "");
    panel->controlEnable("2", "Save");
    panel->controlDisable("2", "Save");
    panel->controlShow("3", "KB_1");
    panel->controlHide("3", "KB_1");
    EXPECT_THAT(link.commands(),
                ElementsAre("TP 'Studio A' '1' 'Title'",
                            "TP 'statesheet=alarm_ignore' '1' 'Shutdown'", "TP '=' '' ''",
                            "CE '2' 'Save'", "CD '2' 'Save'", "CS '3' 'KB_1'", "CH '3' 'KB_1'"));
}

TEST_F(PanelTest, TextGetTakesTheValueOfTheRequestedProperty) {
    link.reply("TG '1' 'alm_3' 'value'", "value=4");
    link.reply("TG '1' 'alm_3' 'all'", "value=4");
    link.reply("TG '1' 'x' 'value'", "value=");
    kovo_string out("stale");
    panel->textGet("value", "1", "alm_3", out);
    EXPECT_EQ(str(out), "4");
    panel->textGet("all", "1", "alm_3", out);
    EXPECT_EQ(str(out), "value=4");
    out = "stale";
    panel->textGet("value", "1", "x", out);
    EXPECT_EQ(str(out), "");
    EXPECT_THAT(
        sentPairs(),
        ElementsAre(Pairs::value_type{"TG '1' 'alm_3' 'value'", 0}, Pairs::value_type{"value=4", 5},
                    Pairs::value_type{"TG '1' 'alm_3' 'all'", 0}, Pairs::value_type{"value=4", 5},
                    Pairs::value_type{"TG '1' 'x' 'value'", 0}, Pairs::value_type{"value=", 5}));
}

TEST_F(PanelTest, TextGetWithAnotherKeyGivesEmptyAndOneDebugLine) {
    link.reply("TG", "text=4");
    kovo_string out("stale");
    const std::string written = debugOutputOf([&] { panel->textGet("value", "1", "alm_3", out); });
    EXPECT_EQ(str(out), "");
    EXPECT_EQ(written,
              "textGet: value returned \"text\" was not the value requested \"value\" (value "
              "returned was \"text=4\" from control \"alm_3\", on panel \"1\")");
    // Keys compare case-sensitively.
    link.reply("TG", "Value=4");
    out = "stale";
    debugOutputOf([&] { panel->textGet("value", "1", "alm_3", out); });
    EXPECT_EQ(str(out), "");
    EXPECT_EQ(link.releasedCount(), 2);
}

TEST_F(PanelTest, TextGetWithoutAnAnswerEmptiesTheResult) {
    kovo_string out("stale");
    panel->textGet("value", "1", "alm_3", out);
    EXPECT_EQ(str(out), "");
    EXPECT_EQ(link.sent().size(), 1u);  // nothing to give back
}

TEST_F(PanelTest, ControlListSplitsTheAnswerAtCommas) {
    link.reply("XI '1' 'alm_'", "alm_1,alm_2,alm_10");
    const kovo_stringlist controls = panel->controlList("1", "alm_");
    ASSERT_EQ(controls.count(), 3);
    EXPECT_EQ(str(controls[0]), "alm_1");
    EXPECT_EQ(str(controls[2]), "alm_10");
    EXPECT_THAT(sentPairs(), ElementsAre(Pairs::value_type{"XI '1' 'alm_'", 0},
                                         Pairs::value_type{"alm_1,alm_2,alm_10", 5}));
}

TEST_F(PanelTest, ControlListOfNoAnswerOrAnEmptyAnswerIsEmpty) {
    EXPECT_EQ(panel->controlList("1", "alm_").count(), 0);
    link.reply("XI", "");
    EXPECT_EQ(panel->controlList("1", "alm_").count(), 0);
    EXPECT_EQ(link.releasedCount(), 1);
}

TEST_F(PanelTest, TimerAndRouterCommands) {
    panel->timerStart(1, 250);
    panel->timerStart(1, 0);
    panel->timerStop(1);
    panel->timerStart(-3, 1000);
    panel->routerRegister(101, 1, 1, false);
    panel->routerRegister(101, 1, 1, true);
    panel->routerRegister(INT_MIN, -1, INT_MAX, false);
    panel->routerUnregister(101);
    EXPECT_THAT(link.commands(),
                ElementsAre("ET 1 250", "ET 1", "ET 1", "ET -3 1000", "RR 101 1 1",
                            "RR 101 1 1 'ADD'", "RR -2147483648 -1 2147483647", "RU 101"));
}

TEST_F(PanelTest, DatabaseGetNameCopiesTheAnswerAndAlwaysGivesItBack) {
    link.reply("RN 5 0 12", "Cam 1");
    kovo_string out("old");
    panel->databaseGetName(5, 0, 12, out);
    EXPECT_EQ(str(out), "Cam 1");
    panel->databaseGetName(5, 0, 13, out);  // no answer: out is left alone
    EXPECT_EQ(str(out), "Cam 1");
    EXPECT_THAT(sentPairs(),
                ElementsAre(Pairs::value_type{"RN 5 0 12", 0}, Pairs::value_type{"Cam 1", 5},
                            Pairs::value_type{"RN 5 0 13", 0}, Pairs::value_type{"(null)", 5}));
    EXPECT_EQ(link.nullReleases(), 1);
}

TEST_F(PanelTest, StoredNameStartsEmptyAndComesBackHostSafe) {
    link.reply("RN 5 0 1", "O'Neil\t1");
    EXPECT_EQ(str(panel->storedName(5, 0, 1)), "O`Neil 1");
    EXPECT_EQ(str(panel->storedName(5, 0, 2)), "");  // no answer: empty, not the name before
    EXPECT_EQ(link.nullReleases(), 1);
    EXPECT_THAT(link.problems(), IsEmpty());
}

TEST_F(PanelTest, StoredNameOfAHugeAnswerIsCutOnAWholeCharacter) {
    // 254 bytes, then a two-byte character across the limit, then 64 KiB more.
    link.reply("RN 5 0 1", std::string(254, 'n') + "\xc3\xa9" + std::string(65536, 'x'));
    EXPECT_EQ(str(panel->storedName(5, 0, 1)), std::string(254, 'n'));
    link.reply("RN 5 0 2", std::string(255, 'n') + "tail");
    EXPECT_EQ(str(panel->storedName(5, 0, 2)), std::string(255, 'n'));
    EXPECT_EQ(kovo_script_helper::maxStoredNameLength, 255u);
}

TEST_F(PanelTest, ShownPanelFollowsShowAndRemove) {
    EXPECT_EQ(str(panel->shownPanel()), "");
    panel->panelInit("2", "x.kovo_ui", "");
    EXPECT_EQ(str(panel->shownPanel()), "");
    panel->panelShow("1", "x.kovo_ui", "");
    EXPECT_EQ(str(panel->shownPanel()), "1");
    panel->panelRemove("2");  // not the shown one
    EXPECT_EQ(str(panel->shownPanel()), "1");
    panel->panelRemove("1");
    EXPECT_EQ(str(panel->shownPanel()), "");
    panel->panelShow("2", "x.kovo_ui", "");
    EXPECT_EQ(str(panel->shownPanel()), "2");
}

TEST_F(PanelTest, DatabaseModifyNameSendsTheNameHostSafeAndLogsTheCommand) {
    const std::string written = debugOutputOf([&] {
        panel->databaseModifyName(5, 0, 12, "Cam 1", false);
        panel->databaseModifyName(8, 1, 3, "it's %5 %1", true);
    });
    EXPECT_THAT(link.commands(), ElementsAre("RM 5 0 12 'Cam 1' 0", "RM 8 1 3 'it`s %5 %1' 1"));
    EXPECT_EQ(written, "RM 5 0 12 'Cam 1' 0\nRM 8 1 3 'it`s %5 %1' 1\n");
}

// Whatever a caller passes (a name read from the host, a control id or event
// value echoed back), every quoted field of every command stays one field.
TEST_F(PanelTest, NoTextBreaksTheQuotingOfACommand) {
    const kovo_string hostile("a'b\nc\x7f'");
    panel->textPut(hostile, hostile, "1", hostile);
    kovo_string out;
    panel->textGet("text", "1", hostile, out);
    panel->controlEnable(hostile, hostile);
    panel->controlList("1", hostile);
    int first = 0;
    panel->deviceLookup(hostile, &first, nullptr);
    panel->infoWrite(998, hostile, 7, true);
    EXPECT_THAT(link.commands(),
                ElementsAre("TP 'a`b c `=a`b c `' '1' 'a`b c `'", "TG '1' 'a`b c `' 'text'",
                            "CE 'a`b c `' 'a`b c `'", "XI '1' 'a`b c `'", "SD 'a`b c `'",
                            "IW 998 'a`b c `' 7 1"));
}

TEST_F(PanelTest, CommandTextsLongerThanTheirFirstBufferGoOutWhole) {
    // Each command text is built in one buffer that grows past its first size.
    const std::string name(5000, 'n');
    const std::string control(300, 'c');
    const std::string written = debugOutputOf(
        [&] { panel->databaseModifyName(-2147483647 - 1, 8, 2147483647, name.c_str(), true); });
    panel->textPut("text", name.c_str(), "2", control.c_str());
    const std::string rm = "RM -2147483648 8 2147483647 '" + name + "' 1";
    EXPECT_THAT(link.commands(), ElementsAre(rm, "TP 'text=" + name + "' '2' '" + control + "'"));
    EXPECT_EQ(written, rm + "\n");
}

TEST_F(PanelTest, DeviceLookupReadsTwoNumbersFromTheAnswer) {
    link.reply("SD 'StC SDI Router'", "101 16");
    link.reply("SD 'one'", "7");
    link.reply("SD 'huge'", "99999999999 -99999999999");
    link.reply("SD 'words'", "'a b' x");
    int first = -1;
    int second = -1;
    EXPECT_TRUE(panel->deviceLookup("StC SDI Router", &first, &second));
    EXPECT_EQ(first, 101);
    EXPECT_EQ(second, 16);
    EXPECT_TRUE(panel->deviceLookup("one", &first, &second));
    EXPECT_EQ(first, 7);
    EXPECT_EQ(second, 0);
    EXPECT_TRUE(panel->deviceLookup("huge", &first, &second));
    EXPECT_EQ(first, INT_MAX);
    EXPECT_EQ(second, INT_MIN);
    EXPECT_TRUE(panel->deviceLookup("words", &first, nullptr));
    EXPECT_EQ(first, 0);  // the first word is empty
    EXPECT_TRUE(panel->deviceLookup("one", nullptr, nullptr));
    EXPECT_EQ(link.releasedCount(), 5);
}

TEST_F(PanelTest, DeviceLookupWithoutAnAnswerIsFalseAndZeroes) {
    int first = 5;
    int second = 6;
    EXPECT_FALSE(panel->deviceLookup("nothing", &first, &second));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 0);
    EXPECT_THAT(link.commands(), ElementsAre("SD 'nothing'"));
}

TEST_F(PanelTest, InfoWriteWarnsAboutALongTextButSendsItWhole) {
    const std::string limit(256, 'a');
    const std::string tooLong(257, 'b');
    const std::string quiet = debugOutputOf([&] { panel->infoWrite(998, limit.c_str(), 7, true); });
    EXPECT_EQ(quiet, "");
    const std::string warned =
        debugOutputOf([&] { panel->infoWrite(998, tooLong.c_str(), -1, false); });
    EXPECT_EQ(warned, "The IW string is too long (max 256 chars)\n");
    EXPECT_THAT(link.commands(),
                ElementsAre("IW 998 '" + limit + "' 7 1", "IW 998 '" + tooLong + "' -1 0"));
}

TEST(NoHostLink, EveryCommandIsANoOpWithItsOwnResult) {
    TestPanel panel(nullptr, "x");
    EXPECT_TRUE(panel.panelShow("1", "a", ""));
    EXPECT_TRUE(panel.panelInit("1", "a", "e"));
    EXPECT_TRUE(panel.panelRemove("1"));
    kovo_string out("stale");
    panel.textGet("value", "1", "c", out);
    EXPECT_EQ(str(out), "");
    EXPECT_EQ(panel.controlList("1", "alm_").count(), 0);
    out = "kept";
    panel.databaseGetName(1, 2, 3, out);
    EXPECT_EQ(str(out), "kept");
    int first = 9;
    int second = 9;
    EXPECT_FALSE(panel.deviceLookup("x", &first, &second));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 0);
    // Nothing goes out, but the write is still logged.
    EXPECT_EQ(debugOutputOf([&] { panel.databaseModifyName(5, 0, 12, "Cam 1", false); }),
              "RM 5 0 12 'Cam 1' 0\n");
    panel.textPut("a", "1", "c");
    panel.timerStart(1, 10);
    panel.infoWrite(1, "t", 1, true);
}  // destroying a script without a link sends nothing and does not fail
