// Sites written into a temporary folder for the benchmarks: a router with many
// names, and a configuration with many objects.
#pragma once

#include <string>

#include "simulator.h"

namespace kovo_bench {

class bench_site {
  public:
    // Area 0 "Bench" with router "Vid" (device 301) of `names` sources and
    // destinations, long and short names; `objects` further configured objects.
    bench_site(int names, int objects);
    ~bench_site();
    bench_site(const bench_site&) = delete;
    bench_site& operator=(const bench_site&) = delete;

    const std::string& dir() const { return dir_; }

  private:
    void write(const std::string& relative, const std::string& text) const;

    std::string root_;
    std::string dir_;
};

// The simulator's options for a benchmark: this build's defaults, the site, and
// a name store seeded afresh in the file given.
kovo_host::simulator_options simulatorOptions(const std::string& siteDir, const std::string& store);

// Points RX_ROOT and RX_SYSTEM at a site folder and sets RX_WORKSTATION.
void useSite(const std::string& siteDir, int workstation);

// The source tree, where the test and demo sites live.
std::string sourceDir();
// Where the built plug-ins are.
std::string pluginPath(const std::string& name);

}  // namespace kovo_bench
