#include <gtest/gtest.h>

#include <sstream>

#include "interactive_shell.h"
#include "kovo_script_test.h"

using namespace kovo_host;

TEST(Shell, SameLanguageWithAutoshowTimersAndBadLines) {
    kovo_host_testing::temp_directory state;
    simulator sim(kovo_host_testing::testOptions(state.path()));
    std::string error;
    ASSERT_TRUE(sim.useSite(sim.options().siteDir, error)) << error;
    std::istringstream in(
        "load p kovo_host_probe instance=tests/host/layouts\n"
        "autoshow on\n"
        "press p 1 Go\n"
        "prss p 1 Go\n"
        "press p 1 Off\n"
        "event p 1 Relay send=ET 5 1\n"
        "advance 3\n"
        "help\n"
        "quit\n"
        "press p 1 Go\n");
    std::ostringstream out;
    EXPECT_EQ(runShell(sim, in, out, false), 0);
    const std::string text = out.str();
    const std::size_t press = text.find("# 3: press p 1 Go");
    ASSERT_NE(press, std::string::npos) << text;
    EXPECT_NE(text.find("== p panel 1: tests/host/layouts/probe.kovo_ui", press),
              std::string::npos);
    EXPECT_NE(text.find("!! unknown instruction \"prss\" (try help)"), std::string::npos) << text;
    EXPECT_NE(text.find("!! shell:5: cannot press Off"), std::string::npos) << text;
    EXPECT_NE(text.find("[p] <- timer 5 at "), std::string::npos) << text;
    EXPECT_NE(text.find("expect-px WORKSTATION TEXT"), std::string::npos);
    // Nothing after quit runs; leaving unloads the script.
    EXPECT_EQ(text.find("# 10:"), std::string::npos);
    EXPECT_NE(text.find("[p] 0 AS"), std::string::npos);
    EXPECT_TRUE(sim.scriptNames().empty());
}
