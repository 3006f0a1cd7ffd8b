#include "measured_run.h"

namespace kovo_bench {

void measuredPluginCycles(scenario_run& run, int cycles) {
    for (int i = 0; i < cycles; ++i) {
        run.cycle();
    }
}

void measuredFloorCycles(command_floor& floor, lean_host& host, int cycles) {
    for (int i = 0; i < cycles; ++i) {
        floor.run(host);
    }
}

prepared_scenario::prepared_scenario(const scenario& s) : run(s) {
    error = run.error();
    if (!error.empty()) {
        return;
    }
    std::vector<std::string> texts;
    run.host().record(&texts);
    run.cycle();
    run.host().record(nullptr);
    commandsPerCycle = texts.size();
    if (floor.prepare(texts, error)) {
        floor.verify(error);
    }
    run.host().resetCount();
}

}  // namespace kovo_bench
