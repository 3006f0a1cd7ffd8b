// Runs one plug-in scenario or its floor for a number of cycles, for callgrind:
//   valgrind --tool=callgrind --toggle-collect='kovo_bench::measured*'
//       kovo_count_commands <scenario> plugin|floor <cycles>
// prints the number of commands the measured part sent; the instructions come
// from callgrind's totals. Without arguments it lists the scenarios.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "measured_run.h"

int main(int argc, char** argv) {
    using namespace kovo_bench;
    if (argc != 4) {
        for (const scenario& s : scenarios()) {
            std::printf("%s\n", s.name);
        }
        return argc == 1 ? 0 : 2;
    }
    const scenario* s = findScenario(argv[1]);
    const std::string mode = argv[2];
    const int cycles = std::atoi(argv[3]);
    if (s == nullptr || (mode != "plugin" && mode != "floor") || cycles < 1) {
        std::fprintf(stderr, "usage: %s <scenario> plugin|floor <cycles>\n", argv[0]);
        return 2;
    }
    prepared_scenario prepared(*s);
    if (!prepared.error.empty()) {
        std::fprintf(stderr, "%s: %s\n", s->name, prepared.error.c_str());
        return 1;
    }
    lean_host& host = prepared.run.host();
    if (mode == "plugin") {
        measuredPluginCycles(prepared.run, cycles);
    } else {
        measuredFloorCycles(prepared.floor, host, cycles);
    }
    std::printf("commands %lu\n", host.commands());
    return 0;
}
