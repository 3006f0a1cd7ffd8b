// The steps of one validation run, drawn from a seeded generator: mostly what
// an operator can do on the shown panel, and now and then something hostile
// (raw events, odd timers and database events, parent queries, hostile host
// answers, names changed from outside, an unload and reload). Each step is one
// or more session script lines, written by the script writer.
#pragma once

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "simulator.h"

namespace kovo_host {

struct step_settings {
    std::string scriptName = "p";
    std::string plugin;    // as the load line names it
    int workstation = -1;  // -1: the site's first
    std::string instance;  // the layouts' folder when the site carries its own; "": the plug-in's
};

class step_generator {
  public:
    // The same seed and run give the same steps for the same panel states.
    step_generator(std::uint64_t seed, int run, step_settings settings);

    // The lines of the next step, for the simulator as it is now.
    std::vector<std::string> next(const simulator& sim);

  private:
    std::size_t below(std::size_t n);  // 0 to n-1
    bool chance(int percent);
    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[below(items.size())];
    }
    std::string loadLine() const;
    std::vector<std::string> operatorStep(const simulator& sim);
    std::vector<std::string> hostileStep(const simulator& sim);
    std::string rawEvent(const simulator& sim);
    std::string renameLine(const simulator& sim);
    std::string hostileName();
    void noteReachable(const simulator& sim);

    std::mt19937_64 random_;
    step_settings settings_;
    // "panel control" of every control seen enabled and visible on a shown
    // panel in this run: a raw press on one of them after it went disabled is
    // the stale press a real host can deliver.
    std::set<std::string> seenReachable_;
};

// Seed of one run, mixed from the campaign's seed and the run number.
std::uint64_t runSeed(std::uint64_t seed, int run);

}  // namespace kovo_host
