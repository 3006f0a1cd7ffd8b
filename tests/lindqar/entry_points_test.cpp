// The host entry points that no session script can reach: a timer the plug-in
// never started, and the answers of hostCallback itself.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kovo_os_host.h"
#include "kovo_interface.h"

namespace {

// Records every command; answers none (a host that knows nothing).
class recording_link final : public kovo_host_link {
  public:
    recording_link() = default;
    recording_link(const recording_link&) = delete;
    recording_link& operator=(const recording_link&) = delete;
    // Never destroyed through the interface, which has no virtual destructor.
    virtual ~recording_link() = default;

    char* sendCommand(const char* text, int code) override {
        if (code == KOVO_CODE_COMMAND) {
            commands.emplace_back(text != nullptr ? text : "");
        }
        return nullptr;
    }
    std::vector<std::string> commands;
};

class LindqarEntryPoints : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(library.open(LINDQAR_PLUGIN_PATH, error)) << error;
        auto load = reinterpret_cast<kovo_load_function>(library.symbol(KOVO_LOAD_FUNCTION_NAME));
        ASSERT_NE(load, nullptr);
        script = load(&link, "panels/System/Lindqar");
        ASSERT_NE(script, nullptr);
        link.commands.clear();
    }
    void TearDown() override {
        delete script;
        library.close();
    }

    kovo_os::plugin_library library;
    recording_link link;
    kovo_client_callback* script = nullptr;
};

TEST_F(LindqarEntryPoints, TimerEventOnlyStopsThatTimer) {
    EXPECT_EQ(script->hostCallback(reinterpret_cast<void*>(static_cast<std::intptr_t>(3)),
                                   KOVO_EVENT_TIMER),
              nullptr);
    EXPECT_EQ(link.commands, std::vector<std::string>{"ET 3"});
}

TEST_F(LindqarEntryPoints, QueriesAndOtherEventsAnswerNothing) {
    EXPECT_EQ(script->hostCallback(const_cast<char*>("return=all"), KOVO_EVENT_PARENT_QUERY),
              nullptr);
    EXPECT_EQ(script->hostCallback(nullptr, KOVO_EVENT_PARENT_QUERY), nullptr);
    EXPECT_EQ(script->hostCallback(nullptr, KOVO_EVENT_REVERTIVE), nullptr);
    EXPECT_EQ(script->hostCallback(nullptr, 9), nullptr);
    EXPECT_TRUE(link.commands.empty());
}

TEST_F(LindqarEntryPoints, DestructionSendsOnlyTheStop) {
    delete script;
    script = nullptr;
    EXPECT_EQ(link.commands, std::vector<std::string>{"AS"});
}

}  // namespace
