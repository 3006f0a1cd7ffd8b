// Tavisk on the demo site in process, one press of WS_01 at a time (it selects
// and deselects in turn), the transcript kept but not printed: the simulator's
// commands-a-second figure, timed by kovo_host_bench and counted by callgrind
// through kovo_count_presses.
#pragma once

#include <string>

#include "bench_site.h"
#include "simulator.h"

namespace kovo_bench {

class tavisk_presses {
  public:
    tavisk_presses();
    tavisk_presses(const tavisk_presses&) = delete;
    tavisk_presses& operator=(const tavisk_presses&) = delete;
    ~tavisk_presses();

    // Empty when ready; otherwise why not.
    const std::string& error() const { return error_; }
    // Commands one press sends, on average over a selecting and a deselecting one.
    double commandsPerPress() const { return commandsPerPress_; }
    // Presses until the transcript's window is full, so that what is measured
    // after is the steady state of a long session (old entries leave as new
    // ones come).
    void fillWindow();
    std::size_t entriesKept() const { return sim_.log().entries().size(); }
    kovo_host::simulator& sim() { return sim_; }

  private:
    bench_site scratch_;
    kovo_host::simulator sim_;
    std::string error_;
    double commandsPerPress_ = 0;
};

// The measured presses, in a file of their own so callgrind can count them alone.
void measuredPresses(kovo_host::simulator& sim, long long presses);

}  // namespace kovo_bench
