// The record of a session: every command text with its code and answer, the
// plug-ins' debug output in its place, the events delivered, and every breach.
#pragma once

#include <cstddef>
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
    std::string script;  // the script's name; empty for the host itself
    std::string text;
    int code = 0;
    bool answered = false;  // a command: an answer was given
    std::string answer;     // as shown: 'text', a status number, or (none)
};

class transcript {
  public:
    // Entries are echoed, formatted, to this stream as they are added (none: silent).
    void setEcho(std::ostream* echo) { echo_ = echo; }
    // Told of every entry as it is added (none: nobody listens).
    void setObserver(std::function<void(const transcript_entry&)> observer) {
        observer_ = std::move(observer);
    }
    void add(transcript_entry entry);
    const std::vector<transcript_entry>& entries() const { return entries_; }

    static std::string format(const transcript_entry& entry);

  private:
    std::vector<transcript_entry> entries_;
    std::ostream* echo_ = nullptr;
    std::function<void(const transcript_entry&)> observer_;
};

// Shows a text in single quotes, with line ends and other control characters visible.
std::string quotedText(const std::string& text);

}  // namespace kovo_host
