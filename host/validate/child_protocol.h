// How `kovo-host validate` talks to the children it starts, one per run or
// replay. The parent starts the same program as
//   kovo-host validate PLUGIN <host options> --site DIR --seed N --steps N
//       --step-bound MS --child-tag TAG --child-dir WORK [--workstation N]
//       (--child-run RUN | --child-replay SCRIPT)
// and the child leaves its files in WORK, each named TAG and a suffix, and
// tells how it ended by its exit status. A child that crashes or hangs leaves
// what it wrote so far: the parent reads the files as they stand.
#pragma once

#include <string>
#include <vector>

#include "finding.h"

namespace kovo_host {
namespace child_protocol {

// The options a child is started with, beside those of a validation.
constexpr char runOption[] = "--child-run";        // generate and carry out run RUN
constexpr char replayOption[] = "--child-replay";  // carry out a script's lines, strictly
constexpr char tagOption[] = "--child-tag";
constexpr char dirOption[] = "--child-dir";

// The child's files: WORK/TAG<suffix>.
std::string childFile(const std::string& workDir, const std::string& tag, const char* suffix);
// Each line, written before it is carried out: a steps file that stops growing
// is a step that does not end.
constexpr char stepsSuffix[] = ".steps";
// The findings as they are found, then the number of steps (see resultLine).
constexpr char resultSuffix[] = ".result";
// The transcript, written as it happens.
constexpr char transcriptSuffix[] = ".transcript";
// What the child wrote to standard output and standard error.
constexpr char outputSuffix[] = ".output";
// The child's own name store; SQLite keeps its journal beside it.
constexpr char storeSuffix[] = ".sqlite";
// A script the parent writes for a replay.
constexpr char scriptSuffix[] = ".kovo";

// A line of the steps file that takes back the line before it: that line was
// refused, nothing of it reached the plug-in, and a reproducer leaves it out.
constexpr char refusedMarker[] = "# refused";

// The result file: a line per finding, "<line>\t<kind>\t<script>\t<command>\t<text>"
// (a tab or line end inside a field written as a space), and once the run is
// over a last line "steps\t<count>"; a file without it is a run that did not end.
std::string resultLine(const finding& found);
std::string stepsLine(int steps);

struct child_results {
    std::vector<finding> findings;  // in the order found
    bool finished = false;          // the steps line was written
    int steps = 0;
};
child_results readResults(const std::string& text);

// How a child ends.
enum exit_status : int {
    exit_clean = 0,     // no finding
    exit_found = 1,     // findings in the result file
    exit_unusable = 2,  // the site, plug-in or script cannot be used (why: in the output)
    exit_spoiled = 3,   // a replay's line was refused: the replay went another way
};

}  // namespace child_protocol
}  // namespace kovo_host
