// Runs the simulator's press figure for callgrind:
//   valgrind --tool=callgrind --toggle-collect='kovo_bench::measuredPresses*'
//       kovo_count_presses <presses>
// after the transcript's window is full; prints the commands the measured
// presses sent. The instructions come from callgrind's totals.
#include <cstdio>
#include <cstdlib>

#include "tavisk_presses.h"

int main(int argc, char** argv) {
    const long long presses = argc == 2 ? std::atoll(argv[1]) : 0;
    if (presses < 2 || presses % 2 != 0) {
        std::fprintf(stderr, "usage: %s <even number of presses>\n", argv[0]);
        return 2;
    }
    kovo_bench::tavisk_presses run;
    if (!run.error().empty()) {
        std::fprintf(stderr, "%s\n", run.error().c_str());
        return 1;
    }
    run.fillWindow();
    kovo_bench::measuredPresses(run.sim(), presses);
    std::printf("presses %lld\ncommands %.0f\n", presses,
                static_cast<double>(presses) * run.commandsPerPress());
    return 0;
}
