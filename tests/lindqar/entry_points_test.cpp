// The host entry points that no session script can reach: a timer the plug-in
// never started, and the answers of hostCallback itself.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kovo_interface.h"
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

}  // namespace
