// Running session scripts as tests: each run gets a fresh private name store in
// a temporary directory, so runs are independent and can go in parallel.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "simulator.h"

namespace kovo_host_testing {

// A directory of its own under the system's temporary folder, removed with the object.
class temp_directory {
  public:
    temp_directory();
    ~temp_directory();
    temp_directory(const temp_directory&) = delete;
    temp_directory& operator=(const temp_directory&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

struct script_outcome {
    int status = 0;          // as kovo-host run --check: 0 passed, 1 failed, 2 unusable
    std::string failure;     // "file:line: what went wrong"
    std::string transcript;  // everything the run printed
};

// Options of this build (plug-in folder, layout root, demo site) with the name
// store in stateDir.
kovo_host::simulator_options testOptions(const std::string& stateDir);

// Runs a script file, or a script given as text (name used in messages; its
// relative site paths start at the layout root), with --check semantics.
script_outcome runCheckedScript(const std::string& path, const kovo_host::simulator_options& base);
script_outcome runCheckedText(const std::string& text, const std::string& name,
                              const kovo_host::simulator_options& base);

// Fixture for C++ tests that drive scripts: a private state directory per test.
class kovo_script_test : public ::testing::Test {
  protected:
    kovo_host::simulator_options options() const { return testOptions(state_.path()); }
    script_outcome runText(const std::string& text) const {
        return runCheckedText(text, "inline.kovo", options());
    }

  private:
    temp_directory state_;
};

}  // namespace kovo_host_testing
