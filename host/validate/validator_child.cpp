// The child's side of a validation: one run of generated steps, or the strict
// replay of a script, carried out line by line through the session runner.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>

#include "child_protocol.h"
#include "kovo_os_host.h"
#include "plugin_invariants.h"
#include "script_runner.h"
#include "script_writer.h"
#include "text.h"
#include "text_file.h"
#include "validator.h"
#include "validator_sites.h"
#include "validator_steps.h"

namespace fs = std::filesystem;

namespace kovo_host {

namespace {

enum class line_outcome { done, refused, unusable };

// The result file (child_protocol.h): each finding written as it is found, the
// first of its signature in this run only; the count of steps when the run is over.
class result_file {
  public:
    explicit result_file(const std::string& path) : out_(path, std::ios::trunc) {}
    void add(const finding& found) {
        if (seen_.insert(found.signature()).second) {
            out_ << child_protocol::resultLine(found) << "\n" << std::flush;
        }
    }
    void finish(int steps) { out_ << child_protocol::stepsLine(steps) << "\n" << std::flush; }
    bool any() const { return !seen_.empty(); }

  private:
    std::ofstream out_;
    std::set<std::string> seen_;
};

// How long one step takes: CPU time where the platform tells it, so that a
// busy machine does not turn a slow step into a hang; else the wall clock.
class step_clock {
  public:
    step_clock()
        : cpu_(kovo_os::processCpuMilliseconds()), wall_(std::chrono::steady_clock::now()) {}
    long long elapsedMs() const {
        if (cpu_ >= 0) {
            const std::int64_t now = kovo_os::processCpuMilliseconds();
            if (now >= 0) {
                return now - cpu_;
            }
        }
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - wall_)
            .count();
    }
    const char* unit() const { return cpu_ >= 0 ? " of CPU" : ""; }

  private:
    std::int64_t cpu_;
    std::chrono::steady_clock::time_point wall_;
};

struct child_state {
    simulator& sim;
    script_runner& runner;
    std::ofstream& steps;
    result_file& results;
    const std::string& tag;
    int stepBoundMs;
    int number = 0;
    std::string problem;  // why the run cannot go on
};

// Every finding in the transcript from `from`, at step `line`: breaches, and
// the host's own failures (an endless chain of events, a broken layout); the
// runner's failures (a refused action) name the script and are none.
std::vector<finding> findingsIn(const simulator& sim, std::size_t from, int line,
                                const std::string& tag) {
    std::vector<finding> found;
    const auto& entries = sim.log().entries();
    for (std::size_t i = from; i < entries.size(); ++i) {
        const transcript_entry& entry = entries[i];
        if (entry.kind == entry_kind::breach) {
            const std::string command =
                entry.ruleAt > 0 ? entry.text.substr(0, entry.ruleAt - 2) : std::string();
            found.push_back(
                breachFinding(line, entry.script, command, entry.text.substr(entry.ruleAt)));
        } else if (entry.kind == entry_kind::failure &&
                   entry.text.compare(0, tag.size() + 1, tag + ":") != 0) {
            found.push_back(hostFinding(finding_kind::failure, line, entry.text));
        }
    }
    return found;
}

line_outcome carryOut(child_state& state, const std::string& text) {
    state.steps << text << "\n" << std::flush;
    ++state.number;
    script_line line;
    std::string error;
    if (!parseScriptLine(text, state.number, line, error)) {
        state.problem = "the step cannot be read: " + error;
        return line_outcome::unusable;
    }
    const std::size_t before = state.sim.log().entries().size();
    const step_clock clock;
    bool fatal = false;
    const bool ok = state.runner.execute(line, fatal);
    const long long took = clock.elapsedMs();
    // The runner also says false for a line that caused a breach: that line
    // did reach the plug-in, and is no refusal.
    const std::vector<finding> findings = findingsIn(state.sim, before, state.number, state.tag);
    for (const finding& found : findings) {
        state.results.add(found);
    }
    if (took > state.stepBoundMs) {
        state.results.add(hostFinding(finding_kind::hang, state.number,
                                      "hang: a step took " + std::to_string(took) + " ms" +
                                          clock.unit() + " (bound " +
                                          std::to_string(state.stepBoundMs) + " ms): " + text));
    }
    if (fatal) {
        state.problem = state.runner.firstFailure();
        return line_outcome::unusable;
    }
    return ok || !findings.empty() ? line_outcome::done : line_outcome::refused;
}

}  // namespace

int runChild(const validator_options& options, const simulator_options& host, const child_job& job,
             std::ostream& err) {
    using namespace child_protocol;
    simulator_options simOptions = host;
    simOptions.dbFile = childFile(job.workDir, job.tag, storeSuffix);
    simOptions.freshStore = true;
    simulator sim(simOptions);
    std::string error;
    if (!sim.useSite(options.site, error)) {
        err << "kovo-host: " << error << "\n";
        return exit_unusable;
    }
    runner_settings settings;
    settings.fileName = job.tag;
    if (job.replay) {
        settings.scriptDir = fs::path(job.script).parent_path().string();
    }
    // Written as it happens, so a run that hangs or crashes leaves its transcript too.
    std::ofstream transcriptFile(childFile(job.workDir, job.tag, transcriptSuffix),
                                 std::ios::trunc);
    transcriptFile << std::unitbuf;
    sim.log().setEcho(&transcriptFile);
    script_runner runner(sim, settings);
    std::ofstream steps(childFile(job.workDir, job.tag, stepsSuffix),
                        std::ios::binary | std::ios::trunc);
    result_file results(childFile(job.workDir, job.tag, resultSuffix));
    child_state state{sim, runner, steps, results, job.tag, options.stepBoundMs, 0, std::string()};
    int stepCount = 0;
    line_outcome outcome = line_outcome::done;

    if (job.replay) {
        std::string script;
        if (!readWholeFile(job.script, script)) {
            err << "kovo-host: cannot read the script " << job.script << "\n";
            return exit_unusable;
        }
        for (const std::string& text : textLines(script)) {
            outcome = carryOut(state, text);
            ++stepCount;
            if (outcome != line_outcome::done) {
                break;
            }
        }
        if (outcome == line_outcome::refused) {
            sim.log().setEcho(nullptr);
            return exit_spoiled;
        }
    } else {
        step_settings stepSettings;
        stepSettings.plugin = options.plugin;
        stepSettings.workstation = options.workstation;
        stepSettings.instance = siteLayoutFolder(options.site, pluginKind(options.plugin));
        step_generator generator(options.seed, job.run, stepSettings);
        outcome = carryOut(state, writeScriptLine(invariantsLine(true)));
        for (; stepCount < options.steps && outcome != line_outcome::unusable; ++stepCount) {
            for (const std::string& text : generator.next(sim)) {
                outcome = carryOut(state, text);
                if (outcome == line_outcome::refused) {
                    // Nothing reached the plug-in; the reproducer leaves it out.
                    steps << refusedMarker << "\n" << std::flush;
                } else if (outcome != line_outcome::done) {
                    break;
                }
            }
        }
    }
    if (outcome == line_outcome::unusable) {
        sim.log().setEcho(nullptr);
        err << "kovo-host: " << state.problem << "\n";
        return exit_unusable;
    }
    const std::size_t before = sim.log().entries().size();
    runner.finish();
    // Found while unloading: after the last line.
    for (const finding& found : findingsIn(sim, before, state.number + 1, job.tag)) {
        results.add(found);
    }
    results.finish(stepCount);
    sim.log().setEcho(nullptr);
    return results.any() ? exit_found : exit_clean;
}

}  // namespace kovo_host
