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

namespace {

// A person typing lines at given times, on a clock that only the shell's waits move.
struct typist {
    std::vector<long long> arrivals;  // when each line (and then the end of input) arrives
    std::size_t next = 0;
    long long now = 0;

    bool wait(int ms) {
        const long long arrival = arrivals[std::min(next, arrivals.size() - 1)];
        if (arrival <= now || ms < 0 || now + ms >= arrival) {
            now = std::max(now, arrival);
            ++next;
            return true;
        }
        now += ms;
        return false;
    }
};

}  // namespace

TEST(Shell, TimersFireOnTheRealClockWhileThePersonThinks) {
    kovo_host_testing::temp_directory state;
    simulator sim(kovo_host_testing::testOptions(state.path()));
    std::string error;
    ASSERT_TRUE(sim.useSite(sim.options().siteDir, error)) << error;
    std::istringstream in(
        "load p kovo_host_probe instance=tests/host/layouts\n"
        "event p 1 Relay send=ET 5 100\n"
        "show p\n"
        "press p 1 Go\n");
    typist person;
    person.arrivals = {5, 10, 1000, 1000, 1050};
    shell_terminal terminal;
    terminal.prompt = true;
    terminal.elapsed = [&] { return person.now; };
    terminal.waitForInput = [&](int ms) {
        // The shell first asks whether a line is already there (typed ahead).
        if (ms == 0) {
            const long long arrival =
                person.arrivals[std::min(person.next, person.arrivals.size() - 1)];
            return arrival <= person.now;
        }
        return person.wait(ms);
    };
    std::ostringstream out;
    EXPECT_EQ(runShell(sim, in, out, terminal), 0);
    const std::string text = out.str();
    std::vector<std::string> fired;
    for (std::size_t at = text.find("<- timer 5 at "); at != std::string::npos;
         at = text.find("<- timer 5 at ", at + 1)) {
        fired.push_back(text.substr(at + 14, text.find(' ', at + 14) - at - 14));
    }
    const std::vector<std::string> expected = {"110", "210", "310", "410", "510",
                                               "610", "710", "810", "910", "1010"};
    EXPECT_EQ(fired, expected) << text;
    // A timer that fires at the prompt starts on a line of its own; the show
    // comes after the nine that fell due before it was typed.
    EXPECT_NE(text.find("kovo> \n  [p] <- timer 5 at 110 ms"), std::string::npos) << text;
    EXPECT_LT(text.find("at 910 ms"), text.find("== p panel 1"));
    EXPECT_LT(text.find("== p panel 1"), text.find("at 1010 ms"));
    // Lines typed at the prompt get no header; the one typed ahead does.
    EXPECT_EQ(text.find("# 1:"), std::string::npos) << text;
    EXPECT_NE(text.find("# 4: press p 1 Go"), std::string::npos) << text;
    // The end of input leaves the prompt line and unloads.
    EXPECT_NE(text.find("kovo> \n# leaving the shell: unloading what is still loaded"),
              std::string::npos)
        << text;
}
