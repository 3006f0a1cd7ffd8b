// The record of a session: every command text with its code and answer, the
// plug-ins' debug output in its place, the events delivered, and every breach.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace kovo_host {

enum class entry_kind {
    action,     // a script line that starts an action
    command,    // code 0 from a script
    give_back,  // code 5 from a script
    debug,      // what a script wrote to its debug output between two commands
    event,      // an event the host delivered to a script
    note,       // something the host did or declined, worth knowing
    breach,     // a protocol breach by a script
    failure,    // a failed expectation, a refused action or a broken layout
    output,     // text printed for the session (show, query answers)
};

struct transcript_entry {
    entry_kind kind = entry_kind::note;
    std::uint64_t sequence = 0;  // 0, 1, 2 ... in the order added; set by the transcript
    std::string script;          // the script's name; empty for the host itself
    std::string text;
    int code = 0;
    bool answered = false;  // a command: an answer was given
    std::string answer;     // as shown: 'text', a status number, or (none)
    // A breach: where its rule starts in text, after "<command>: " (0 when it
    // names no command), so that a reader need not cut the text apart again.
    std::size_t ruleAt = 0;
};

// A breach by a script: the rule it broke, with the command it broke it with
// (none: empty).
transcript_entry breachEntry(const std::string& script, const std::string& command,
                             const std::string& rule);

// Keeps a window of the latest entries (a long session does not keep them all)
// and echoes every entry, formatted, to a stream: held back and written out
// together at the end of each action (flush), or sooner when much is waiting.
class transcript {
  public:
    transcript() = default;
    ~transcript();
    transcript(const transcript&) = delete;
    transcript& operator=(const transcript&) = delete;

    // Entries are echoed to this stream (none: silent); what waits for the old
    // stream is written to it first.
    void setEcho(std::ostream* echo);
    // Told of every entry as it is added, at once (none: nobody listens).
    void setObserver(std::function<void(const transcript_entry&)> observer) {
        observer_ = std::move(observer);
    }
    void add(transcript_entry&& entry);
    void add(const transcript_entry& entry) { add(transcript_entry(entry)); }
    // Writes out the echo held back so far.
    void flush();

    // The window: the latest entries, oldest first.
    const std::deque<transcript_entry>& entries() const { return entries_; }
    // The sequence number of the first entry in the window, and the one the
    // next entry will get (the window holds the ones in between).
    std::uint64_t firstSequence() const { return nextSequence_ - entries_.size(); }
    std::uint64_t nextSequence() const { return nextSequence_; }
    // The entry with that sequence number; null when it has left the window or
    // has not been added yet.
    const transcript_entry* find(std::uint64_t sequence) const;
    // Copies of the entries from that sequence number on, as far as the window
    // still holds them; at most `limit` of them.
    std::vector<transcript_entry> since(std::uint64_t sequence, std::size_t limit = SIZE_MAX) const;

    // The window keeps at least this many entries, and every entry from
    // keepFrom on however many there are (the action being checked).
    void setWindow(std::size_t entries) { window_ = entries; }
    void keepFrom(std::uint64_t sequence) { keepFrom_ = sequence; }

    // An empty string with the room of a text that left the window (or a new
    // one): an entry filled from it costs no allocation once the window is full.
    std::string spareText();

    static std::string format(const transcript_entry& entry);
    // The same line (or lines), appended to out.
    static void appendFormatted(const transcript_entry& entry, std::string& out);

  private:
    std::deque<transcript_entry> entries_;
    std::uint64_t nextSequence_ = 0;
    std::uint64_t keepFrom_ = UINT64_MAX;  // nothing held beyond the window
    std::size_t window_ = 50000;
    std::ostream* echo_ = nullptr;
    std::string held_;  // formatted echo not yet written
    std::function<void(const transcript_entry&)> observer_;
    std::vector<std::string> spare_;  // room of texts that left the window
    static constexpr std::size_t maxSpare = 16;
    void keepSpare(std::string& text);
};

}  // namespace kovo_host
