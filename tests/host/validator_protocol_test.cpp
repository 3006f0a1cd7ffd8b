// What the validator's children report: findings as data, grouped by a
// signature without their particulars, and the result file that carries them
// to the parent.
#include <gtest/gtest.h>

#include "child_protocol.h"
#include "finding.h"

using namespace kovo_host;

TEST(FindingSignature, DropsTheParticulars) {
    EXPECT_EQ(breachFinding(3, "p", "RM 0 8 201 'x' 0",
                            "invariant database-size: index 201 is outside database 8 of device "
                            "0 (0 entries)")
                  .signature(),
              "RM invariant database-size");
    EXPECT_EQ(breachFinding(1, "q", "TP 'a' '1' 'FN_7'",
                            "the layout of panel 1 (x1280.kovo_ui) has no control \"FN_7\"")
                  .signature(),
              breachFinding(9, "p", "TP 'b' '3' 'XPT_0'",
                            "the layout of panel 3 (x1024.kovo_ui) has no control \"XPT_0\"")
                  .signature());
    // A ": " inside the command's own words is no part of the rule.
    EXPECT_EQ(breachFinding(1, "p", "PS '2' 'a: b.kovo_ui'",
                            "panel 1 is still shown (one panel at a time: remove it with PR first)")
                  .signature(),
              "PS: panel N is still shown (one panel at a time: remove it with PR first)");
    EXPECT_EQ(
        breachFinding(1, "p", "TP 'it's: x' '1' 'A'",
                      "malformed: a quoted word is not closed (odd number of quote characters)")
            .signature(),
        "TP: malformed: a quoted word is not closed (odd number of quote characters)");
    // Breaches with no command keep their rule whole.
    EXPECT_EQ(breachFinding(1, "p", "", "an exception escaped hostCallback").signature(),
              "an exception escaped hostCallback");
    EXPECT_EQ(hostFinding(finding_kind::hang, 4,
                          "hang: a step took 9000 ms (bound 5000 ms): press p 1 DoEdit")
                  .signature(),
              "hang");
    EXPECT_EQ(hostFinding(finding_kind::failure, 2,
                          "more than 20 events caused by one action: the scripts keep provoking "
                          "each other; the rest is dropped")
                  .signature(),
              "more than N events caused by one action: the scripts keep provoking each other; the "
              "rest is dropped");
    EXPECT_EQ(crashFinding(7, "crash: signal 11", "press p 1 Go").signature(), "crash: signal 11");
}

TEST(FindingSignature, MessagesReadAsTheTranscriptSaysThem) {
    EXPECT_EQ(
        breachFinding(3, "p", "RM 7 0 1 'x' 0", "invariant operator-action: RM sent").message(),
        "protocol breach by p: RM 7 0 1 'x' 0: invariant operator-action: RM sent");
    EXPECT_EQ(breachFinding(3, "p", "", "an exception escaped the destructor").message(),
              "protocol breach by p: an exception escaped the destructor");
    EXPECT_EQ(crashFinding(7, "crash: signal 11", "press p 1 Go").message(),
              "crash: signal 11 at: press p 1 Go");
}

TEST(ChildProtocol, ResultFileCarriesEveryFieldAndTheEnd) {
    const finding breach =
        breachFinding(12, "p", "TP 'a\tb' '1' 'X'", "the layout of panel 1 has no control \"X\"");
    const finding failure = hostFinding(finding_kind::failure, 13, "layout error: x\ny");
    const std::string text = child_protocol::resultLine(breach) + "\r\n" +
                             child_protocol::resultLine(failure) + "\n" +
                             child_protocol::stepsLine(40) + "\n";
    const child_protocol::child_results read = child_protocol::readResults(text);
    ASSERT_EQ(read.findings.size(), 2u);
    EXPECT_TRUE(read.finished);
    EXPECT_EQ(read.steps, 40);
    EXPECT_EQ(read.findings[0].kind, finding_kind::breach);
    EXPECT_EQ(read.findings[0].line, 12);
    EXPECT_EQ(read.findings[0].script, "p");
    // A tab or line end inside a field is written as a space: one finding a line.
    EXPECT_EQ(read.findings[0].command, "TP 'a b' '1' 'X'");
    EXPECT_EQ(read.findings[0].signature(), breach.signature());
    EXPECT_EQ(read.findings[1].kind, finding_kind::failure);
    EXPECT_EQ(read.findings[1].text, "layout error: x y");

    // A run that did not end has no steps line; a torn last line is no finding.
    const child_protocol::child_results torn =
        child_protocol::readResults(child_protocol::resultLine(breach) + "\n13\tbrea");
    EXPECT_FALSE(torn.finished);
    EXPECT_EQ(torn.findings.size(), 1u);
}
