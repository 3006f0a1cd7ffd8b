// kovo-host validate against the test editor plug-in, whose workstation number
// chooses a seeded fault: it must find the fault, shrink it to a short script
// that `run --check` fails on, give the same run for the same seed, and find
// nothing in the editor without a fault.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "kovo_os_host.h"
#include "kovo_script_test.h"

namespace fs = std::filesystem;

namespace {

struct host_run {
    int status = -1;
    std::string output;
};

// Read as text: on Windows the host writes its output and scripts with CRLF
// line ends, which the checks below need not know about.
std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string bytes = text.str();
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\r'), bytes.end());
    return bytes;
}

class Validate : public ::testing::Test {
  protected:
    host_run host(std::vector<std::string> args) const {
        args.insert(args.begin(), KOVO_HOST_EXE);
        host_run run;
        kovo_os::child_process child;
        std::string error;
        const std::string output = (fs::path(temp_.path()) / "host.output").string();
        if (!child.start(args, output, error)) {
            ADD_FAILURE() << error;
            return run;
        }
        child.wait(600000);
        run.status = child.exitStatus();
        run.output = readFile(output);
        return run;
    }

    // Validates the test editor on the given workstation (its fault).
    host_run validate(int workstation, const std::string& out,
                      std::vector<std::string> more) const {
        std::vector<std::string> args = {"validate",      KOVO_PROBE_EDITOR,
                                         "--site",        siteDir(),
                                         "--layouts",     KOVO_HOST_TEST_DIR "/layouts",
                                         "--workstation", std::to_string(workstation),
                                         "--out",         dir(out)};
        args.insert(args.end(), more.begin(), more.end());
        return host(args);
    }

    // kovo-host run --check of a reproducer, in a private name store.
    host_run replay(const std::string& script) const {
        return host({"run", "--check", "--fresh-db", "--state", dir("state"), "--layouts",
                     KOVO_HOST_TEST_DIR "/layouts", script});
    }

    std::string dir(const std::string& name) const {
        return (fs::path(temp_.path()) / name).string();
    }
    static std::string siteDir() { return KOVO_HOST_TEST_DIR "/validate/site"; }

    // The reproducer path a finding block names.
    static std::string reproducerOf(const std::string& output, const std::string& signature) {
        const std::size_t block = output.find(": " + signature + "\n");
        const std::size_t at = output.find("reproducer: ", block);
        if (block == std::string::npos || at == std::string::npos) {
            return "";
        }
        const std::size_t start = at + 12;
        return output.substr(start, output.find(" (", start) - start);
    }

    // The script lines of a reproducer, comments left out.
    static std::vector<std::string> scriptLines(const std::string& path) {
        std::vector<std::string> lines;
        std::istringstream in(readFile(path));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line[0] != '#') {
                lines.push_back(line);
            }
        }
        return lines;
    }

  private:
    kovo_host_testing::temp_directory temp_;
};

TEST_F(Validate, FindsAWriteFromATimerAndShrinksItToAScriptThatFailsUnderCheck) {
    const host_run run = validate(2, "timer", {"--runs", "2", "--steps", "40"});
    ASSERT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("2 runs, "), std::string::npos) << run.output;
    const std::string script = reproducerOf(run.output, "RM invariant operator-action");
    ASSERT_FALSE(script.empty()) << run.output;

    // Shrunk to what it takes: the site, the invariants, the load, arming the
    // timer and waiting for it.
    const std::vector<std::string> lines = scriptLines(script);
    ASSERT_EQ(lines.size(), 5u) << readFile(script);
    EXPECT_EQ(lines[1], "invariants on");
    EXPECT_EQ(lines[3], "press p 1 Arm");
    EXPECT_EQ(lines[4].compare(0, 8, "advance "), 0) << lines[4];

    const host_run check = replay(script);
    EXPECT_EQ(check.status, 1) << check.output;
    EXPECT_NE(check.output.find(":9: protocol breach by p: RM 7 0 1 'from the timer' 0: "
                                "invariant operator-action"),
              std::string::npos)
        << check.output;
    EXPECT_TRUE(fs::exists(fs::path(script).replace_extension(".transcript")));
}

TEST_F(Validate, EachOfTwoBreachesOnOneCommandGetsAReproducerThatReplaysIt) {
    const host_run run = validate(5, "two", {"--runs", "2", "--steps", "40"});
    ASSERT_EQ(run.status, 1) << run.output;
    EXPECT_EQ(run.output.find("did NOT replay"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("its first finding is"), std::string::npos) << run.output;
    for (const char* signature : {"RM invariant operator-action", "RM invariant device-zero"}) {
        const std::string script = reproducerOf(run.output, signature);
        ASSERT_FALSE(script.empty()) << signature << "\n" << run.output;
        const host_run check = replay(script);
        EXPECT_EQ(check.status, 1) << check.output;
        EXPECT_NE(check.output.find(std::string(signature).substr(3)), std::string::npos)
            << check.output;
    }
}

TEST_F(Validate, FindsAStoredQuoteThatBreaksACommand) {
    const host_run run = validate(3, "quote", {"--runs", "5", "--steps", "60"});
    ASSERT_EQ(run.status, 1) << run.output;
    const std::string script = reproducerOf(
        run.output, "TP: malformed: a quoted word is not closed (odd number of quote characters)");
    ASSERT_FALSE(script.empty()) << run.output;
    EXPECT_LE(scriptLines(script).size(), 6u) << readFile(script);
    const host_run check = replay(script);
    EXPECT_EQ(check.status, 1) << check.output;
    EXPECT_NE(check.output.find("a quoted word is not closed"), std::string::npos) << check.output;
}

TEST_F(Validate, AStepThatNeverEndsIsAHangBoundedByTheChildsCpuTime) {
    const auto start = std::chrono::steady_clock::now();
    const host_run run = validate(
        4, "hang",
        {"--runs", "1", "--steps", "20", "--step-bound", "300", "--shrink-budget", "2500"});
    ASSERT_EQ(run.status, 1) << run.output;
    const std::string script = reproducerOf(run.output, "hang");
    ASSERT_FALSE(script.empty()) << run.output;
    const std::vector<std::string> lines = scriptLines(script);
    EXPECT_EQ(lines.back(), "press p 1 Arm") << readFile(script);
    // Killed at the bound, not left to run: well under the wall-clock margin.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

TEST(ProcessCpuTime, GrowsWithWorkAndNotWithWaiting) {
    const std::int64_t before = kovo_os::processCpuMilliseconds();
    ASSERT_GE(before, 0);
    // Busy until 50 ms of CPU are used, however long a loaded machine takes.
    volatile unsigned long turns = 0;
    const auto start = std::chrono::steady_clock::now();
    std::int64_t busy = before;
    while (busy < before + 50 &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
        for (int i = 0; i < 100000; ++i) {
            turns = turns + 1;
        }
        busy = kovo_os::processCpuMilliseconds();
    }
    EXPECT_GE(busy, before + 50);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_LT(kovo_os::processCpuMilliseconds(), busy + 100);
}

TEST_F(Validate, EditorWithoutAFaultValidatesCleanOnEverySiteVariant) {
    const std::string junit = dir("clean.xml");
    // Eleven runs: one on the site and one on each of its ten variants.
    const host_run run = validate(1, "clean", {"--runs", "11", "--steps", "40", "--junit", junit});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("11 runs, 440 steps, 0 findings\n"), std::string::npos) << run.output;
    const std::string xml = readFile(junit);
    EXPECT_NE(xml.find("tests=\"11\" failures=\"0\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("run 1:8 (dbsize-absurd)"), std::string::npos) << xml;
    EXPECT_NE(xml.find("run 1:10 (site-layouts)"), std::string::npos) << xml;
}

// An output folder given relative to the working folder, used twice: under wine
// that folder lies on the drive that maps the Unix file system, where copying
// the site into a folder made beforehand failed.
TEST_F(Validate, OutputFolderInTheWorkingFolderCanBeUsedAgain) {
    const fs::path out =
        fs::path("validate-out-" + fs::path(dir("")).parent_path().filename().string());
    for (int round = 0; round < 2; ++round) {
        const host_run run =
            validate(1, "", {"--runs", "1", "--steps", "10", "--out", out.string()});
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_TRUE(fs::is_directory(out / "sites" / "dbsize-absurd" / "config" / "system"))
            << run.output;
    }
    std::error_code ignored;
    fs::remove_all(out, ignored);
}

TEST_F(Validate, SameSeedGivesTheSameRunAndReproduceRunsJustThatOne) {
    ASSERT_EQ(validate(1, "a", {"--runs", "2", "--steps", "50", "--seed", "5"}).status, 0);
    ASSERT_EQ(validate(1, "b", {"--runs", "2", "--steps", "50", "--seed", "5"}).status, 0);
    ASSERT_EQ(validate(1, "c", {"--runs", "2", "--steps", "50", "--seed", "6"}).status, 0);
    const std::string first = readFile(dir("a") + "/work/run-5-1.steps");
    ASSERT_GT(first.size(), 100u);
    EXPECT_EQ(first, readFile(dir("b") + "/work/run-5-1.steps"));
    // A clean run keeps its steps, not its transcript and name store.
    EXPECT_FALSE(fs::exists(dir("a") + "/work/run-5-1.transcript"));
    EXPECT_FALSE(fs::exists(dir("a") + "/work/run-5-1.sqlite"));
    EXPECT_NE(first, readFile(dir("c") + "/work/run-6-1.steps"));

    const host_run one = validate(1, "d", {"--steps", "50", "--reproduce", "5:1"});
    EXPECT_EQ(one.status, 0) << one.output;
    EXPECT_NE(one.output.find("1 runs, 50 steps, 0 findings"), std::string::npos) << one.output;
    EXPECT_EQ(first, readFile(dir("d") + "/work/run-5-1.steps"));
}

TEST_F(Validate, CannotRunIsExitTwo) {
    EXPECT_EQ(host({"validate"}).status, 2);
    EXPECT_EQ(host({"validate", KOVO_PROBE_EDITOR, "--runs", "0"}).status, 2);
    EXPECT_EQ(host({"validate", KOVO_PROBE_EDITOR, "--reproduce", "1"}).status, 2);
    const host_run missing =
        host({"validate", dir("no_such_plugin.so"), "--site", siteDir(), "--out", dir("m")});
    EXPECT_EQ(missing.status, 2) << missing.output;
    EXPECT_NE(missing.output.find("cannot open the plug-in"), std::string::npos) << missing.output;
    const host_run noSite =
        host({"validate", KOVO_PROBE_EDITOR, "--site", dir("nowhere"), "--out", dir("n")});
    EXPECT_EQ(noSite.status, 2) << noSite.output;
}

}  // namespace
