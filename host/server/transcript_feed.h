// The emulator's numbering of the simulator's transcript: entries numbered from
// 1 since the session started, read straight from the simulator's own window
// (a step that fills a list of thousands is not copied a second time), the
// newest `kept` of them readable, and a mark of what the pages were sent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "transcript.h"

namespace kovo_serve {

using nlohmann::json;

class transcript_feed {
  public:
    transcript_feed(const kovo_host::transcript& log, std::size_t kept) : log_(log), kept_(kept) {}

    // Entries added from now on are numbered from 1; none is pushed yet.
    void start();

    // The number of the newest entry (0: none yet), and of the oldest one still
    // readable (last() + 1 when none is).
    std::uint64_t last() const;
    std::uint64_t first() const;

    // The readable entries after number `since`, of one script (empty: all),
    // as {"seq", "kind", "script", "text"}.
    json entries(std::uint64_t since, const std::string& script) const;
    // The newest `count` readable entries.
    json newest(std::size_t count) const;

    bool hasUnpushed() const { return log_.nextSequence() > pushed_; }
    // The entries added since the last call, at most the newest `limit` of
    // them; `omitted` tells how many more there were.
    json takeUnpushed(std::size_t limit, std::size_t& omitted);

  private:
    std::uint64_t readableFrom() const;  // simulator sequence of the oldest readable entry
    json entryJson(const kovo_host::transcript_entry& entry) const;
    json range(std::uint64_t from, const std::string& script) const;

    const kovo_host::transcript& log_;
    std::size_t kept_;
    std::uint64_t base_ = 0;    // simulator sequence of entry 1
    std::uint64_t pushed_ = 0;  // simulator sequence of the first entry not pushed
};

}  // namespace kovo_serve
