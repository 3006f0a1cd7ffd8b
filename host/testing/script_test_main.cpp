// Runs session scripts as GoogleTest tests, one test per script given on the
// command line: kovo_script_tests [--plugins DIR] [--layouts DIR] [--site DIR] SCRIPT...
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "kovo_script_test.h"

namespace {

class script_case : public ::testing::Test {
  public:
    script_case(std::string path, kovo_host::simulator_options options)
        : path_(std::move(path)), options_(std::move(options)) {}

    void TestBody() override {
        const kovo_host_testing::script_outcome outcome =
            kovo_host_testing::runCheckedScript(path_, options_);
        if (outcome.status != 0) {
            ADD_FAILURE() << outcome.failure << "\n----- transcript of " << path_ << " -----\n"
                          << outcome.transcript;
        }
    }

  private:
    std::string path_;
    kovo_host::simulator_options options_;
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    kovo_host::simulator_options options = kovo_host::defaultOptions();
    std::vector<std::string> scripts;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string* target = arg == "--plugins"   ? &options.pluginDir
                              : arg == "--layouts" ? &options.layoutRoot
                              : arg == "--site"    ? &options.siteDir
                                                   : nullptr;
        if (target != nullptr && i + 1 < argc) {
            *target = argv[++i];
        } else if (target != nullptr || (!arg.empty() && arg[0] == '-')) {
            std::cerr << "kovo_script_tests: bad argument " << arg << "\n";
            return 2;
        } else {
            scripts.push_back(arg);
        }
    }
    for (const std::string& script : scripts) {
        const std::string name = std::filesystem::path(script).stem().string();
        ::testing::RegisterTest(
            "script", name.c_str(), nullptr, nullptr, script.c_str(), 0,
            [script, options]() -> ::testing::Test* { return new script_case(script, options); });
    }
    return RUN_ALL_TESTS();
}
