#include "kovo_script_test.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "script_runner.h"

namespace fs = std::filesystem;

namespace kovo_host_testing {

temp_directory::temp_directory() {
    std::random_device device;
    std::mt19937_64 random(device() ^
                           static_cast<unsigned long long>(
                               std::chrono::steady_clock::now().time_since_epoch().count()));
    std::error_code code;
    const fs::path base = fs::temp_directory_path(code);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = base / ("kovo-host-test-" + std::to_string(random()));
        if (fs::create_directory(candidate, code)) {
            path_ = candidate.string();
            return;
        }
    }
    ADD_FAILURE() << "cannot create a temporary directory under " << base;
}

temp_directory::~temp_directory() {
    if (!path_.empty()) {
        std::error_code code;
        fs::remove_all(path_, code);
    }
}

kovo_host::simulator_options testOptions(const std::string& stateDir) {
    kovo_host::simulator_options options = kovo_host::defaultOptions();
    options.stateDir = stateDir;
    return options;
}

namespace {

script_outcome runWith(const std::string& path, const kovo_host::simulator_options& options) {
    script_outcome outcome;
    std::ostringstream out, err;
    kovo_host::simulator sim(options);
    std::string error;
    if (!sim.useSite(options.siteDir, error)) {
        outcome.status = 2;
        outcome.failure = error;
        return outcome;
    }
    outcome.status = kovo_host::runScriptFile(sim, path, true, out, err, &outcome.failure);
    outcome.transcript = out.str() + err.str();
    return outcome;
}

}  // namespace

script_outcome runCheckedScript(const std::string& path, const kovo_host::simulator_options& base) {
    temp_directory state;
    kovo_host::simulator_options options = base;
    options.stateDir = state.path();
    options.dbFile.clear();
    return runWith(path, options);
}

script_outcome runCheckedText(const std::string& text, const std::string& name,
                              const kovo_host::simulator_options& base) {
    temp_directory state;
    static std::atomic<int> counter{0};
    const fs::path file = fs::path(state.path()) / (std::to_string(counter++) + "-" + name);
    {
        std::ofstream out(file, std::ios::binary);
        out << text;
    }
    kovo_host::simulator_options options = base;
    options.stateDir = state.path();
    options.dbFile.clear();
    return runWith(file.string(), options);
}

}  // namespace kovo_host_testing
