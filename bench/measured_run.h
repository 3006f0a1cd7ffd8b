// The measured parts of the plug-in benchmarks. They live in a file of their own
// so they stay real functions: callgrind counts instructions inside them only
// (--toggle-collect), leaving set-up and checks out of the figures.
#pragma once

#include "command_floor.h"
#include "lean_host.h"
#include "plugin_scenarios.h"

namespace kovo_bench {

void measuredPluginCycles(scenario_run& run, int cycles);
void measuredFloorCycles(command_floor& floor, lean_host& host, int cycles);

// One run of a scenario prepared for measuring: the plug-in warmed up by one
// cycle, whose commands the floor makes again.
struct prepared_scenario {
    explicit prepared_scenario(const scenario& s);
    scenario_run run;
    command_floor floor;
    unsigned long commandsPerCycle = 0;
    std::string error;
};

}  // namespace kovo_bench
