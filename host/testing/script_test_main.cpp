// Runs session scripts as GoogleTest tests, one test per script given on the
// command line: kovo_script_tests [--plugins DIR] [--layouts DIR] [--site DIR]
// [--transcripts DIR] SCRIPT...
// With --transcripts, each script's transcript is written to DIR as
// <folder>_<name>.txt, to compare runs against other builds of the plug-ins.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "kovo_script_test.h"

namespace {

class script_case : public ::testing::Test {
  public:
    script_case(std::string path, kovo_host::simulator_options options, std::string transcript)
        : path_(std::move(path)),
          options_(std::move(options)),
          transcript_(std::move(transcript)) {}

    void TestBody() override {
        const kovo_host_testing::script_outcome outcome =
            kovo_host_testing::runCheckedScript(path_, options_);
        if (outcome.status != 0) {
            ADD_FAILURE() << outcome.failure << "\n----- transcript of " << path_ << " -----\n"
                          << outcome.transcript;
        }
        if (!transcript_.empty()) {
            std::ofstream out(transcript_, std::ios::binary);
            out << outcome.transcript;
            EXPECT_TRUE(out.flush()) << "cannot write " << transcript_;
        }
    }

  private:
    std::string path_;
    kovo_host::simulator_options options_;
    std::string transcript_;  // where the transcript goes; empty: nowhere
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    kovo_host::simulator_options options = kovo_host::defaultOptions();
    std::vector<std::string> scripts;
    std::string transcripts;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string* target = arg == "--plugins"       ? &options.pluginDir
                              : arg == "--layouts"     ? &options.layoutRoot
                              : arg == "--site"        ? &options.siteDir
                              : arg == "--transcripts" ? &transcripts
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
        // Scripts of two folders may share a name.
        const std::filesystem::path path(script);
        const std::string name =
            path.parent_path().filename().string() + "_" + path.stem().string();
        const std::string transcript =
            transcripts.empty() ? std::string()
                                : (std::filesystem::path(transcripts) / (name + ".txt")).string();
        ::testing::RegisterTest("script", name.c_str(), nullptr, nullptr, script.c_str(), 0,
                                [script, options, transcript]() -> ::testing::Test* {
                                    return new script_case(script, options, transcript);
                                });
    }
    return RUN_ALL_TESTS();
}
