// Behaviour of the simulator seen through its transcript: the order in which
// events reach scripts, timers, and the actions an operator cannot take.
#include <gtest/gtest.h>

#include "kovo_os_host.h"
#include "kovo_script_test.h"
#include "simulator.h"
#include "test_site.h"

using namespace kovo_host;

namespace {

class Simulator : public kovo_host_testing::kovo_script_test {
  protected:
    void SetUp() override {
        sim_ = std::make_unique<simulator>(options());
        std::string error;
        ASSERT_TRUE(sim_->useSite(options().siteDir, error)) << error;
    }
    void load(const std::string& name) {
        host_error error;
        ASSERT_TRUE(sim_->load(name, "kovo_host_probe", "tests/host/layouts", true, -1, error))
            << error;
    }
    void relay(const std::string& name, const std::string& command) {
        host_error error;
        ASSERT_TRUE(sim_->event(name, "1", "Relay", "send=" + command, error)) << error;
    }
    // The transcript from entry `from` on, one formatted line per entry.
    std::vector<std::string> linesFrom(std::size_t from) const {
        std::vector<std::string> lines;
        const auto& entries = sim_->log().entries();
        for (std::size_t i = from; i < entries.size(); ++i) {
            lines.push_back(transcript::format(entries[i]));
        }
        return lines;
    }
    std::size_t mark() const { return sim_->log().entries().size(); }

    std::unique_ptr<simulator> sim_;
};

void script_outcome_check(const kovo_host_testing::script_outcome& outcome, int status,
                          const std::string& failure) {
    EXPECT_EQ(outcome.status, status) << outcome.failure << "\n" << outcome.transcript;
    EXPECT_NE(outcome.failure.find(failure), std::string::npos) << outcome.failure;
}

}  // namespace

TEST_F(Simulator, DatabaseEventsFollowTheCallInOrderToRegisteredScripts) {
    load("a");
    load("b");
    load("c");
    relay("b", "RR 101 1 1");
    relay("a", "RR 101 1 1 'ADD'");
    const std::size_t from = mark();
    relay("a", "RM 101 0 5 'Replay 1' 0");
    const std::vector<std::string> expected = {
        "  [a] <- control 1 Relay 'send=RM 101 0 5 'Replay 1' 0'",
        "  [a] 0 RM 101 0 5 'Replay 1' 0",
        "  [a] <- database 101 0 5 'Replay 1'",
        "  [a] debug| database 101 0 5 Replay 1",
        "  [b] <- database 101 0 5 'Replay 1'",
        "  [b] debug| database 101 0 5 Replay 1",
    };
    EXPECT_EQ(linesFrom(from), expected);
    EXPECT_EQ(sim_->breachCount(), 0);

    // From outside, and after unregistering: only b hears of it.
    relay("a", "RU 101");
    const std::size_t second = mark();
    host_error error;
    ASSERT_TRUE(sim_->rename(101, 1, 2, "Monitor Two", error)) << error;
    const std::vector<std::string> renamed = {
        "  (stored 101 1 2 'Monitor Two')",
        "  [b] <- database 101 1 2 'Monitor Two'",
        "  [b] debug| database 101 1 2 Monitor Two",
    };
    EXPECT_EQ(linesFrom(second), renamed);
}

TEST_F(Simulator, DebugOutputSitsBetweenTheCommands) {
    load("a");
    const std::size_t from = mark();
    relay("a", "SD 'StC AES Router'");
    const std::vector<std::string> expected = {
        "  [a] <- control 1 Relay 'send=SD 'StC AES Router''",
        "  [a] 0 SD 'StC AES Router'  -> '103 0'",
        "  [a] debug| reply 103 0",
        "  [a] 5 reply to SD 'StC AES Router'",
    };
    EXPECT_EQ(linesFrom(from), expected);
}

// The host sets the plug-ins' environment only when it may have changed: another
// script runs, or something changed it through the platform layer since.
TEST_F(Simulator, EachCallSeesItsScriptsWorkstationWhateverChangedBetween) {
    host_error error;
    ASSERT_TRUE(sim_->load("a", "kovo_host_probe", "tests/host/layouts", true, 12, error)) << error;
    ASSERT_TRUE(sim_->load("b", "kovo_host_probe", "tests/host/layouts", true, 20, error)) << error;
    const auto workstationOf = [&](const std::string& name) {
        const std::size_t from = mark();
        EXPECT_TRUE(sim_->event(name, "1", "Workstation", "x=1", error)) << error;
        for (const std::string& line : linesFrom(from)) {
            const std::size_t at = line.find("debug| workstation ");
            if (at != std::string::npos) {
                return line.substr(at + 19);
            }
        }
        return std::string("(none)");
    };
    EXPECT_EQ(workstationOf("a"), "12");
    EXPECT_EQ(workstationOf("a"), "12");
    EXPECT_EQ(workstationOf("b"), "20");
    EXPECT_EQ(workstationOf("a"), "12");
    kovo_os::setEnvironment("RX_WORKSTATION", "99");
    EXPECT_EQ(workstationOf("a"), "12");
    kovo_os::unsetEnvironment("RX_WORKSTATION");
    EXPECT_EQ(workstationOf("a"), "12");
}

TEST_F(Simulator, RmOutsideTheDatabaseIsNotStored) {
    load("a");
    const std::size_t from = mark();
    relay("a", "RM 101 0 65 'Too far' 0");
    relay("a", "RM 5 0 1 'Nowhere' 0");
    const std::vector<std::string> lines = linesFrom(from);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[2], "  [a] (not stored: database 0 of device 101 has 64 entries)");
    EXPECT_EQ(lines[5], "  [a] (not stored: device 5 is not a device of the site)");
    std::string name, error;
    bool found = true;
    ASSERT_TRUE(sim_->storedName(101, 0, 65, name, found, error));
    EXPECT_FALSE(found);
}

TEST_F(Simulator, TimersFireInTimeOrderAndRepeatUntilStopped) {
    load("a");
    load("b");
    relay("a", "ET 1 300");
    relay("b", "ET 2 100");
    relay("b", "ET 3 250");
    const std::size_t from = mark();
    sim_->advance(600);
    std::vector<std::string> fired;
    for (const std::string& line : linesFrom(from)) {
        if (line.find("<- timer") != std::string::npos) {
            fired.push_back(line);
        }
    }
    const std::vector<std::string> expected = {
        "  [b] <- timer 2 at 100 ms", "  [b] <- timer 2 at 200 ms", "  [b] <- timer 3 at 250 ms",
        "  [a] <- timer 1 at 300 ms", "  [b] <- timer 2 at 300 ms", "  [b] <- timer 2 at 400 ms",
        "  [b] <- timer 2 at 500 ms", "  [b] <- timer 3 at 500 ms", "  [a] <- timer 1 at 600 ms",
        "  [b] <- timer 2 at 600 ms"};
    EXPECT_EQ(fired, expected);
    relay("b", "ET 2");
    relay("b", "ET 3 0");
    host_error error;
    ASSERT_TRUE(sim_->unload("a", error));
    const std::size_t later = mark();
    sim_->advance(1000);
    EXPECT_TRUE(linesFrom(later).empty());
    EXPECT_EQ(sim_->now(), 1600);
}

TEST_F(Simulator, OperatorCannotReachWhatIsNotThere) {
    load("a");
    host_error error;
    EXPECT_FALSE(sim_->press("a", "1", "Off", error));
    EXPECT_EQ(error.message,
              "cannot press Off on panel 1 of a: the control is disabled (send it anyway "
              "with an event line)");
    EXPECT_EQ(error.kind, error_kind::refused);
    EXPECT_FALSE(sim_->type("a", "1", "KB", "x", error));
    EXPECT_EQ(error.message,
              "cannot type on KB on panel 1 of a: the control is hidden (send it anyway "
              "with an event line)");
    EXPECT_EQ(error.kind, error_kind::refused);
    EXPECT_FALSE(sim_->press("a", "1", "Missing", error));
    EXPECT_EQ(error.kind, error_kind::no_control);
    EXPECT_FALSE(sim_->press("a", "2", "Back", error));
    EXPECT_EQ(error.message, "cannot press Back on panel 2 of a: the panel was never announced");
    EXPECT_EQ(error.kind, error_kind::no_panel);
    EXPECT_FALSE(sim_->choose("a", "1", "Names", 0, error));
    EXPECT_EQ(error.message, "list Names has no entry at position 0 (it holds 0)");
    EXPECT_EQ(error.kind, error_kind::refused);
    EXPECT_FALSE(sim_->press("a", "1", "Names", error));
    EXPECT_EQ(error.kind, error_kind::refused);
    EXPECT_FALSE(sim_->choose("a", "1", "Group", 1, error));
    EXPECT_EQ(error.message, "group 1 of Group is not enabled (send it anyway with an event line)");
    EXPECT_FALSE(sim_->choose("a", "1", "Page", 31, error));
    relay("a", "CE '1' 'Off'");
    EXPECT_TRUE(sim_->press("a", "1", "Off", error)) << error;
    relay("a", "PR '1'");
    EXPECT_FALSE(sim_->press("a", "1", "Off", error));
    EXPECT_EQ(error.message, "cannot press Off on panel 1 of a: the panel is not shown");
    EXPECT_EQ(error.kind, error_kind::refused);
    // What the script lacks is told before what the operator cannot reach.
    EXPECT_FALSE(sim_->press("a", "1", "Missing", error));
    EXPECT_EQ(error.kind, error_kind::no_control);
    EXPECT_FALSE(sim_->press("nobody", "1", "Off", error));
    EXPECT_EQ(error.kind, error_kind::no_script);
    EXPECT_FALSE(sim_->load("a", "kovo_host_probe", "tests/host/layouts", true, -1, error));
    EXPECT_EQ(error.kind, error_kind::name_taken);
    EXPECT_FALSE(sim_->rename(5, 0, 1, "x", error));
    EXPECT_EQ(error.kind, error_kind::no_device);
    EXPECT_FALSE(sim_->rename(101, 63, 1, "x", error));
    EXPECT_EQ(error.kind, error_kind::no_database);
    EXPECT_FALSE(sim_->rename(101, 0, 65, "x", error));
    EXPECT_EQ(error.message, "database 0 of device 101 has 64 entries, no index 65");
    EXPECT_EQ(error.kind, error_kind::no_index);
    EXPECT_EQ(sim_->breachCount(), 0);
}

TEST_F(Simulator, ParentQueryAnswerIsHandedBack) {
    load("a");
    std::string answer;
    host_error error;
    bool answered = false;
    ASSERT_TRUE(sim_->query("a", "echo=notify=*", true, answer, answered, error));
    EXPECT_TRUE(answered);
    EXPECT_EQ(answer, "notify=*");
    ASSERT_TRUE(sim_->query("a", "", false, answer, answered, error));
    EXPECT_FALSE(answered);
    EXPECT_EQ(sim_->breachCount(), 0);
}

TEST_F(Simulator, ExceptionFromThePlugInLeavesTheSessionUsable) {
    load("a");
    host_error error;
    ASSERT_TRUE(sim_->event("a", "1", "Throw", "x", error)) << error;
    EXPECT_EQ(sim_->breachCount(), 1);
    // Standard error is the host's again, and the script still answers.
    const std::size_t from = mark();
    relay("a", "SD 'StC AES Router'");
    const std::vector<std::string> lines = linesFrom(from);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "  [a] debug| reply 103 0");
    // A constructor that throws creates no script, and the next load works.
    EXPECT_FALSE(sim_->load("b", "kovo_host_probe", "throw", true, -1, error));
    EXPECT_NE(error.message.find("threw an exception: no script was created"), std::string::npos)
        << error;
    EXPECT_EQ(error.kind, error_kind::unusable);
    EXPECT_FALSE(sim_->isLoaded("b"));
    load("b");
}

TEST_F(Simulator, EndlessTimerCannotHoldUpAnAdvance) {
    simulator_options bounded = options();
    bounded.maxEventsPerAction = 20;
    bounded.captureDebugOutput = true;
    sim_ = std::make_unique<simulator>(bounded);
    std::string error;
    ASSERT_TRUE(sim_->useSite(bounded.siteDir, error)) << error;
    load("a");
    relay("a", "ET 1 1");
    const std::size_t from = mark();
    sim_->advance(1000000000);
    int fired = 0;
    for (const std::string& line : linesFrom(from)) {
        fired += line.find("<- timer 1") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(fired, 20);
    EXPECT_EQ(sim_->failureCount(), 1);
    EXPECT_EQ(sim_->now(), 1000000000);
    // The timer runs on from the new time.
    const std::size_t later = mark();
    sim_->advance(2);
    EXPECT_EQ(linesFrom(later).size(), 4u);  // two expiries, each with its debug line
}

TEST_F(Simulator, LoadNamesItsSiteOneSiteAtATime) {
    test_site files;
    const std::string load =
        "load p kovo_host_probe instance=tests/host/layouts site=" + files.dir();
    script_outcome_check(runText(load +
                                 "\n"
                                 "event p 1 Relay send=SD 'Test Router'\n"
                                 "expect-debug reply 7 3\\n\n"
                                 "load q kovo_host_probe instance=tests/host/layouts site=" +
                                 files.dir() + "\n"),
                         0, "");
    script_outcome_check(runText(load + "\nload q kovo_host_probe site=sites/demo\n"), 2,
                         "inline.kovo:2: site sites/demo: the scripts loaded use ");
}
