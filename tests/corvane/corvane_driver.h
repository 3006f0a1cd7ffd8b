// Drives the real Corvane plug-in through its export on a recording host link:
// for what no session script can reach (a host without an answer for some
// names, timer ticks the plug-in never asked for), with exact command texts.
#pragma once

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

class CorvaneDriver : public ::testing::Test {
  protected:
    // Loads Corvane on a site of the source tree for a workstation.
    void start(const char* site, const char* workstation) {
        const char* source = std::getenv("KOVO_SOURCE_DIR");
        ASSERT_NE(source, nullptr);
        kovo_os::setEnvironment("RX_ROOT", source);
        kovo_os::setEnvironment("RX_SYSTEM", site);
        kovo_os::setEnvironment("RX_WORKSTATION", workstation);
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
    std::vector<std::string> press(const char* panel, const char* id) {
        return control(panel, id, "button=released");
    }
    std::vector<std::string> tick(int timer) {
        link.clear();
        EXPECT_EQ(script()->hostCallback(reinterpret_cast<void*>(static_cast<std::intptr_t>(timer)),
                                         KOVO_EVENT_TIMER),
                  nullptr);
        return link.commands();
    }
    // Presses the home panel buttons of a choice, the last one "DoEdit".
    std::vector<std::string> choose(std::initializer_list<const char*> buttons) {
        std::vector<std::string> last;
        for (const char* button : buttons) {
            last = press("1", button);
        }
        return last;
    }
    // The keyboard of panel as the host answers it: the text typed.
    void keyboardHolds(const char* panel, const std::string& text) {
        link.replyExactly(std::string("TG '") + panel + "' 'KB_1' 'text'", "text=" + text);
    }
    // A name button of panel 2 as the host answers it: the text put on it.
    void buttonHolds(const char* button, const std::string& text) {
        link.replyExactly(std::string("TG '2' '") + button + "' 'text'", "text=" + text);
    }

    RecordingHostLink link;  // outlives the script, whose destructor still sends
    LoadedPlugin plugin;
};

// The commands from the first one equal to first on; empty when there is none.
inline std::vector<std::string> after(const std::vector<std::string>& commands,
                                      const std::string& first) {
    for (auto it = commands.begin(); it != commands.end(); ++it) {
        if (*it == first) {
            return std::vector<std::string>(it, commands.end());
        }
    }
    return {};
}

// Whether any command starts with prefix.
inline bool anyStartsWith(const std::vector<std::string>& commands, const std::string& prefix) {
    for (const std::string& command : commands) {
        if (command.compare(0, prefix.size(), prefix) == 0) {
            return true;
        }
    }
    return false;
}
