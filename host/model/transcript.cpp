#include "transcript.h"

#include <algorithm>

namespace kovo_host {

namespace {
// Echo held back beyond this is written out at once, so memory stays bounded.
constexpr std::size_t maxHeldEcho = 1 << 16;
}  // namespace

transcript_entry breachEntry(const std::string& script, const std::string& command,
                             const std::string& rule) {
    transcript_entry entry;
    entry.kind = entry_kind::breach;
    entry.script = script;
    if (!command.empty()) {
        entry.text = command + ": ";
        entry.ruleAt = entry.text.size();
    }
    entry.text += rule;
    return entry;
}

transcript::~transcript() {
    flush();
}

void transcript::setEcho(std::ostream* echo) {
    flush();
    echo_ = echo;
}

void transcript::add(transcript_entry&& entry) {
    entry.sequence = nextSequence_++;
    entries_.push_back(std::move(entry));
    if (echo_ != nullptr) {
        appendFormatted(entries_.back(), held_);
        held_ += '\n';
        if (held_.size() > maxHeldEcho) {
            flush();
        }
    }
    if (observer_) {
        observer_(entries_.back());
    }
    // The newest entry always stays, whatever the window.
    while (entries_.size() > std::max<std::size_t>(window_, 1) &&
           entries_.front().sequence < keepFrom_) {
        keepSpare(entries_.front().text);
        keepSpare(entries_.front().answer);
        entries_.pop_front();
    }
}

void transcript::keepSpare(std::string& text) {
    // Only room on the heap is worth keeping, and only a few of them: a handful
    // of entries are made between two that leave.
    if (text.capacity() > std::string().capacity() && spare_.size() < maxSpare) {
        text.clear();
        spare_.push_back(std::move(text));
    }
}

std::string transcript::spareText() {
    if (spare_.empty()) {
        return std::string();
    }
    std::string text = std::move(spare_.back());
    spare_.pop_back();
    return text;
}

void transcript::flush() {
    if (echo_ != nullptr && !held_.empty()) {
        echo_->write(held_.data(), static_cast<std::streamsize>(held_.size()));
        echo_->flush();
    }
    held_.clear();
}

const transcript_entry* transcript::find(std::uint64_t sequence) const {
    if (sequence < firstSequence() || sequence >= nextSequence_) {
        return nullptr;
    }
    return &entries_[static_cast<std::size_t>(sequence - firstSequence())];
}

std::vector<transcript_entry> transcript::since(std::uint64_t sequence, std::size_t limit) const {
    std::vector<transcript_entry> found;
    for (std::uint64_t s = std::max(sequence, firstSequence());
         s < nextSequence_ && found.size() < limit; ++s) {
        found.push_back(*find(s));
    }
    return found;
}

std::string transcript::format(const transcript_entry& entry) {
    std::string line;
    appendFormatted(entry, line);
    return line;
}

void transcript::appendFormatted(const transcript_entry& entry, std::string& out) {
    // Appended piece by piece: an entry is formatted for every echo, so no
    // temporaries are built on the way.
    const auto who = [&] {
        if (!entry.script.empty()) {
            out += '[';
            out += entry.script;
            out += "] ";
        }
    };
    switch (entry.kind) {
        case entry_kind::action:
        case entry_kind::output:
            out += entry.text;
            return;
        case entry_kind::command:
            out += "  ";
            who();
            out += "0 ";
            out += entry.text;
            if (entry.answered) {
                out += "  -> ";
                out += entry.answer;
            }
            return;
        case entry_kind::give_back:
            out += "  ";
            who();
            out += "5 ";
            out += entry.text;
            return;
        case entry_kind::debug: {
            // One transcript line per non-empty line of output: the framework's
            // messages start and end with line ends of their own.
            bool any = false;
            std::size_t start = 0;
            while (start < entry.text.size()) {
                std::size_t end = entry.text.find('\n', start);
                if (end == std::string::npos) {
                    end = entry.text.size();
                }
                if (end > start) {
                    if (any) {
                        out += '\n';
                    }
                    out += "  ";
                    who();
                    out += "debug| ";
                    out.append(entry.text, start, end - start);
                    any = true;
                }
                start = end + 1;
            }
            if (!any) {
                out += "  ";
                who();
                out += "debug| ";
            }
            return;
        }
        case entry_kind::event:
            out += "  ";
            who();
            out += "<- ";
            out += entry.text;
            return;
        case entry_kind::note:
            out += "  ";
            who();
            out += '(';
            out += entry.text;
            out += ')';
            return;
        case entry_kind::breach:
            out += "!! protocol breach";
            if (!entry.script.empty()) {
                out += " by ";
            }
            out += entry.script;
            out += ": ";
            out += entry.text;
            return;
        case entry_kind::failure:
            out += "!! ";
            out += entry.text;
            return;
    }
    out += entry.text;
}

}  // namespace kovo_host
