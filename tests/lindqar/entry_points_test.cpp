// The host entry points that no session script can reach: a timer the plug-in
// never started, and the answers of hostCallback itself.
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

class LindqarEntryPoints : public ::testing::Test {
  protected:
    void SetUp() override {
        // No answers: a host that knows nothing.
        ASSERT_TRUE(plugin.load(LINDQAR_PLUGIN_PATH, &link, "panels/System/Lindqar"));
        link.clear();
    }
    void TearDown() override {
        plugin.unload();
        EXPECT_THAT(link.problems(), testing::IsEmpty());
    }

    kovo_client_callback* script() const { return plugin.script(); }

    RecordingHostLink link;  // outlives the script, whose destructor still sends
    LoadedPlugin plugin;
};

TEST_F(LindqarEntryPoints, TimerEventOnlyStopsThatTimer) {
    EXPECT_EQ(script()->hostCallback(reinterpret_cast<void*>(static_cast<std::intptr_t>(3)),
                                     KOVO_EVENT_TIMER),
              nullptr);
    EXPECT_EQ(link.commands(), std::vector<std::string>{"ET 3"});
}

TEST_F(LindqarEntryPoints, QueriesAndOtherEventsAnswerNothing) {
    EXPECT_EQ(script()->hostCallback(const_cast<char*>("return=all"), KOVO_EVENT_PARENT_QUERY),
              nullptr);
    EXPECT_EQ(script()->hostCallback(nullptr, KOVO_EVENT_PARENT_QUERY), nullptr);
    EXPECT_EQ(script()->hostCallback(nullptr, KOVO_EVENT_REVERTIVE), nullptr);
    EXPECT_EQ(script()->hostCallback(nullptr, 9), nullptr);
    EXPECT_TRUE(link.commands().empty());
}

TEST_F(LindqarEntryPoints, DestructionSendsOnlyTheStop) {
    plugin.destroyScript();
    EXPECT_EQ(link.commands(), std::vector<std::string>{"AS"});
}

// The map editor of router 101 on the "basic" site (8 sources), with host
// answers no simulator gives: list positions outside the list and a stored map
// with fields that are no crosspoints.
class LindqarHostileAnswers : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* source = std::getenv("KOVO_SOURCE_DIR");
        ASSERT_NE(source, nullptr);
        kovo_os::setEnvironment("RX_ROOT", source);
        kovo_os::setEnvironment("RX_SYSTEM", "tests/lindqar/sites/basic");
        kovo_os::setEnvironment("RX_WORKSTATION", "12");
        link.reply("SD 'StC SDI Router'", "101 0");
        link.replyExactly("RN 101 8 1", "-05,1500,abc,002");
        ASSERT_TRUE(plugin.load(LINDQAR_PLUGIN_PATH, &link, "panels/System/Lindqar"));
        for (const char* button : {"XPT_map_11", "FN_1", "Edit"}) {
            press("1", button);
        }
    }
    void TearDown() override {
        plugin.unload();
        EXPECT_THAT(link.problems(), testing::IsEmpty());
    }
    std::vector<std::string> press(const char* panel, const char* id) {
        link.clear();
        kovo_key_value eventText("button=released");
        kovo_control_record record{nullptr, nullptr, panel, id, &eventText};
        EXPECT_EQ(plugin.script()->hostCallback(&record, KOVO_EVENT_CONTROL), nullptr);
        return link.commands();
    }
    // The list answers TG 'selectedindex' with answer, then reports its event.
    std::vector<std::string> chooseXpoint(const std::string& answer) {
        link.replyExactly("TG '2' 'xpoints' 'selectedindex'", answer);
        return press("2", "xpoints");
    }

    RecordingHostLink link;
    LoadedPlugin plugin;
};

TEST_F(LindqarHostileAnswers, AListPositionOutsideTheListChoosesNoCrosspoint) {
    press("2", "Element_1");
    for (const char* answer :
         {"selectedindex=8", "selectedindex=2147483647", "selectedindex=99999999999",
          "selectedindex=-7", "selectedindex=x", "other=3"}) {
        const std::vector<std::string> chosen = chooseXpoint(answer);
        ASSERT_FALSE(chosen.empty());
        EXPECT_EQ(chosen.back(), "CD '2' 'SetMap'") << answer;
        EXPECT_EQ(press("2", "SetMap"), std::vector<std::string>{}) << answer;
    }
    // The last entry of the list is crosspoint 8.
    EXPECT_EQ(chooseXpoint("selectedindex=7").back(), "CE '2' 'SetMap'");
}

TEST_F(LindqarHostileAnswers, StoredFieldsThatAreNoCrosspointSaveBackAsUnmapped) {
    press("2", "Element_5");
    chooseXpoint("selectedindex=0");
    press("2", "SetMap");
    const std::vector<std::string> saved = press("2", "Save_to_Network");
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(saved.front(),
              "RM 101 8 1 '000,1500,000,002,001,000,000,000,000,000,000,000,000,000,000,000,000,"
              "000,000,000,000,000,000,000,000,000,000,000,000,000' 1");
}

}  // namespace
