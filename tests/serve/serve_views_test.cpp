// The JSON view of panels and what a push of a change carries; the recorder's
// script text.
#include <gtest/gtest.h>

#include "panel_json.h"
#include "script_writer.h"
#include "session_recorder.h"

namespace {

using kovo_serve::json;

kovo_host::panel_state listPanel(int entries) {
    kovo_host::panel_state panel;
    panel.id = "2";
    panel.layoutKnown = true;
    panel.width = 1280;
    panel.height = 1024;
    kovo_host::control_state list;
    list.id = "MtxNames";
    list.kind = kovo_host::control_kind::list;
    for (int i = 0; i < entries; ++i) {
        list.entries.push_back("Source " + std::to_string(i + 1));
    }
    kovo_host::control_state button;
    button.id = "Update";
    button.kind = kovo_host::control_kind::button;
    panel.controls = {list, button};
    return panel;
}

kovo_serve::script_view view(const kovo_host::panel_state& panel) {
    return kovo_serve::viewOf({&panel}, [](int, int, int) { return std::nullopt; });
}

TEST(panel_json, OneChangedEntrySendsThatEntryNotTheList) {
    kovo_host::panel_state panel = listPanel(4096);
    const auto before = view(panel);
    panel.controls[0].entries[4] = "Guest Camera";
    const json changes = kovo_serve::controlChanges(before, view(panel));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0]["id"], "MtxNames");
    EXPECT_EQ(changes[0]["entriesChange"]["set"], json::parse(R"([[4, "Guest Camera"]])"));
    EXPECT_FALSE(changes[0].contains("entries"));
    EXPECT_LT(changes.dump().size(), 400u);
}

TEST(panel_json, ALengthChangeSendsTheTailFromTheFirstDifference) {
    kovo_host::panel_state panel = listPanel(3);
    const auto before = view(panel);
    panel.controls[0].entries.push_back("Source 4");
    json changes = kovo_serve::controlChanges(before, view(panel));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0]["entriesChange"]["from"], 3);
    EXPECT_EQ(changes[0]["entriesChange"]["tail"], json({"Source 4"}));
    EXPECT_EQ(changes[0]["length"], 4);

    const auto longer = view(panel);
    panel.controls[0].entries.clear();
    changes = kovo_serve::controlChanges(longer, view(panel));
    EXPECT_EQ(changes[0]["entriesChange"]["from"], 0);
    EXPECT_TRUE(changes[0]["entriesChange"]["tail"].empty());
    EXPECT_EQ(changes[0]["length"], 0);
}

TEST(panel_json, AnUnchangedListIsSharedWithTheViewBeforeAndAChangedOneIsNot) {
    kovo_host::panel_state panel = listPanel(4096);
    const auto none = [](int, int, int) { return std::nullopt; };
    const auto first = kovo_serve::viewOf({&panel}, none);
    const auto again = kovo_serve::viewOf({&panel}, none, &first);
    EXPECT_EQ(again[0].controls.at("MtxNames").entries, first[0].controls.at("MtxNames").entries);
    EXPECT_TRUE(kovo_serve::controlChanges(first, again).empty());

    panel.controls[0].entries[9] = "Renamed";
    const auto changed = kovo_serve::viewOf({&panel}, none, &again);
    ASSERT_NE(changed[0].controls.at("MtxNames").entries, again[0].controls.at("MtxNames").entries);
    EXPECT_EQ(again[0].controls.at("MtxNames").entries->at(9), "Source 10")
        << "the view before keeps what it showed";
    const json changes = kovo_serve::controlChanges(again, changed);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0]["entriesChange"]["set"], json::parse(R"([[9, "Renamed"]])"));
    EXPECT_EQ(kovo_serve::panelsJson(changed)[0]["controls"][0]["entries"][9], "Renamed");
}

TEST(panel_json, StateChangesOfOneControlSendOnlyIt) {
    kovo_host::panel_state panel = listPanel(2);
    const auto before = view(panel);
    EXPECT_TRUE(kovo_serve::controlChanges(before, view(panel)).empty());
    panel.controls[1].enabled = false;
    panel.controls[1].properties["statesheet"] = "QD_Update_High";
    const json changes = kovo_serve::controlChanges(before, view(panel));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0]["id"], "Update");
    EXPECT_EQ(changes[0]["enabled"], false);
    EXPECT_EQ(changes[0]["look"], "QD_Update_High");
    EXPECT_EQ(changes[0]["panel"], "2");
    EXPECT_TRUE(kovo_serve::samePanels(before, view(panel)));
    panel.id = "3";
    EXPECT_FALSE(kovo_serve::samePanels(before, view(panel)));
}

TEST(session_recorder, TimeBetweenActionsBecomesAdvanceLinesWithTheirCommands) {
    kovo_serve::session_recorder recorder;
    recorder.start(1000, {"site sites/demo"});
    recorder.beforeAction(1000);
    recorder.commandSent("PS '1' 'x.kovo_ui'");
    recorder.actionDone(kovo_host::loadLine("p", "Tavisk", 12));
    recorder.commandSent("ET 1");  // a timer, between the actions
    recorder.beforeAction(1300);
    recorder.commandSent("TP 'text=a\nb' '1' 'L'");
    recorder.commandSent("CE '1' 'B'");
    recorder.requestReached(12, "PX run");
    recorder.actionDone(kovo_host::pressLine("p", "1", "B"));
    recorder.beforeAction(1300);
    recorder.dropAction();  // refused
    recorder.stop(1300);
    recorder.beforeAction(2000);  // after the end: not recorded
    recorder.actionDone(kovo_host::pressLine("p", "1", "C"));
    EXPECT_EQ(recorder.text(),
              "site sites/demo\n"
              "load p Tavisk workstation=12\nexpect PS '1' 'x.kovo_ui'\nexpect-none\n"
              "advance 300\nexpect ET 1\nexpect-none\n"
              "press p 1 B\n# the next command holds a line end: not checked from here on\n"
              "expect-px 12 PX run\n");
}

TEST(session_recorder, LongPausesTakeSeveralAdvanceLines) {
    kovo_serve::session_recorder recorder;
    recorder.start(0, {});
    recorder.beforeAction(5000000000LL);
    EXPECT_EQ(recorder.text(),
              "advance 2147483647\nadvance 2147483647\nadvance 705032706\nexpect-none\n");
}

}  // namespace
