// What no session script can reach: timer ticks the plug-in never asked for,
// the events that must stay silent, and the exact phases of a countdown. The
// plug-in is driven directly through its export on the "odd" test site,
// workstation 21 (1280).
#include <climits>

#include "corvane_driver.h"

namespace {

using Commands = std::vector<std::string>;

class CorvaneEntryPoints : public CorvaneDriver {
  protected:
    void SetUp() override { start("tests/corvane/sites/odd", "21"); }

    // Area North, router "Vid" (device 7), sources: three names.
    Commands openSourceNames() {
        return choose({"Area_name_0", "Type_1", "Edit_what_1", "Router_1", "DoEdit"});
    }
    // A changed long name for entry 2 is waiting ("Cam 2" typed as "Wide").
    void typeLongName() {
        buttonHolds("LongName", "Cam 2");
        keyboardHolds("2", "Wide");
        press("2", "LongName");
        const Commands typed = control("2", "KB_1", "text=Wide");
        ASSERT_FALSE(typed.empty());
        ASSERT_EQ(typed.back(), "ET 1 1000");
    }
};

TEST_F(CorvaneEntryPoints, CountdownFlashesTenTimesThenShowsTheStoredNames) {
    openSourceNames();
    link.replyExactly("RN 7 0 2", "Cam 2");
    link.replyExactly("RN 7 2 2", "Cam2");
    control("2", "MtxNames", "selected=002 = Cam 2");
    typeLongName();
    for (int count = 9; count >= 1; --count) {
        const bool odd = count % 2 != 0;
        EXPECT_EQ(tick(1), (Commands{odd ? "TP 'statesheet=QD_Update_High' '2' 'Update'"
                                         : "TP 'statesheet=QD_Update_Low' '2' 'Update'",
                                     odd ? "TP 'statesheet=QD_Cancel_Low' '2' 'Cancel'"
                                         : "TP 'statesheet=QD_Cancel_High' '2' 'Cancel'"}))
            << "count " << count;
    }
    EXPECT_EQ(tick(1),
              (Commands{"TP 'statesheet=QD_Update_Low' '2' 'Update'",
                        "TP 'statesheet=QD_Cancel_High' '2' 'Cancel'", "ET 1", "RN 7 0 2",
                        "TP 'text=Cam 2' '2' 'LongName'", "RN 7 2 2",
                        "TP 'text=Cam2' '2' 'ShortName'", "CD '2' 'Update'", "CD '2' 'Cancel'",
                        "CE '2' 'LongName'", "CE '2' 'ShortName'", "CE '2' 'KB_1'"}));
    // The dropped change can no longer be written; the rest of Update runs.
    EXPECT_EQ(press("2", "Update"),
              (Commands{"CD '2' 'Cancel'", "CD '2' 'Update'", "CE '2' 'LongName'",
                        "CE '2' 'ShortName'", "CE '2' 'MtxNames'", "CE '2' 'Home'"}));
    // A tick after the end comes from a timer that should not run: it is only stopped.
    EXPECT_EQ(tick(1), Commands{"ET 1"});
}

TEST_F(CorvaneEntryPoints, TicksWithoutACountdownOnlyStopTheirTimer) {
    EXPECT_EQ(tick(1), Commands{"ET 1"});
    EXPECT_EQ(tick(2), Commands{"ET 2"});
    for (const int timer : {3, 0, -1, INT_MAX, INT_MIN}) {
        EXPECT_EQ(tick(timer), Commands{"ET " + std::to_string(timer)});
    }
}

TEST_F(CorvaneEntryPoints, RevertivesNoticesAndUnknownEventsSendNothing) {
    link.clear();
    EXPECT_EQ(script()->hostCallback(nullptr, KOVO_EVENT_REVERTIVE), nullptr);
    EXPECT_EQ(script()->hostCallback(nullptr, KOVO_EVENT_HOST_NOTICE), nullptr);
    EXPECT_EQ(script()->hostCallback(nullptr, 9), nullptr);
    kovo_database_record record{7, 0, 1, 0, "Cam 9"};  // no list open
    EXPECT_EQ(script()->hostCallback(&record, KOVO_EVENT_DATABASE), nullptr);
    EXPECT_TRUE(link.commands().empty());
}

TEST_F(CorvaneEntryPoints, DatabaseEventsOutsideTheListNeverReachIt) {
    openSourceNames();
    link.clear();
    for (const std::int32_t index : {0, -1, 4, INT32_MIN, INT32_MAX}) {
        kovo_database_record record{7, 0, index, 0, "Ghost"};
        script()->hostCallback(&record, KOVO_EVENT_DATABASE);
    }
    kovo_database_record last{7, 0, 3, 0, "VT '2'"};
    script()->hostCallback(&last, KOVO_EVENT_DATABASE);
    EXPECT_EQ(link.commands(), Commands{"TP 'replace.id.2=003 = VT `2`' '2' 'MtxNames'"});
}

// Events of a panel that is not shown come from controls the operator cannot
// see: the home panel is shown, so nothing of the editors' panels acts.
TEST_F(CorvaneEntryPoints, EventsOfPanelsNotShownAreDropped) {
    for (const char* panel : {"2", "3", "4", "01", "", "1x"}) {
        for (const char* id : {"Update", "Home", "AllDone", "KB_1", "Cancel", "PackageName"}) {
            EXPECT_EQ(control(panel, id, "index=1"), Commands{}) << panel << " " << id;
        }
    }
    openSourceNames();
    EXPECT_EQ(press("1", "Cancel"), Commands{});  // panel 1 is no longer shown
    EXPECT_FALSE(press("2", "Home").empty());
}

}  // namespace
