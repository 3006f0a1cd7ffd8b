#include "session_recorder.h"

#include <climits>

namespace kovo_serve {

bool fitsOnLine(const std::string& text) {
    return text.find_first_of("\r\n") == std::string::npos;
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
        requests_.push_back("expect-px " + std::to_string(workstation) + " " + text);
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
        lines_.push_back("expect " + command);
    }
    if (complete) {
        lines_.push_back("expect-none");
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
        lines_.push_back("advance " + std::to_string(INT_MAX));
        left -= INT_MAX;
    }
    lines_.push_back("advance " + std::to_string(left));
    flushChecks();
}

void session_recorder::actionDone(const std::string& line,
                                  const std::vector<std::string>& extraChecks) {
    if (!on_) {
        return;
    }
    lines_.push_back(line);
    flushChecks();
    lines_.insert(lines_.end(), extraChecks.begin(), extraChecks.end());
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
