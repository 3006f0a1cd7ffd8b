// `kovo-host validate`: storms a plug-in with seeded steps in child processes,
// checks the protocol and the plug-in invariants on every step, shrinks each
// finding to a minimal session script that replays it, and reports.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "simulator.h"

namespace kovo_host {

struct validator_options {
    std::string plugin;  // bare name or path, as a load line takes it
    std::string site;    // the base site; variants are written beside the output
    int workstation = -1;
    std::uint64_t seed = 1;
    int runs = 20;
    int steps = 200;
    std::string junitFile;
    std::string outDir = "kovo-validate";
    bool reproduceOne = false;  // --reproduce SEED:RUN
    int reproduceRun = 0;
    int stepBoundMs = 5000;      // a step that takes longer is a hang
    int shrinkBudgetMs = 60000;  // time for shrinking one finding
    bool progress = false;       // a progress line (on a terminal)
    // Passed on to every child: the host options that were given.
    std::vector<std::string> hostArguments;
    std::string executable;  // this program, to start the children with
    std::string layoutRoot;  // a base site inside it is named relative to it
};

// The whole validation. Exit status: 0 no finding, 1 findings, 2 cannot run.
int runValidation(const validator_options& options, std::ostream& out, std::ostream& err);

// The child's side. A run: generate steps for `run` on `site`, carrying each
// out as it is drawn. A replay: carry out the lines of a script, strictly (a
// refused line spoils it). Both write the steps, result and transcript files
// into workDir and end with an exit status, as child_protocol.h describes.
struct child_job {
    bool replay = false;
    int run = 0;
    std::string script;  // replay: the script to carry out
    std::string tag;
    std::string workDir;
};
int runChild(const validator_options& options, const simulator_options& host, const child_job& job,
             std::ostream& err);

}  // namespace kovo_host
