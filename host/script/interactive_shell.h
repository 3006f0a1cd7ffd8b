// The interactive shell: session script lines typed one at a time.
#pragma once

#include <functional>
#include <istream>
#include <ostream>

#include "simulator.h"

namespace kovo_host {

// What the shell knows of the person at the other end.
struct shell_terminal {
    bool prompt = false;  // print a prompt before each line (a person is typing)
    // Waits up to the given milliseconds (negative: without limit) for a line to
    // arrive; false when the time ran out. Empty: read at once.
    std::function<bool(int)> waitForInput;
    // Milliseconds since the shell started; empty: the real (steady) clock.
    std::function<long long()> elapsed;
};

// Reads lines until "quit" or the end of input, carrying each out at once and
// printing the transcript; timers run on the terminal's clock and fire while
// the shell waits for the next line. Returns the exit status.
int runShell(simulator& sim, std::istream& in, std::ostream& out, const shell_terminal& terminal);

// The same with a prompt or without, timers delivered before each line.
int runShell(simulator& sim, std::istream& in, std::ostream& out, bool interactive);

}  // namespace kovo_host
