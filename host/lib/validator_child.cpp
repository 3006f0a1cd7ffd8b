// The child's side of a validation: one run of generated steps, or the strict
// replay of a script, carried out line by line through the session runner.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "kovo_os_host.h"
#include "plugin_invariants.h"
#include "script_runner.h"
#include "validator.h"
#include "validator_sites.h"
#include "validator_steps.h"

namespace fs = std::filesystem;

namespace kovo_host {

namespace {

enum class line_outcome { done, refused, unusable };

// One line per finding, written as it is found: "<line>\t<signature>\t<message>".
// The first line of the file is written last: "steps <n>" once the run is over.
class result_file {
  public:
    explicit result_file(const fs::path& path) : out_(path, std::ios::trunc) {}
    // The first time a signature turns up in this run; false when it is known.
    bool add(int line, const std::string& message) {
        const std::string signature = findingSignature(message);
        if (!seen_.insert(signature).second) {
            return false;
        }
        std::string flat = message;
        for (char& c : flat) {
            if (c == '\n' || c == '\r' || c == '\t') {
                c = ' ';
            }
        }
        out_ << line << "\t" << signature << "\t" << flat << "\n" << std::flush;
        return true;
    }
    void finish(int steps) { out_ << "steps\t" << steps << "\n" << std::flush; }
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

// Every finding in the transcript from `from`: breaches, and the host's own
// failures (an endless chain of events, a broken layout); the runner's
// failures (a refused action) name the script and are none.
std::vector<std::string> findingsIn(const simulator& sim, std::size_t from,
                                    const std::string& tag) {
    std::vector<std::string> found;
    const auto& entries = sim.log().entries();
    for (std::size_t i = from; i < entries.size(); ++i) {
        const transcript_entry& entry = entries[i];
        if (entry.kind == entry_kind::breach) {
            found.push_back("protocol breach by " + entry.script + ": " + entry.text);
        } else if (entry.kind == entry_kind::failure &&
                   entry.text.compare(0, tag.size() + 1, tag + ":") != 0) {
            found.push_back(entry.text);
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
    const std::vector<std::string> findings = findingsIn(state.sim, before, state.tag);
    for (const std::string& finding : findings) {
        state.results.add(state.number, finding);
    }
    if (took > state.stepBoundMs) {
        state.results.add(state.number, "hang: a step took " + std::to_string(took) + " ms" +
                                            clock.unit() + " (bound " +
                                            std::to_string(state.stepBoundMs) + " ms): " + text);
    }
    if (fatal) {
        state.problem = state.runner.firstFailure();
        return line_outcome::unusable;
    }
    return ok || !findings.empty() ? line_outcome::done : line_outcome::refused;
}

bool readLines(const std::string& path, std::vector<std::string>& lines) {
    if (!std::ifstream(path, std::ios::binary)) {
        return false;
    }
    lines = splitLines(readFile(path));
    return true;
}

}  // namespace

int runChild(const validator_options& options, const simulator_options& host, const child_job& job,
             std::ostream& err) {
    simulator_options simOptions = host;
    simOptions.dbFile = (fs::path(job.workDir) / (job.tag + ".sqlite")).string();
    simOptions.freshStore = true;
    simulator sim(simOptions);
    std::string error;
    if (!sim.useSite(options.site, error)) {
        err << "kovo-host: " << error << "\n";
        return 2;
    }
    runner_settings settings;
    settings.fileName = job.tag;
    if (job.replay) {
        settings.scriptDir = fs::path(job.script).parent_path().string();
    }
    // Written as it happens, so a run that hangs or crashes leaves its transcript too.
    std::ofstream transcriptFile(fs::path(job.workDir) / (job.tag + ".transcript"),
                                 std::ios::trunc);
    transcriptFile << std::unitbuf;
    sim.log().setEcho(&transcriptFile);
    script_runner runner(sim, settings);
    std::ofstream steps(fs::path(job.workDir) / (job.tag + ".steps"),
                        std::ios::binary | std::ios::trunc);
    result_file results(fs::path(job.workDir) / (job.tag + ".result"));
    child_state state{sim, runner, steps, results, job.tag, options.stepBoundMs, 0, std::string()};
    int stepCount = 0;
    line_outcome outcome = line_outcome::done;

    if (job.replay) {
        std::vector<std::string> lines;
        if (!readLines(job.script, lines)) {
            err << "kovo-host: cannot read the script " << job.script << "\n";
            return 2;
        }
        for (const std::string& text : lines) {
            outcome = carryOut(state, text);
            ++stepCount;
            if (outcome != line_outcome::done) {
                break;
            }
        }
        if (outcome == line_outcome::refused) {
            sim.log().setEcho(nullptr);
            return 3;  // the replay went another way: not the same run
        }
    } else {
        step_settings stepSettings;
        stepSettings.plugin = options.plugin;
        stepSettings.workstation = options.workstation;
        stepSettings.instance = siteLayoutFolder(options.site, pluginKind(options.plugin));
        step_generator generator(options.seed, job.run, stepSettings);
        outcome = carryOut(state, "invariants on");
        for (; stepCount < options.steps && outcome != line_outcome::unusable; ++stepCount) {
            for (const std::string& text : generator.next(sim)) {
                outcome = carryOut(state, text);
                if (outcome == line_outcome::refused) {
                    // Nothing reached the plug-in; the reproducer leaves it out.
                    steps << "# refused\n" << std::flush;
                } else if (outcome != line_outcome::done) {
                    break;
                }
            }
        }
    }
    if (outcome == line_outcome::unusable) {
        sim.log().setEcho(nullptr);
        err << "kovo-host: " << state.problem << "\n";
        return 2;
    }
    const std::size_t before = sim.log().entries().size();
    runner.finish();
    for (const std::string& finding : findingsIn(sim, before, job.tag)) {
        results.add(state.number + 1, finding);  // found while unloading, after the last line
    }
    results.finish(stepCount);
    sim.log().setEcho(nullptr);
    return results.any() ? 1 : 0;
}

std::string findingSignature(const std::string& message) {
    if (message.empty()) {
        return "clean";
    }
    // "protocol breach by p: <command>: <rule>": the rule, without its particulars.
    std::string rule = message;
    const std::string breach = "protocol breach by ";
    if (rule.compare(0, breach.size(), breach) == 0) {
        const std::size_t name = rule.find(": ");
        rule = rule.substr(name + 2);
        const std::size_t invariant = rule.find("invariant ");
        if (invariant != std::string::npos) {
            const std::string verb = rule.substr(0, 2);
            rule = rule.substr(invariant);
            const std::size_t colon = rule.find(':');
            return verb + " " + rule.substr(0, colon);
        }
        // The verb stays; the command's arguments go. The rule starts at the
        // first ": " outside quotes, or at "malformed: " (whose quotes are broken).
        std::size_t colon = rule.find(": malformed: ");
        bool quoted = false;
        for (std::size_t i = 0; colon == std::string::npos && i + 1 < rule.size(); ++i) {
            quoted = rule[i] == '\'' ? !quoted : quoted;
            if (!quoted && rule[i] == ':' && rule[i + 1] == ' ') {
                colon = i;
            }
        }
        const std::size_t space = rule.find(' ');
        if (colon != std::string::npos && space != std::string::npos && space < colon) {
            rule = rule.substr(0, space) + rule.substr(colon);
        }
    }
    if (rule.compare(0, 5, "hang:") == 0) {
        return "hang";
    }
    std::string signature;
    bool inQuote = false;
    for (std::size_t i = 0; i < rule.size(); ++i) {
        const char c = rule[i];
        if (c == '"') {
            inQuote = !inQuote;
            signature += inQuote ? "\"...\"" : "";
        } else if (inQuote) {
            continue;
        } else if (c >= '0' && c <= '9') {
            if (signature.empty() || signature.back() != 'N') {
                signature += 'N';
            }
        } else {
            signature += c;
        }
    }
    return signature.size() > 160 ? signature.substr(0, 160) : signature;
}

}  // namespace kovo_host
