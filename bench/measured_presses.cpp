// The measured part of the simulator's press figure (see tavisk_presses.h).
#include "tavisk_presses.h"

namespace kovo_bench {

void measuredPresses(kovo_host::simulator& sim, long long presses) {
    kovo_host::host_error error;
    for (long long i = 0; i < presses; ++i) {
        sim.press("ws", "1", "WS_01", error);
    }
}

}  // namespace kovo_bench
