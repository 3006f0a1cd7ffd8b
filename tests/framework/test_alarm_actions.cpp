// "ActionAll" and "AckAll" on a panel that has turned the alarm actions on.
#include "panel_fixture.h"

using testing::ElementsAre;
using testing::IsEmpty;

class AlarmTest : public PanelTest {
  protected:
    void SetUp() override {
        PanelTest::SetUp();
        panel->enableAlarms(true);
    }

    // Presses control on panel id with the event text, as the host would.
    void press(const char* panelId, const char* control, const char* eventText) {
        kovo_key_value text(eventText);
        kovo_control_record record{nullptr, nullptr, panelId, control, &text};
        EXPECT_EQ(panel->hostCallback(&record, KOVO_EVENT_CONTROL), nullptr);
    }

    void threeAlarms() {
        link.reply("XI '1' 'alm_'", "alm_1,alm_2,alm_3");
        link.reply("TG '1' 'alm_1' 'value'", "value=1");
        link.reply("TG '1' 'alm_2' 'value'", "value=3");
        link.reply("TG '1' 'alm_3' 'value'", "value=7");
    }
};

TEST_F(AlarmTest, ActionAllAckResetsOnlyValuesOutsideTheKeptRange) {
    threeAlarms();
    press("1", "ActionAll", "alarm=ack");
    EXPECT_THAT(link.commands(),
                ElementsAre("XI '1' 'alm_'",                                         //
                            "TP 'alarm=ack' '1' 'alm_1'", "TG '1' 'alm_1' 'value'",  //
                            "TP 'value=4' '1' 'alm_1'",                              //
                            "TP 'alarm=ack' '1' 'alm_2'", "TG '1' 'alm_2' 'value'",  //
                            "TP 'alarm=ack' '1' 'alm_3'", "TG '1' 'alm_3' 'value'",  //
                            "TP 'value=4' '1' 'alm_3'"));
    EXPECT_EQ(link.lentCount(), 4);  // the list and three values, all given back (TearDown)
    EXPECT_THAT(panel->calls, IsEmpty());
}

TEST_F(AlarmTest, AckAllIsAckWithAlarmSetToFour) {
    threeAlarms();
    press("3", "AckAll", "button=released");  // the panel id is not examined
    EXPECT_THAT(link.commands(),
                ElementsAre("XI '1' 'alm_'",                                       //
                            "TP 'alarm=4' '1' 'alm_1'", "TG '1' 'alm_1' 'value'",  //
                            "TP 'value=4' '1' 'alm_1'",                            //
                            "TP 'alarm=4' '1' 'alm_2'", "TG '1' 'alm_2' 'value'",  //
                            "TP 'alarm=4' '1' 'alm_3'", "TG '1' 'alm_3' 'value'",  //
                            "TP 'value=4' '1' 'alm_3'"));
    EXPECT_THAT(panel->calls, IsEmpty());
}

TEST_F(AlarmTest, AcknowledgeKeepsZeroAndTwoToFiveAndResetsTheRest) {
    link.reply("XI", "a,b,c,d,e,f,g,h,i");
    const char* values[] = {"value=0",  "value=1", "value=2", "value=5",          "value=6",
                            "value=-1", "text=9",  "value=x", "value=99999999999"};
    const char* controls[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i"};
    for (int i = 0; i < 9; ++i) {
        link.reply(std::string("TG '1' '") + controls[i] + "'", values[i]);
    }
    debugOutputOf([&] { panel->alarmAction("ack"); });  // "text=9" writes the mismatch line
    std::vector<std::string> reset;
    for (const std::string& command : link.commands()) {
        if (command.rfind("TP 'value=4' '1' '", 0) == 0) {
            reset.push_back(command.substr(18, 1));
        }
    }
    // 0, 2, 5 kept; a mismatched key or a non-number reads as 0 and is kept too.
    EXPECT_THAT(reset, ElementsAre("b", "e", "f", "i"));
}

TEST_F(AlarmTest, OneCharacterActionSetsThatLevelEverywhere) {
    threeAlarms();
    press("1", "ActionAll", "alarm=2");
    EXPECT_THAT(link.commands(),
                ElementsAre("XI '1' 'alm_'", "TP 'alarm=2' '1' 'alm_1'", "TP 'value=2' '1' 'alm_1'",
                            "TP 'alarm=2' '1' 'alm_2'", "TP 'value=2' '1' 'alm_2'",
                            "TP 'alarm=2' '1' 'alm_3'", "TP 'value=2' '1' 'alm_3'"));
}

TEST_F(AlarmTest, LongerActionOnlySetsTheAlarmProperty) {
    threeAlarms();
    press("1", "ActionAll", "alarm=12");
    EXPECT_THAT(link.commands(),
                ElementsAre("XI '1' 'alm_'", "TP 'alarm=12' '1' 'alm_1'",
                            "TP 'alarm=12' '1' 'alm_2'", "TP 'alarm=12' '1' 'alm_3'"));
}

TEST_F(AlarmTest, ActionAllWithAnotherKeyAndOtherControlsGoToThePanel) {
    threeAlarms();
    press("1", "ActionAll", "button=released");
    press("1", "alm_1", "alarm=ack");
    press("1", "actionall", "alarm=ack");
    EXPECT_THAT(panel->calls,
                ElementsAre("control 1 ActionAll button=released", "control 1 alm_1 alarm=ack",
                            "control 1 actionall alarm=ack"));
    EXPECT_TRUE(link.commands().empty());
}

TEST_F(AlarmTest, EmptyControlListSendsNothingAfterXi) {
    press("1", "AckAll", "button=released");  // no answer
    link.reply("XI", "");
    press("1", "ActionAll", "alarm=1");  // an empty answer
    EXPECT_THAT(link.commands(), ElementsAre("XI '1' 'alm_'", "XI '1' 'alm_'"));
}
