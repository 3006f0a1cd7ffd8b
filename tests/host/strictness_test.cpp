// The protocol checks, each provoked through the faulty test plug-in. Every
// breach must fail a --check run at the line that caused it and name the rule.
#include <gtest/gtest.h>

#include "kovo_script_test.h"

using kovo_host_testing::kovo_script_test;
using kovo_host_testing::script_outcome;

namespace {

const char load[] =
    "load p kovo_host_probe instance=tests/host/layouts\n"
    "expect PS '1' 'tests/host/layouts/probe.kovo_ui'\n";

class Strictness : public kovo_script_test {
  protected:
    // Runs the probe with one more line, which must fail at line 3 with this text.
    void expectBreach(const std::string& line, const std::string& rule) {
        const script_outcome outcome = runText(std::string(load) + line + "\nexpect-none\n");
        EXPECT_EQ(outcome.status, 1) << outcome.transcript;
        EXPECT_NE(outcome.failure.find("inline.kovo:3: protocol breach by p: "), std::string::npos)
            << outcome.failure;
        EXPECT_NE(outcome.failure.find(rule), std::string::npos) << outcome.failure;
    }
};

}  // namespace

TEST_F(Strictness, ReplyBufferNotGivenBack) {
    expectBreach("event p 1 Keep send=TG '1' 'Go' 'text'",
                 "TG '1' 'Go' 'text': the reply buffer was not given back (code 5) before the "
                 "call into the script returned");
}

TEST_F(Strictness, ReplyBufferGivenBackTwice) {
    expectBreach("event p 1 Twice send=RN 101 0 1",
                 "RN 101 0 1: the reply buffer was given back twice");
}

TEST_F(Strictness, ForeignPointerGivenBack) {
    expectBreach("event p 1 Foreign x", "a pointer was given back that the host never lent");
}

TEST_F(Strictness, ReplyGivenBackAfterItsCallback) {
    const script_outcome outcome = runText(std::string(load) +
                                           "event p 1 Keep send=SD 'StC SDI Router'\n"
                                           "event p 1 Late x\n");
    EXPECT_EQ(outcome.status, 1);
    // The first breach is keeping the buffer past its call.
    EXPECT_NE(outcome.failure.find(":3: protocol breach by p: SD 'StC SDI Router': the reply "
                                   "buffer was not given back"),
              std::string::npos)
        << outcome.failure;
}

TEST_F(Strictness, UnknownCommand) {
    expectBreach("event p 1 Relay send=ZZ '1'", "ZZ '1': unknown command \"ZZ\"");
}

TEST_F(Strictness, WrongArgumentCount) {
    expectBreach("event p 1 Relay send=CE '1'", "CE '1': malformed: CE takes 2 arguments, not 1");
}

TEST_F(Strictness, NumberThatIsNotANumber) {
    expectBreach("event p 1 Relay send=ET one 250",
                 "ET one 250: malformed: argument 1 of ET is not a number: \"one\"");
}

TEST_F(Strictness, PanelNeverAnnounced) {
    expectBreach("event p 1 Relay send=TP 'text=x' '7' 'Go'",
                 "TP 'text=x' '7' 'Go': panel 7 was never announced (PI or PS)");
}

TEST_F(Strictness, ControlNotInTheLayout) {
    expectBreach("event p 1 Relay send=CD '1' 'Nope'",
                 "CD '1' 'Nope': the layout of panel 1 (tests/host/layouts/probe.kovo_ui) has no "
                 "control \"Nope\"");
}

// A look put back on the control an event came from is the script's answer to
// the host, which named that control itself: only a note, also later.
TEST_F(Strictness, ControlAnEventNamedIsOnlyANote) {
    const std::string named = std::string(load) + "event p 1 Nope button=released\n";
    const script_outcome outcome =
        runText(named + "event p 1 Relay send=TP 'statesheet=x' '1' 'Nope'\n" +
                "expect TP 'statesheet=x' '1' 'Nope'\n" + "event p 1 Relay send=CD '1' 'Nope'\n");
    EXPECT_EQ(outcome.status, 0) << outcome.failure;
    EXPECT_NE(outcome.transcript.find("has no control \"Nope\", which an event named: passed over"),
              std::string::npos)
        << outcome.transcript;
    // Another control the layout lacks is still a breach.
    const script_outcome other = runText(named + "event p 1 Relay send=CD '1' 'Other'\n");
    EXPECT_EQ(other.status, 1) << other.transcript;
    EXPECT_NE(other.failure.find("inline.kovo:4: protocol breach by p: CD '1' 'Other': the layout "
                                 "of panel 1 (tests/host/layouts/probe.kovo_ui) has no control "
                                 "\"Other\""),
              std::string::npos)
        << other.failure;
}

TEST_F(Strictness, TwoPanelsShownAtOnce) {
    expectBreach("event p 1 Relay send=PS '2' 'tests/host/layouts/second.kovo_ui'",
                 "PS '2' 'tests/host/layouts/second.kovo_ui': panel 1 is still shown");
}

TEST_F(Strictness, CommandAfterAS) {
    const script_outcome outcome = runText(std::string(load) +
                                           "event p 1 Relay send=AS\n"
                                           "expect AS\n"
                                           "unload p\n");
    EXPECT_EQ(outcome.status, 1) << outcome.transcript;
    // The framework's destructor sends "AS" again: after the first one, that is a breach.
    EXPECT_NE(outcome.failure.find("inline.kovo:5: protocol breach by p: AS: sent after AS"),
              std::string::npos)
        << outcome.failure;
}

TEST_F(Strictness, PointerReturnedForAnEventThatTakesNoAnswer) {
    expectBreach("event p 1 Answer x",
                 "hostCallback returned a pointer for an event of type 2 (only parent queries, "
                 "type 3, answer)");
}

TEST_F(Strictness, ExceptionStaysInsideThePlugIn) {
    expectBreach("event p 1 Throw x", "an exception escaped hostCallback");
}

TEST_F(Strictness, EventsToAStoppedScriptAreRefused) {
    const script_outcome outcome =
        runText(std::string(load) + "event p 1 Relay send=AS\npress p 1 Go\n");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.failure.find("inline.kovo:4: cannot press Go on panel 1 of p: the script "
                                   "has stopped"),
              std::string::npos)
        << outcome.failure;
}

TEST_F(Strictness, WellBehavedUseIsNoBreach) {
    const script_outcome outcome =
        runText(std::string(load) +
                "event p 1 Relay send=TG '1' 'Go' 'text'\n"
                "expect TG '1' 'Go' 'text'\n"
                "expect-debug reply text=Go\\n\n"
                "event p 1 Relay send=PR '1'\n"
                "event p 1 Relay send=PS '2' 'tests/host/layouts/second.kovo_ui'\n"
                "event p 1 Relay send=RN 999 0 1\n"
                "expect RN 999 0 1\n"
                "expect-none\n"
                "unload p\n"
                "expect AS\n");
    EXPECT_EQ(outcome.status, 0) << outcome.failure << "\n" << outcome.transcript;
}

TEST_F(Strictness, BrokenLayoutFailsMissingLayoutOnlyNotes) {
    script_outcome outcome = runText(
        std::string(load) + "event p 1 Relay send=PI '3' 'tests/host/layouts/broken.kovo_ui'\n");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.failure.find("inline.kovo:3: layout error: "), std::string::npos)
        << outcome.failure;
    EXPECT_NE(outcome.failure.find("unknown kind \"dial\""), std::string::npos) << outcome.failure;
    outcome = runText(std::string(load) +
                      "event p 1 Relay send=PI '3' 'tests/host/layouts/none.kovo_ui'\n"
                      "event p 1 Relay send=TP 'text=free' '3' 'Anything'\n");
    EXPECT_EQ(outcome.status, 0) << outcome.failure;
    EXPECT_NE(outcome.transcript.find("(no layout"), std::string::npos);
}

TEST_F(Strictness, WrongExpectationNamesTheLine) {
    const script_outcome outcome = runText(std::string(load) + "expect CD '1' 'Confirm'\n");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.failure.find("inline.kovo:3: expected \"CD '1' 'Confirm'\", but the action "
                                   "sent nothing more (1 command)"),
              std::string::npos)
        << outcome.failure;
}

TEST_F(Strictness, PlugInThatCannotBeUsed) {
    script_outcome outcome = runText("load p kovo_host_probe_noexport\n");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.failure.find("inline.kovo:1: the plug-in "), std::string::npos);
    EXPECT_NE(outcome.failure.find("lacks the export load_kovo_client_script"), std::string::npos)
        << outcome.failure;
    outcome = runText("load p kovo_host_probe_null\n");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.failure.find("returned null: no script was created"), std::string::npos)
        << outcome.failure;
    outcome = runText("load p kovo_host_probe instance=throw\n");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.failure.find("threw an exception: no script was created"), std::string::npos)
        << outcome.failure;
    outcome = runText("load p no_such_plugin\n");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.failure.find("cannot open the plug-in"), std::string::npos)
        << outcome.failure;
    outcome = runText("site no/such/site\nload p kovo_host_probe\n");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.failure.find("inline.kovo:1: site directory no/such/site does not exist"),
              std::string::npos)
        << outcome.failure;
}
