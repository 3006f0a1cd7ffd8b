// The transcript keeps a bounded window of numbered entries, holds the echo
// back until a flush, and never lets go of the entries of the action being checked.
#include <gtest/gtest.h>

#include <sstream>

#include "text.h"
#include "transcript.h"

namespace {

using kovo_host::entry_kind;
using kovo_host::transcript;
using kovo_host::transcript_entry;

transcript_entry note(const std::string& text) {
    transcript_entry entry;
    entry.kind = entry_kind::note;
    entry.text = text;
    return entry;
}

TEST(Transcript, EntriesAreNumberedAndTheWindowStaysBounded) {
    transcript log;
    log.setWindow(3);
    for (int i = 0; i < 10; ++i) {
        log.add(note("n" + std::to_string(i)));
    }
    ASSERT_EQ(log.entries().size(), 3u);
    EXPECT_EQ(log.firstSequence(), 7u);
    EXPECT_EQ(log.nextSequence(), 10u);
    EXPECT_EQ(log.entries().front().sequence, 7u);
    EXPECT_EQ(log.entries().front().text, "n7");
    EXPECT_EQ(log.find(6), nullptr);
    ASSERT_NE(log.find(9), nullptr);
    EXPECT_EQ(log.find(9)->text, "n9");
    EXPECT_EQ(log.find(10), nullptr);

    // Reading since a number: from the window only, oldest first, at most limit.
    const auto since = log.since(2);
    ASSERT_EQ(since.size(), 3u);
    EXPECT_EQ(since[0].sequence, 7u);
    EXPECT_EQ(since[2].text, "n9");
    EXPECT_EQ(log.since(9).size(), 1u);
    EXPECT_TRUE(log.since(10).empty());
    ASSERT_EQ(log.since(7, 2).size(), 2u);
    EXPECT_EQ(log.since(7, 2)[1].sequence, 8u);
}

// Entries made from the room of texts that left the window hold exactly their
// own text and answer, never what the old entry had.
TEST(Transcript, SpareRoomComesBackEmpty) {
    transcript log;
    log.setWindow(2);
    EXPECT_EQ(log.spareText(), "");
    const std::string longText(100, 'x');
    for (int i = 0; i < 40; ++i) {
        transcript_entry entry;
        entry.kind = entry_kind::command;
        entry.text = log.spareText();
        EXPECT_TRUE(entry.text.empty());
        entry.text += i % 2 == 0 ? longText + std::to_string(i) : "short";
        entry.answer = log.spareText();
        EXPECT_TRUE(entry.answer.empty());
        entry.answer += std::string(30, 'a' + i % 26);
        log.add(std::move(entry));
    }
    ASSERT_EQ(log.entries().size(), 2u);
    EXPECT_EQ(log.entries().front().text, longText + "38");
    EXPECT_EQ(log.entries().front().answer, std::string(30, 'a' + 38 % 26));
    EXPECT_EQ(log.entries().back().text, "short");
    EXPECT_EQ(log.entries().back().answer, std::string(30, 'a' + 39 % 26));
}

TEST(Transcript, TheCheckedActionStaysWholeBeyondTheWindow) {
    transcript log;
    log.setWindow(2);
    log.add(note("before"));
    log.keepFrom(log.nextSequence());  // the action starts here
    for (int i = 0; i < 5; ++i) {
        log.add(note("a" + std::to_string(i)));
    }
    // The older entry goes, the action's five stay.
    EXPECT_EQ(log.firstSequence(), 1u);
    EXPECT_EQ(log.entries().size(), 5u);
    // The next action lets the previous one go down to the window.
    log.keepFrom(log.nextSequence());
    log.add(note("next"));
    EXPECT_EQ(log.entries().size(), 2u);
    EXPECT_EQ(log.entries().back().text, "next");
}

TEST(Transcript, EchoIsHeldUntilFlushedAndNeverLost) {
    std::ostringstream out;
    {
        transcript log;
        log.setEcho(&out);
        log.add(note("one"));
        log.add(note("two"));
        EXPECT_EQ(out.str(), "");
        log.flush();
        EXPECT_EQ(out.str(), "  (one)\n  (two)\n");
        log.add(note("three"));
        // Changing the stream writes out what waits for the old one.
        std::ostringstream other;
        log.setEcho(&other);
        EXPECT_EQ(out.str(), "  (one)\n  (two)\n  (three)\n");
        log.add(note("four"));
        log.setEcho(&out);
        EXPECT_EQ(other.str(), "  (four)\n");
        log.add(note("five"));
    }
    // The last entries go out when the transcript ends.
    EXPECT_EQ(out.str(), "  (one)\n  (two)\n  (three)\n  (five)\n");

    // A large amount held back is written out without waiting for the flush.
    std::ostringstream big;
    transcript log;
    log.setEcho(&big);
    for (int i = 0; i < 2000; ++i) {
        log.add(note(std::string(100, 'x')));
    }
    EXPECT_GT(big.str().size(), 100000u);
}

}  // namespace

// Control characters are shown escaped in their place between the plain runs.
TEST(Transcript, QuotedTextShowsControlCharactersInPlace) {
    EXPECT_EQ(kovo_host::quotedText(""), "''");
    EXPECT_EQ(kovo_host::quotedText("button=released"), "'button=released'");
    EXPECT_EQ(kovo_host::quotedText("\na\tb\r\x01\x7f\xc3\xa9z\n"),
              "'\\na\\tb\\r\\x01\\x7f\xc3\xa9z\\n'");
}
