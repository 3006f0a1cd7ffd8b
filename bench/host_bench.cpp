// The simulator's figures: commands a second in process, the names editor opened
// through a session script as `kovo-host run` carries it out, the checking of a
// whole opening's expectations, and Corvane's start-up on a large site.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "bench_site.h"
#include "kovo_os_host.h"
#include "lean_host.h"
#include "script_runner.h"
#include "session_script.h"
#include "simulator.h"
#include "tavisk_presses.h"

namespace fs = std::filesystem;

namespace {

using namespace kovo_bench;

// Tavisk presses in process, the transcript kept (not printed), its window full
// before the timing starts.
void simulatorCommands(benchmark::State& state) {
    tavisk_presses run;
    if (!run.error().empty()) {
        state.SkipWithError(run.error().c_str());
        return;
    }
    run.fillWindow();
    kovo_host::host_error error;
    long long presses = 0;
    for (auto _ : state) {
        run.sim().press("ws", "1", "WS_01", error);
        ++presses;
    }
    state.counters["commands/s"] = benchmark::Counter(
        static_cast<double>(presses) * run.commandsPerPress(), benchmark::Counter::kIsRate);
    state.counters["transcript entries kept"] = static_cast<double>(run.entriesKept());
}
BENCHMARK(simulatorCommands);

const char* const openingScript =
    "load c Corvane instance=panels/System/Corvane workstation=12\n"
    "press c 1 Area_name_0\npress c 1 Type_1\npress c 1 Edit_what_1\npress c 1 Router_1\n"
    "press c 1 DoEdit\n";

// The commands of the names editor's opening, as expect lines.
std::string openingExpectations(const std::string& siteDir, const std::string& store) {
    kovo_host::simulator sim(simulatorOptions(siteDir, store));
    const std::string script = store + ".probe.kovo";
    std::ofstream(script) << openingScript;
    std::ostringstream out, err;
    kovo_host::runScriptFile(sim, script, true, out, err);
    // The transcript lists the action's commands after its header line.
    std::istringstream lines(out.str());
    std::string line, expectations;
    bool inOpening = false;
    while (std::getline(lines, line)) {
        if (line.rfind("# ", 0) == 0) {
            inOpening = line.find("DoEdit") != std::string::npos;
        } else if (inOpening && line.rfind("  [c] 0 ", 0) == 0) {
            const std::size_t answer = line.find("  -> ", 8);
            expectations +=
                "expect " +
                line.substr(8, answer == std::string::npos ? std::string::npos : answer - 8) + "\n";
        }
    }
    return expectations + "expect-none\n";
}

// Carries out a session script the way `kovo-host run --check` does, line by
// line with the transcript echoed to a stream; only its last line is timed.
bool timeLastLine(benchmark::State& state, const std::string& siteDir, const std::string& store,
                  const std::string& script, bool fresh, std::string& error) {
    kovo_host::simulator_options options = simulatorOptions(siteDir, store);
    options.freshStore = fresh;
    kovo_host::simulator sim(options);
    std::ifstream in(script);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<kovo_host::script_line> lines;
    if (!kovo_host::parseScript(text.str(), script, lines, error) || lines.empty()) {
        return false;
    }
    std::ostringstream out;
    sim.log().setEcho(&out);
    kovo_host::runner_settings settings;
    settings.fileName = script;
    kovo_host::script_runner runner(sim, settings);
    // The opening is the action of the last "press" and the expectations after it.
    std::size_t opening = lines.size() - 1;
    while (opening > 0 && lines[opening].kind != kovo_host::line_kind::press) {
        --opening;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == opening) {
            state.ResumeTiming();
        }
        bool fatal = false;
        if (!runner.execute(lines[i], fatal)) {
            error = runner.firstFailure();
            return false;
        }
    }
    state.PauseTiming();
    runner.finish();
    sim.log().setEcho(nullptr);
    return true;
}

// The names editor opened as `kovo-host run` carries it out: the figure is the
// DoEdit line (and, checked, its expectations).
void runScript(benchmark::State& state, bool withExpectations) {
    const int names = static_cast<int>(state.range(0));
    const bench_site site(names, 0);
    const std::string store = site.dir() + "/../store.sqlite";
    const std::string script = site.dir() + "/../opening.kovo";
    {
        std::ofstream(script) << "site " << site.dir() << "\n"
                              << openingScript
                              << (withExpectations ? openingExpectations(site.dir(), store) : "");
    }
    std::string error;
    for (auto _ : state) {
        state.PauseTiming();
        // The first run seeds the store, as before any later run.
        if (!timeLastLine(state, site.dir(), store, script, false, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        state.ResumeTiming();
    }
    state.SetLabel(std::to_string(names) + " names");
}

void namesEditorOpening(benchmark::State& state) {
    runScript(state, false);
}
BENCHMARK(namesEditorOpening)->Arg(4096)->Arg(16384)->Unit(benchmark::kMillisecond);

void namesEditorOpeningChecked(benchmark::State& state) {
    runScript(state, true);
}
BENCHMARK(namesEditorOpeningChecked)->Arg(4096)->Arg(16384)->Unit(benchmark::kMillisecond);

// Corvane built and destroyed on a site of many configured objects; "first"
// makes the settings file look changed before every start-up, so it is read
// again each time.
void corvaneStartup(benchmark::State& state, bool first) {
    const int objects = static_cast<int>(state.range(0));
    const bench_site site(16, objects);
    lean_host host;
    std::string error;
    host.loadNames(site.dir(), error);
    useSite(site.dir(), 12);
    kovo_os::plugin_library library;
    if (!library.open(pluginPath("Corvane"), error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const auto create =
        reinterpret_cast<kovo_load_function>(library.symbol(KOVO_LOAD_FUNCTION_NAME));
    const fs::path settings = fs::path(site.dir()) / "config/system/object_settings.xml";
    auto stamp = fs::last_write_time(settings);
    delete create(&host, "panels/System/Corvane");  // the cache filled once
    for (auto _ : state) {
        if (first) {
            state.PauseTiming();
            stamp += std::chrono::seconds(1);
            fs::last_write_time(settings, stamp);
            state.ResumeTiming();
        }
        delete create(&host, "panels/System/Corvane");
    }
    state.SetLabel(std::to_string(objects) + " objects");
}

void corvaneFirstStartup(benchmark::State& state) {
    corvaneStartup(state, true);
}
BENCHMARK(corvaneFirstStartup)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void corvaneCachedStartup(benchmark::State& state) {
    corvaneStartup(state, false);
}
BENCHMARK(corvaneCachedStartup)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
