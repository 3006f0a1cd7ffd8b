// The plug-in scenarios measured against their floor: a plug-in loaded into the
// lean host, brought to a starting state, then driven through one cycle of
// events that ends where it began, so cycles can be repeated.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "bench_site.h"
#include "kovo_interface.h"
#include "kovo_os_host.h"
#include "lean_host.h"

namespace kovo_bench {

struct bench_event {
    const char* panel;  // null: a tick of timer `timer`
    const char* control;
    const char* text;
    int timer;
};

struct scenario {
    const char* name;
    const char* plugin;
    int generatedNames;   // > 0: a generated site with a router of that many names
    const char* siteDir;  // otherwise a site of the source tree
    int workstation;
    std::vector<std::pair<std::string, std::string>> gets;  // "TG" text -> answer
    std::vector<bench_event> setup;
    std::vector<bench_event> cycle;
};

// Every scenario, by name.
const std::vector<scenario>& scenarios();
const scenario* findScenario(const std::string& name);

// One scenario, loaded and brought to its starting state.
class scenario_run {
  public:
    explicit scenario_run(const scenario& s);
    ~scenario_run();
    scenario_run(const scenario_run&) = delete;
    scenario_run& operator=(const scenario_run&) = delete;

    // Empty when the run is ready; otherwise what went wrong.
    const std::string& error() const { return error_; }
    void cycle();
    lean_host& host() { return host_; }

  private:
    // An event with its record built beforehand, so a cycle costs only the calls.
    struct prepared_event {
        std::unique_ptr<kovo_key_value> text;
        kovo_control_record record;
        int timer;
    };
    prepared_event prepare(const bench_event& e) const;
    void deliver(prepared_event& e);

    std::unique_ptr<bench_site> site_;
    lean_host host_;
    kovo_os::plugin_library library_;
    kovo_client_callback* script_ = nullptr;
    std::vector<prepared_event> cycle_;
    std::string error_;
};

}  // namespace kovo_bench
