// The emulator's numbering of the simulator's transcript: what the API and the
// pages read, straight from the simulator's window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transcript_feed.h"

namespace {

using kovo_serve::json;

void add(kovo_host::transcript& log, const std::string& script, const std::string& text) {
    kovo_host::transcript_entry entry;
    entry.kind = kovo_host::entry_kind::note;
    entry.script = script;
    entry.text = text;
    log.add(std::move(entry));
}

std::vector<unsigned long long> numbers(const json& entries) {
    std::vector<unsigned long long> out;
    for (const json& e : entries) {
        out.push_back(e["seq"].get<unsigned long long>());
    }
    return out;
}

using seqs = std::vector<unsigned long long>;

TEST(transcript_feed, NumbersFromOneSinceTheStartAndKeepsTheNewest) {
    kovo_host::transcript log;
    add(log, "", "before the session");
    kovo_serve::transcript_feed feed(log, 5);
    feed.start();
    EXPECT_EQ(feed.last(), 0u);
    EXPECT_EQ(feed.first(), 1u);
    EXPECT_TRUE(feed.entries(0, "").empty());
    for (int i = 1; i <= 8; ++i) {
        add(log, i % 2 ? "ws" : "cv", "entry " + std::to_string(i));
    }
    EXPECT_EQ(feed.last(), 8u);
    EXPECT_EQ(feed.first(), 4u);  // the newest five
    EXPECT_EQ(numbers(feed.entries(0, "")), (seqs{4, 5, 6, 7, 8}));
    EXPECT_EQ(numbers(feed.entries(6, "")), (seqs{7, 8}));
    EXPECT_EQ(numbers(feed.entries(0, "ws")), (seqs{5, 7}));
    EXPECT_TRUE(feed.entries(8, "").empty());
    EXPECT_TRUE(feed.entries(999999999999999999ull, "").empty());
    EXPECT_EQ(numbers(feed.newest(2)), (seqs{7, 8}));
    const json eighth = feed.entries(7, "")[0];
    EXPECT_EQ(eighth["script"], "cv");
    EXPECT_EQ(eighth["kind"], "note");
    EXPECT_NE(eighth["text"].get<std::string>().find("entry 8"), std::string::npos);
}

TEST(transcript_feed, PushesWhatIsNewTheNewestOfItAndCountsTheRest) {
    kovo_host::transcript log;
    kovo_serve::transcript_feed feed(log, 100);
    feed.start();
    EXPECT_FALSE(feed.hasUnpushed());
    for (int i = 0; i < 10; ++i) {
        add(log, "cv", "add");
    }
    ASSERT_TRUE(feed.hasUnpushed());
    std::size_t omitted = 99;
    EXPECT_EQ(numbers(feed.takeUnpushed(3, omitted)), (seqs{8, 9, 10}));
    EXPECT_EQ(omitted, 7u);
    EXPECT_FALSE(feed.hasUnpushed());
    add(log, "cv", "one more");
    EXPECT_EQ(numbers(feed.takeUnpushed(3, omitted)), (seqs{11}));
    EXPECT_EQ(omitted, 0u);
}

TEST(transcript_feed, EntriesGoneFromTheSimulatorsWindowAreOmittedNotRead) {
    kovo_host::transcript log;
    log.setWindow(4);
    kovo_serve::transcript_feed feed(log, 100);
    feed.start();
    for (int i = 0; i < 10; ++i) {
        add(log, "", "x");
    }
    EXPECT_EQ(feed.first(), 7u);
    EXPECT_EQ(numbers(feed.entries(2, "")), (seqs{7, 8, 9, 10}));
    std::size_t omitted = 0;
    EXPECT_EQ(numbers(feed.takeUnpushed(8, omitted)), (seqs{7, 8, 9, 10}));
    EXPECT_EQ(omitted, 6u);
}

}  // namespace
