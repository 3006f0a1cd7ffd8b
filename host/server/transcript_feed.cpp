#include "transcript_feed.h"

#include <algorithm>

namespace kovo_serve {

namespace {

const char* kindWord(kovo_host::entry_kind kind) {
    using kovo_host::entry_kind;
    switch (kind) {
        case entry_kind::action:
            return "action";
        case entry_kind::command:
            return "command";
        case entry_kind::give_back:
            return "give_back";
        case entry_kind::debug:
            return "debug";
        case entry_kind::event:
            return "event";
        case entry_kind::note:
            return "note";
        case entry_kind::breach:
            return "breach";
        case entry_kind::failure:
            return "failure";
        case entry_kind::output:
            return "output";
    }
    return "note";
}

}  // namespace

void transcript_feed::start() {
    base_ = log_.nextSequence();
    pushed_ = base_;
}

std::uint64_t transcript_feed::last() const {
    return log_.nextSequence() - base_;
}

std::uint64_t transcript_feed::readableFrom() const {
    const std::uint64_t next = log_.nextSequence();
    const std::uint64_t newest = next - std::min<std::uint64_t>(next - base_, kept_);
    return std::max(newest, log_.firstSequence());
}

std::uint64_t transcript_feed::first() const {
    return readableFrom() - base_ + 1;
}

json transcript_feed::entryJson(const kovo_host::transcript_entry& entry) const {
    return {{"seq", entry.sequence - base_ + 1},
            {"kind", kindWord(entry.kind)},
            {"script", entry.script},
            {"text", kovo_host::transcript::format(entry)}};
}

json transcript_feed::range(std::uint64_t from, const std::string& script) const {
    json out = json::array();
    for (std::uint64_t s = std::max(from, readableFrom()); s < log_.nextSequence(); ++s) {
        const kovo_host::transcript_entry& entry = *log_.find(s);
        if (script.empty() || entry.script == script) {
            out.push_back(entryJson(entry));
        }
    }
    return out;
}

json transcript_feed::entries(std::uint64_t since, const std::string& script) const {
    // Entry n is simulator sequence base_ + n - 1: those after `since` start at base_ + since.
    const std::uint64_t from =
        since > log_.nextSequence() - base_ ? log_.nextSequence() : base_ + since;
    return range(from, script);
}

json transcript_feed::newest(std::size_t count) const {
    const std::uint64_t next = log_.nextSequence();
    return range(next - std::min<std::uint64_t>(next - base_, count), "");
}

json transcript_feed::takeUnpushed(std::size_t limit, std::size_t& omitted) {
    const std::uint64_t next = log_.nextSequence();
    const std::uint64_t from = next - std::min<std::uint64_t>(next - pushed_, limit);
    omitted = static_cast<std::size_t>(std::max(from, log_.firstSequence()) - pushed_);
    pushed_ = next;
    return range(from, "");
}

}  // namespace kovo_serve
