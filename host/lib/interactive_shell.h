// The interactive shell: session script lines typed one at a time.
#pragma once

#include <istream>
#include <ostream>

#include "simulator.h"

namespace kovo_host {

// Reads lines until "quit" or the end of input, carrying each out at once and
// printing the transcript; timers run on the real clock. Returns the exit status.
int runShell(simulator& sim, std::istream& in, std::ostream& out, bool interactive);

}  // namespace kovo_host
