// What no session script can reach: a host that gives no answer for some names
// (the simulator answers every name of a known device), timer ticks the plug-in
// never asked for, and the events that must stay silent. The plug-in is driven
// directly through its export on the "odd" test site, workstation 21 (1280).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "kovo_interface.h"
#include "kovo_os_host.h"
#include "loaded_plugin.h"
#include "recording_host_link.h"

namespace {

class CorvaneEntryPoints : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* source = std::getenv("KOVO_SOURCE_DIR");
        ASSERT_NE(source, nullptr);
        kovo_os::setEnvironment("RX_ROOT", source);
        kovo_os::setEnvironment("RX_SYSTEM", "tests/corvane/sites/odd");
        kovo_os::setEnvironment("RX_WORKSTATION", "21");
        ASSERT_TRUE(plugin.load(CORVANE_PLUGIN_PATH, &link, "panels/System/Corvane"));
    }
    void TearDown() override {
        plugin.unload();
        // Every reply buffer given back exactly once, and nothing else given back.
        EXPECT_THAT(link.problems(), testing::IsEmpty());
    }

    kovo_client_callback* script() const { return plugin.script(); }

    // The commands of one event, the record of the link cleared first.
    std::vector<std::string> control(const char* panel, const char* id, const char* text) {
        link.clear();
        kovo_key_value eventText(text);
        kovo_control_record record{nullptr, nullptr, panel, id, &eventText};
        EXPECT_EQ(script()->hostCallback(&record, KOVO_EVENT_CONTROL), nullptr);
        return link.commands();
    }
    std::vector<std::string> tick(int timer) {
        link.clear();
        EXPECT_EQ(script()->hostCallback(reinterpret_cast<void*>(static_cast<std::intptr_t>(timer)),
                                         KOVO_EVENT_TIMER),
                  nullptr);
        return link.commands();
    }
    // Area North, router "Vid" (device 7), sources: three names.
    std::vector<std::string> openSourceNames() {
        control("1", "Area_name_0", "button=released");
        control("1", "Type_1", "button=released");
        control("1", "Edit_what_1", "button=released");
        control("1", "Router_1", "button=released");
        return control("1", "DoEdit", "button=released");
    }
    // A changed long name for entry 2 is waiting ("Cam 2" typed as "Wide").
    void typeLongName() {
        link.replyExactly("TG '2' 'LongName' 'text'", "text=Cam 2");
        link.replyExactly("TG '2' 'KB_1' 'text'", "text=Wide");
        control("2", "LongName", "button=released");
        const std::vector<std::string> typed = control("2", "KB_1", "text=Wide");
        ASSERT_FALSE(typed.empty());
        ASSERT_EQ(typed.back(), "ET 1 1000");
    }

    RecordingHostLink link;  // outlives the script, whose destructor still sends
    LoadedPlugin plugin;
};

std::vector<std::string> after(const std::vector<std::string>& commands, const std::string& first) {
    for (auto it = commands.begin(); it != commands.end(); ++it) {
        if (*it == first) {
            return std::vector<std::string>(it, commands.end());
        }
    }
    return {};
}

TEST_F(CorvaneEntryPoints, ListEntryWithoutAnswerRepeatsTheNameBeforeIt) {
    link.replyExactly("RN 7 0 2", "Cam 2");
    const std::vector<std::string> opened = openSourceNames();
    const std::vector<std::string> expected = {
        "RN 7 0 1",
        "TP 'add=001 = ' '2' 'MtxNames'",  // nothing before the first entry
        "RN 7 0 2",
        "TP 'add=002 = Cam 2' '2' 'MtxNames'",
        "RN 7 0 3",
        "TP 'add=003 = Cam 2' '2' 'MtxNames'",
        "RR 7 1 1",
    };
    const std::vector<std::string> list = after(opened, "RN 7 0 1");
    ASSERT_GE(list.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(list.begin(), list.begin() + expected.size()), expected);
    // Every null answer was given back too.
    EXPECT_EQ(link.nullReleases(), 2);
}

TEST_F(CorvaneEntryPoints, MissingShortNameShowsTheLongNameMissingLongNameIsEmpty) {
    openSourceNames();
    link.replyExactly("RN 7 0 2", "Cam 2");
    link.replyExactly("RN 7 2 3", "VT1");
    EXPECT_EQ(control("2", "MtxNames", "selected=002 = Cam 2"),
              (std::vector<std::string>{"RN 7 0 2", "TP 'text=Cam 2' '2' 'LongName'", "RN 7 2 2",
                                        "TP 'text=Cam 2' '2' 'ShortName'"}));
    // Each choice starts from an empty text, not from the names shown before.
    EXPECT_EQ(control("2", "MtxNames", "selected=003 = VT 1"),
              (std::vector<std::string>{"RN 7 0 3", "TP 'text=' '2' 'LongName'", "RN 7 2 3",
                                        "TP 'text=VT1' '2' 'ShortName'"}));
}

TEST_F(CorvaneEntryPoints, CancelAndTheEndOfTheCountdownReadBothNamesIntoOneText) {
    openSourceNames();
    link.replyExactly("RN 7 0 2", "Cam 2");
    control("2", "MtxNames", "selected=002 = Cam 2");
    typeLongName();
    EXPECT_EQ(control("2", "Cancel", "button=released"),
              (std::vector<std::string>{"RN 7 0 2", "TP 'text=Cam 2' '2' 'LongName'", "RN 7 2 2",
                                        "TP 'text=Cam 2' '2' 'ShortName'", "CE '2' 'LongName'",
                                        "CE '2' 'ShortName'", "CE '2' 'MtxNames'", "CE '2' 'Home'",
                                        "CD '2' 'Cancel'", "CD '2' 'Update'"}));

    typeLongName();
    for (int count = 9; count >= 1; --count) {
        const bool odd = count % 2 != 0;
        EXPECT_EQ(tick(1),
                  (std::vector<std::string>{odd ? "TP 'statesheet=QD_Update_High' '2' 'Update'"
                                                : "TP 'statesheet=QD_Update_Low' '2' 'Update'",
                                            odd ? "TP 'statesheet=QD_Cancel_Low' '2' 'Cancel'"
                                                : "TP 'statesheet=QD_Cancel_High' '2' 'Cancel'"}))
            << "count " << count;
    }
    const std::vector<std::string> end = {"TP 'statesheet=QD_Update_Low' '2' 'Update'",
                                          "TP 'statesheet=QD_Cancel_High' '2' 'Cancel'",
                                          "ET 1",
                                          "RN 7 0 2",
                                          "TP 'text=Cam 2' '2' 'LongName'",
                                          "RN 7 2 2",
                                          "TP 'text=Cam 2' '2' 'ShortName'",
                                          "CD '2' 'Update'",
                                          "CD '2' 'Cancel'",
                                          "CE '2' 'LongName'",
                                          "CE '2' 'ShortName'",
                                          "CE '2' 'KB_1'"};
    EXPECT_EQ(tick(1), end);
    // A tick after the end does not count on below zero (which would flash the
    // buttons for ever without stopping the timer again): it ends the countdown
    // once more.
    EXPECT_EQ(tick(1), end);
}

TEST_F(CorvaneEntryPoints, OtherTimersAreStoppedAtTheirFirstTick) {
    EXPECT_EQ(tick(3), std::vector<std::string>{"ET 3"});
    EXPECT_EQ(tick(0), std::vector<std::string>{"ET 0"});
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
    kovo_database_record last{7, 0, 3, 0, "VT 2"};
    script()->hostCallback(&last, KOVO_EVENT_DATABASE);
    EXPECT_EQ(link.commands(),
              std::vector<std::string>{"TP 'replace.id.2=003 = VT 2' '2' 'MtxNames'"});
}

}  // namespace
