// Wall time per command of each plug-in scenario and of its floor. Instruction
// counts (tools/bench.sh, callgrind) are the figures to compare; these are the
// secondary, clock-dependent ones.
#include <benchmark/benchmark.h>

#include "measured_run.h"

namespace {

using namespace kovo_bench;

void perCommand(benchmark::State& state, const prepared_scenario& prepared) {
    state.counters["commands"] = benchmark::Counter(
        static_cast<double>(prepared.commandsPerCycle) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// One cycle of the scenario at a time, by the plug-in or by its floor.
void scenarioCycles(benchmark::State& state, const scenario* s, bool floor) {
    prepared_scenario prepared(*s);
    if (!prepared.error.empty()) {
        state.SkipWithError(prepared.error.c_str());
        return;
    }
    for (auto _ : state) {
        if (floor) {
            measuredFloorCycles(prepared.floor, prepared.run.host(), 1);
        } else {
            measuredPluginCycles(prepared.run, 1);
        }
    }
    perCommand(state, prepared);
}

const bool registered = [] {
    for (const scenario& s : scenarios()) {
        benchmark::RegisterBenchmark((std::string("plugin/") + s.name).c_str(), scenarioCycles, &s,
                                     false);
        benchmark::RegisterBenchmark((std::string("floor/") + s.name).c_str(), scenarioCycles, &s,
                                     true);
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
