#include "session_recorder.h"

#include <climits>

#include "script_writer.h"

namespace kovo_serve {

using kovo_host::fitsOnLine;
using kovo_host::writeScriptLine;

void session_recorder::write(const kovo_host::script_line& line) {
    lines_.push_back(writeScriptLine(line));
}

void session_recorder::start(long long clock, const std::vector<std::string>& header) {
    on_ = true;
    lastClock_ = clock;
    lines_ = header;
    commands_.clear();
    requests_.clear();
}

void session_recorder::stop(long long clock) {
    if (!on_) {
        return;
    }
    beforeAction(clock);
    on_ = false;
}

void session_recorder::commandSent(const std::string& text) {
    if (on_) {
        commands_.push_back(text);
    }
}

void session_recorder::requestReached(int workstation, const std::string& text) {
    if (on_ && fitsOnLine(text)) {
        requests_.push_back(writeScriptLine(kovo_host::expectPxLine(workstation, text)));
    }
}

void session_recorder::flushChecks() {
    bool complete = true;
    for (const std::string& command : commands_) {
        if (!fitsOnLine(command)) {
            // An expectation cannot hold a line end; the rest goes unchecked.
            lines_.push_back("# the next command holds a line end: not checked from here on");
            complete = false;
            break;
        }
        write(kovo_host::expectLine(command));
    }
    if (complete) {
        write(kovo_host::expectNoneLine());
    }
    lines_.insert(lines_.end(), requests_.begin(), requests_.end());
    commands_.clear();
    requests_.clear();
}

void session_recorder::beforeAction(long long clock) {
    if (!on_) {
        return;
    }
    if (clock <= lastClock_) {
        commands_.clear();  // nothing ran between the two actions
        requests_.clear();
        return;
    }
    long long left = clock - lastClock_;
    lastClock_ = clock;
    // An "advance" line takes at most INT_MAX milliseconds: a long pause takes several.
    while (left > INT_MAX) {
        write(kovo_host::advanceLine(INT_MAX));
        left -= INT_MAX;
    }
    write(kovo_host::advanceLine(static_cast<int>(left)));
    flushChecks();
}

void session_recorder::actionDone(const kovo_host::script_line& line,
                                  const std::vector<kovo_host::script_line>& extraChecks) {
    if (!on_) {
        return;
    }
    write(line);
    flushChecks();
    for (const kovo_host::script_line& check : extraChecks) {
        write(check);
    }
}

void session_recorder::dropAction() {
    commands_.clear();
    requests_.clear();
}

std::string session_recorder::text() const {
    std::string out;
    for (const std::string& line : lines_) {
        out += line + "\n";
    }
    return out;
}

}  // namespace kovo_serve
