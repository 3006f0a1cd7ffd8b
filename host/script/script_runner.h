// Runs session script lines against a simulator and checks their expectations.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "session_script.h"
#include "simulator.h"

namespace kovo_host {

struct runner_settings {
    bool autoshow = false;    // show the panel after every action
    bool lineHeaders = true;  // put "# N: line" in the transcript before each action
    std::string fileName;     // for messages: "file:line"
    std::string scriptDir;    // where relative site paths start first
};

class script_runner {
  public:
    script_runner(simulator& sim, runner_settings settings);

    // Carries out one line. False when it failed: an expectation that does not
    // hold, a protocol breach it caused, or an action that was refused. `fatal`
    // is set when nothing after it can run (a site or plug-in that cannot be used).
    bool execute(const script_line& line, bool& fatal);

    // Unloads what is still loaded; false when that caused a breach.
    bool finish(const std::string& header = "end of script: unloading what is still loaded");

    bool autoshow() const { return settings_.autoshow; }
    void setLineHeaders(bool on) { settings_.lineHeaders = on; }
    bool quitRequested() const { return quit_; }
    const std::string& firstFailure() const { return firstFailure_; }
    int failureCount() const { return failures_; }

  private:
    bool executeLine(const script_line& line, bool& fatal);
    bool fail(const script_line& line, const std::string& message);
    bool checkNewBreaches(const script_line& line, std::uint64_t from);
    // Takes in the action's entries added since the last look: its commands and
    // its debug output, so each expectation costs only what is new.
    void collectAction();
    bool runAction(const script_line& line, bool& fatal);
    // The expect lines: each checks what the last action did.
    bool runExpectation(const script_line& line);
    // Lines that neither act nor check: show, and the settings of the run
    // (autoshow, answers, invariants) and the shell (help, quit).
    bool runOtherLine(const script_line& line);
    // A relative path beside the script, else in the source tree, else as given.
    std::string resolvePath(const std::string& path) const;
    bool useSiteFor(const std::string& dir, std::string& error);
    void showAll(const std::vector<std::string>& names);
    void output(const std::string& text);

    simulator& sim_;
    runner_settings settings_;
    std::uint64_t actionStart_ = 0;              // sequence number of the action's first entry
    std::uint64_t collected_ = 0;                // entries before this one are in the two below
    std::vector<std::uint64_t> actionCommands_;  // sequence numbers of the action's commands
    std::string actionDebug_;                    // the action's debug output, one stream
    std::size_t commandCursor_ = 0;
    std::size_t debugCursor_ = 0;  // characters of the action's debug output already matched
    bool haveAnswer_ = false;
    bool answered_ = false;
    std::string answer_;
    std::string firstFailure_;
    int failures_ = 0;
    bool quit_ = false;
};

// Reads and runs a script file, printing the transcript to out and messages to err.
// Exit status: 0 passed, 1 a failure (with check: the first one stops the run),
// 2 the script, site or a plug-in could not be used.
int runScriptFile(simulator& sim, const std::string& path, bool check, std::ostream& out,
                  std::ostream& err, std::string* firstFailure = nullptr);

// Expands "\n" to a line end (and "\\" to a backslash) in expectation texts.
std::string expandLineEnds(const std::string& text);

}  // namespace kovo_host
