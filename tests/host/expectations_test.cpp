// Each kind of expectation must fail, naming the line, when what happened differs.
#include <gtest/gtest.h>

#include "kovo_script_test.h"

using kovo_host_testing::script_outcome;

namespace {

class Expectations : public kovo_host_testing::kovo_script_test {
  protected:
    void expectFailure(const std::string& lines, const std::string& message) {
        const script_outcome outcome = runText(
            "load p kovo_host_probe instance=tests/host/layouts\n"
            "event p 1 Relay send=TG '1' 'Go' 'text'\n" +
            lines);
        EXPECT_EQ(outcome.status, 1) << lines << "\n" << outcome.transcript;
        EXPECT_NE(outcome.failure.find(message), std::string::npos) << lines << "\n"
                                                                    << outcome.failure;
    }
};

}  // namespace

TEST_F(Expectations, CommandsAreCheckedInOrderFromTheFirst) {
    expectFailure("expect TP 'text=x' '1' 'Go'\n",
                  "inline.kovo:3: expected \"TP 'text=x' '1' 'Go'\", but command 1 of the action "
                  "was \"TG '1' 'Go' 'text'\"");
    expectFailure("expect TG '1' 'Go' 'text'\nexpect TG '1' 'Go' 'text'\n",
                  "inline.kovo:4: expected \"TG '1' 'Go' 'text'\", but the action sent nothing "
                  "more (1 command)");
    // What an earlier action sent is passed over by the next one.
    const script_outcome passed = runText(
        "load p kovo_host_probe instance=tests/host/layouts\n"
        "event p 1 Relay send=TG '1' 'Go' 'text'\n"
        "press p 1 Go\n"
        "expect-none\n");
    EXPECT_EQ(passed.status, 0) << passed.failure;
}

TEST_F(Expectations, NoneDebugNamePxAndAnswer) {
    expectFailure("expect-none\n",
                  "inline.kovo:3: expected nothing more, but the action also sent \"TG '1' 'Go' "
                  "'text'\" (1 unchecked)");
    expectFailure("expect-debug reply text=Stop\n",
                  "inline.kovo:3: expected debug output containing 'reply text=Stop', but what is "
                  "left of it is 'reply text=Go\\n'");
    expectFailure("expect-debug reply\nexpect-debug reply\n",
                  "inline.kovo:4: expected debug output containing 'reply', but what is left of "
                  "it is ' text=Go\\n'");
    expectFailure("expect-name 101 0 1 Camera One\n",
                  "inline.kovo:3: the name stored at 101 0 1 is 'Camera 1', expected 'Camera One'");
    expectFailure("expect-name 101 0 64000 x\n", "the name stored at 101 0 64000 is missing");
    expectFailure("event p 1 Relay send=IW 998 'PX run.exe' 12 1\nexpect-px 14 PX run.exe\n",
                  "inline.kovo:4: no process-execution request 'PX run.exe' reached workstation "
                  "14 (it got none)");
    expectFailure("query p echo=yes\nexpect-answer no\n",
                  "inline.kovo:4: the query was answered 'yes', expected 'no'");
    expectFailure("query p other\nexpect-answer x\n", "the query was answered with null");
    expectFailure("expect-answer x\n", "expect-answer needs a query before it");
}
