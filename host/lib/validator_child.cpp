// The child's side of a validation: one run of generated steps, or the strict
// replay of a script, carried out line by line through the session runner.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "plugin_invariants.h"
#include "script_runner.h"
#include "validator.h"
#include "validator_steps.h"

namespace fs = std::filesystem;

namespace kovo_host {

namespace {

enum class line_outcome { done, refused, finding, unusable };

struct child_state {
    simulator& sim;
    script_runner& runner;
    std::ofstream& steps;
    const std::string& tag;
    int stepBoundMs;
    int number = 0;
    std::string finding;  // the first finding's message
};

// Looks through the transcript from `from` for what makes a finding.
std::string findingIn(const simulator& sim, std::size_t from, const std::string& tag) {
    const auto& entries = sim.log().entries();
    for (std::size_t i = from; i < entries.size(); ++i) {
        const transcript_entry& entry = entries[i];
        if (entry.kind == entry_kind::breach) {
            return "protocol breach by " + entry.script + ": " + entry.text;
        }
        // The runner's own failures (a refused action) name the script; the
        // host's (an endless chain of events, a broken layout) do not.
        if (entry.kind == entry_kind::failure && entry.text.compare(0, tag.size() + 1, tag + ":") != 0) {
            return entry.text;
        }
    }
    return "";
}

line_outcome carryOut(child_state& state, const std::string& text) {
    state.steps << text << "\n" << std::flush;
    ++state.number;
    script_line line;
    std::string error;
    if (!parseScriptLine(text, state.number, line, error)) {
        state.finding = "the step cannot be read: " + error;
        return line_outcome::unusable;
    }
    const std::size_t before = state.sim.log().entries().size();
    const auto start = std::chrono::steady_clock::now();
    bool fatal = false;
    const bool ok = state.runner.execute(line, fatal);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now() - start)
                          .count();
    state.finding = findingIn(state.sim, before, state.tag);
    if (!state.finding.empty()) {
        return line_outcome::finding;
    }
    if (took > state.stepBoundMs) {
        state.finding = "hang: a step took " + std::to_string(took) + " ms (bound " +
                        std::to_string(state.stepBoundMs) + " ms): " + text;
        return line_outcome::finding;
    }
    if (fatal) {
        state.finding = state.runner.firstFailure();
        return line_outcome::unusable;
    }
    return ok ? line_outcome::done : line_outcome::refused;
}

void writeResult(const child_job& job, const std::string& message, int line, int steps) {
    std::ofstream result(fs::path(job.workDir) / (job.tag + ".result"), std::ios::trunc);
    result << findingSignature(message) << "\n" << message << "\n" << line << "\n" << steps << "\n";
}

bool readLines(const std::string& path, std::vector<std::string>& lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return true;
}

}  // namespace

int runChild(const validator_options& options, const simulator_options& host,
             const child_job& job, std::ostream& err) {
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
    std::ofstream steps(fs::path(job.workDir) / (job.tag + ".steps"), std::ios::trunc);
    child_state state{sim, runner, steps, job.tag, options.stepBoundMs, 0, std::string()};
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
            return 3;  // the replay went another way: not the same run
        }
    } else {
        step_settings stepSettings;
        stepSettings.plugin = options.plugin;
        stepSettings.workstation = options.workstation;
        step_generator generator(options.seed, job.run, stepSettings);
        outcome = carryOut(state, "invariants on");
        for (; stepCount < options.steps && outcome != line_outcome::finding &&
               outcome != line_outcome::unusable;
             ++stepCount) {
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
        err << "kovo-host: " << state.finding << "\n";
        return 2;
    }
    if (outcome != line_outcome::finding) {
        const std::size_t before = sim.log().entries().size();
        runner.finish();
        state.finding = findingIn(sim, before, job.tag);
        if (!state.finding.empty()) {
            ++state.number;  // found while unloading, after the last line
            outcome = line_outcome::finding;
        }
    }
    if (outcome == line_outcome::finding) {
        writeResult(job, state.finding, state.number, stepCount);
        sim.log().setEcho(nullptr);
        return 1;
    }
    writeResult(job, "", 0, stepCount);
    sim.log().setEcho(nullptr);
    return 0;
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
        // The verb stays; the command's arguments go.
        const std::size_t space = rule.find(' ');
        const std::size_t colon = rule.rfind(": ");
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
