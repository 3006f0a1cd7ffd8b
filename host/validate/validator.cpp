// The parent's side of a validation: the runs in child processes, the watch
// for hangs and crashes, shrinking, reproducers and the reports.
#include "validator.h"

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "child_protocol.h"
#include "kovo_os_host.h"
#include "plugin_invariants.h"
#include "script_writer.h"
#include "text.h"
#include "text_file.h"
#include "validator_sites.h"

namespace fs = std::filesystem;

namespace kovo_host {

namespace {

using clock_type = std::chrono::steady_clock;

long long millisecondsSince(clock_type::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(clock_type::now() - start).count();
}

// True when the signature is among the findings of the first line that has
// any: `run --check` stops at that line and reports every breach on it, so a
// breach that comes with another on the same command still shows.
bool onFirstFailingLine(const std::vector<finding>& findings, const std::string& signature) {
    for (const finding& found : findings) {
        if (found.line != findings.front().line) {
            return false;
        }
        if (found.signature() == signature) {
            return true;
        }
    }
    return false;
}

struct child_result {
    enum kind_type { ran, spoiled, unusable } kind = ran;
    std::vector<finding> findings;   // in the order found, one per signature
    std::string message;             // unusable: why
    int steps = 0;                   // steps carried out
    std::vector<std::string> lines;  // the lines carried out; refused ones emptied
    std::string output;              // what the child wrote
};

// What a sanitizer or the system says about a child that died.
std::string crashSignature(const std::string& output, const kovo_os::child_process& child) {
    for (const std::string& line : textLines(output)) {
        const std::size_t summary = line.find("SUMMARY: ");
        if (summary != std::string::npos) {
            // "SUMMARY: AddressSanitizer: heap-buffer-overflow /path:12 in f": the kind.
            std::istringstream words(line.substr(summary + 9));
            std::string tool, kind;
            words >> tool >> kind;
            return "crash: " + tool + " " + kind;
        }
        if (line.find("runtime error:") != std::string::npos) {
            return "crash: undefined behaviour (runtime error)";
        }
    }
    return child.signal() != 0 ? "crash: signal " + std::to_string(child.signal())
                               : "crash: exit status " + std::to_string(child.exitStatus());
}

class campaign {
  public:
    campaign(const validator_options& options, std::ostream& out, std::ostream& err)
        : options_(options), out_(out), err_(err) {}

    int run();

  private:
    // The findings of one signature, over all runs, and their reproducer.
    struct finding_group {
        std::string signature;
        std::string message;
        std::vector<std::string> runs;  // "SEED:RUN"
        std::string variant;
        std::string variantDir;
        std::vector<std::string> lines;
        std::string reproducer, transcript;
        std::string shrinkNote;
    };

    child_result runChildProcess(const std::string& site, const std::vector<std::string>& jobArgs,
                                 const std::string& tag, int stepBoundMs);
    child_result runOne(int run, const site_variant& variant);
    std::string runTag(int run) const;  // the name of its files in the work folder
    void dropBulkyFiles(int run) const;
    child_result replay(const std::vector<std::string>& lines, const std::string& site,
                        const std::string& tag);
    // True when the lines replay the finding; with `first`, as the first group.
    bool reproduces(const std::vector<std::string>& lines, const finding_group& group, bool first,
                    int& attempts);
    void shrink(finding_group& group);
    void writeReproducer(finding_group& group, int number);
    std::string siteLine(const finding_group& group) const;
    void writeJunit(const std::vector<std::pair<std::string, std::string>>& runResults) const;
    void record(const finding& found, const child_result& result, const std::string& id,
                const site_variant& variant);
    void progress(int done, int total) const;
    std::string hostOptions() const;

    const validator_options& options_;
    std::ostream& out_;
    std::ostream& err_;
    std::string workDir_;
    std::vector<finding_group> findings_;
    std::string unusable_;
};

child_result campaign::runChildProcess(const std::string& site,
                                       const std::vector<std::string>& jobArgs,
                                       const std::string& tag, int stepBoundMs) {
    using namespace child_protocol;
    std::vector<std::string> args = {options_.executable, "validate", options_.plugin};
    args.insert(args.end(), options_.hostArguments.begin(), options_.hostArguments.end());
    for (const std::string& arg :
         {std::string("--site"), site, std::string("--seed"), std::to_string(options_.seed),
          std::string("--steps"), std::to_string(options_.steps), std::string("--step-bound"),
          std::to_string(stepBoundMs), std::string(tagOption), tag, std::string(dirOption),
          workDir_}) {
        args.push_back(arg);
    }
    if (options_.workstation >= 0) {
        args.push_back("--workstation");
        args.push_back(std::to_string(options_.workstation));
    }
    args.insert(args.end(), jobArgs.begin(), jobArgs.end());
    const std::string stepsFile = childFile(workDir_, tag, stepsSuffix);
    const std::string resultFile = childFile(workDir_, tag, resultSuffix);
    const std::string outputFile = childFile(workDir_, tag, outputSuffix);
    std::error_code code;
    fs::remove(stepsFile, code);
    fs::remove(resultFile, code);

    child_result result;
    kovo_os::child_process child;
    std::string error;
    if (!child.start(args, outputFile, error)) {
        result.kind = child_result::unusable;
        result.message = error;
        return result;
    }
    // A step that does not end within the bound is a hang: the child writes each
    // line before it carries it out, so a steps file that stops growing tells.
    // The bound is on the child's CPU time, which a busy machine does not
    // stretch. A child that also stops using the processor (under a twentieth
    // of the wall time since its last step) waits, or runs where the platform
    // reports no times for another process: the wall clock bounds it, and in
    // any case 20 times the bound does.
    const long long limit = stepBoundMs + stepBoundMs / 2 + 500;
    auto lastChange = clock_type::now();
    std::int64_t cpuAtChange = child.cpuMilliseconds();
    std::uintmax_t lastSize = 0;
    bool hung = false;
    while (!child.wait(20)) {
        const std::uintmax_t size = fs::file_size(stepsFile, code);
        const std::int64_t cpu = child.cpuMilliseconds();
        if (!code && size != lastSize) {
            lastSize = size;
            lastChange = clock_type::now();
            cpuAtChange = cpu;
            continue;
        }
        const long long wall = millisecondsSince(lastChange);
        const long long used = cpu >= 0 && cpuAtChange >= 0 ? cpu - cpuAtChange : -1;
        const bool overBound =
            used < 0 ? wall > limit
                     : used > limit || (wall > limit && used * 20 < wall) || wall > 20 * limit;
        if (overBound) {
            child.kill();
            hung = true;
            break;
        }
    }
    readWholeFile(outputFile, result.output);
    // The lines carried out; a refused marker takes back the line before it.
    std::string steps;
    readWholeFile(stepsFile, steps);
    for (const std::string& line : textLines(steps)) {
        if (line == refusedMarker) {
            if (!result.lines.empty()) {
                result.lines.back() = "";
            }
            continue;
        }
        result.lines.push_back(line);
    }
    std::string written;
    readWholeFile(resultFile, written);
    child_results reported = readResults(written);
    result.findings = std::move(reported.findings);
    result.steps = reported.steps;
    const std::string lastLine = result.lines.empty() ? std::string() : result.lines.back();
    const int lastNumber = static_cast<int>(result.lines.size());
    const bool exited = child.signal() == 0;
    if (hung) {
        result.findings.push_back(hostFinding(
            finding_kind::hang, lastNumber,
            "hang: no step end within " + std::to_string(stepBoundMs) + " ms: " + lastLine));
    } else if (exited && child.exitStatus() == exit_unusable) {
        result.kind = child_result::unusable;
        result.message = result.output;
        return result;
    } else if (exited && child.exitStatus() == exit_spoiled) {
        result.kind = child_result::spoiled;
        return result;
    } else if (!exited || child.exitStatus() > exit_found || !reported.finished) {
        result.findings.push_back(
            crashFinding(lastNumber, crashSignature(result.output, child), lastLine));
    }
    if (!reported.finished) {
        result.steps = lastNumber;
    }
    return result;
}

std::string campaign::runTag(int run) const {
    return "run-" + std::to_string(options_.seed) + "-" + std::to_string(run);
}

// A clean run keeps its steps and result, which are small; its name store and
// transcript would make a long campaign take gigabytes.
void campaign::dropBulkyFiles(int run) const {
    using namespace child_protocol;
    const std::string store = childFile(workDir_, runTag(run), storeSuffix);
    std::error_code code;
    fs::remove(childFile(workDir_, runTag(run), transcriptSuffix), code);
    for (const char* journal : {"", "-journal", "-wal"}) {
        fs::remove(store + journal, code);
    }
}

child_result campaign::runOne(int run, const site_variant& variant) {
    return runChildProcess(variant.dir, {child_protocol::runOption, std::to_string(run)},
                           runTag(run), options_.stepBoundMs);
}

child_result campaign::replay(const std::vector<std::string>& lines, const std::string& site,
                              const std::string& tag) {
    const std::string script =
        child_protocol::childFile(workDir_, tag, child_protocol::scriptSuffix);
    std::ofstream out(script, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) {
        out << line << "\n";
    }
    out.close();
    // A hang shows as well with a shorter bound, and shrinking one replays it often.
    return runChildProcess(site, {child_protocol::replayOption, script}, tag,
                           std::max(500, options_.stepBoundMs / 4));
}

bool campaign::reproduces(const std::vector<std::string>& lines, const finding_group& group,
                          bool first, int& attempts) {
    ++attempts;
    const child_result result = replay(lines, group.variantDir, "shrink");
    return first ? onFirstFailingLine(result.findings, group.signature)
                 : std::any_of(
                       result.findings.begin(), result.findings.end(),
                       [&](const finding& found) { return found.signature() == group.signature; });
}

// Delta debugging over the lines: drop ever smaller chunks while the finding
// stays, within the time budget.
void campaign::shrink(finding_group& group) {
    const auto start = clock_type::now();
    int attempts = 0;
    std::vector<std::string> lines;
    for (const std::string& line : group.lines) {
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    // Best a script that fails on this finding first; else one that shows it at all.
    bool first = true;
    if (!reproduces(lines, group, first, attempts)) {
        first = false;
        if (!reproduces(lines, group, first, attempts)) {
            group.shrinkNote = "the recorded steps did not replay the finding; kept as recorded";
            return;
        }
    }
    std::size_t parts = 2;
    while (lines.size() >= 2 && millisecondsSince(start) < options_.shrinkBudgetMs) {
        const std::size_t chunk = (lines.size() + parts - 1) / parts;
        bool reduced = false;
        for (std::size_t from = 0; from < lines.size(); from += chunk) {
            std::vector<std::string> candidate(lines.begin(),
                                               lines.begin() + static_cast<long>(from));
            candidate.insert(
                candidate.end(),
                lines.begin() + static_cast<long>(std::min(from + chunk, lines.size())),
                lines.end());
            if (!candidate.empty() && reproduces(candidate, group, first, attempts)) {
                lines = candidate;
                parts = std::max<std::size_t>(parts - 1, 2);
                reduced = true;
                break;
            }
            if (millisecondsSince(start) >= options_.shrinkBudgetMs) {
                break;
            }
        }
        if (!reduced) {
            if (parts >= lines.size()) {
                break;
            }
            parts = std::min(lines.size(), parts * 2);
        }
    }
    group.shrinkNote =
        "shrunk from " + std::to_string(group.lines.size()) + " to " +
        std::to_string(lines.size()) + " lines in " + std::to_string(attempts) + " replays" +
        (millisecondsSince(start) >= options_.shrinkBudgetMs ? " (time budget reached)" : "");
    group.lines = lines;
}

// How a reproducer names its site: a variant by its copy beside the
// reproducers, the base site as the script writer names it (relative to the
// source tree when it lies inside, so the script replays in any checkout).
std::string campaign::siteLine(const finding_group& group) const {
    return writeScriptLine(group.variant != "base"
                               ? kovo_host::siteLine("../sites/" + group.variant)
                               : kovo_host::siteLine(group.variantDir, options_.layoutRoot));
}

void campaign::writeReproducer(finding_group& group, int number) {
    const fs::path dir = fs::path(options_.outDir) / "repro";
    std::error_code code;
    fs::create_directories(dir, code);
    const std::string stem = pluginKind(options_.plugin).empty()
                                 ? fs::path(options_.plugin).stem().string()
                                 : pluginKind(options_.plugin);
    const fs::path script = dir / (stem + "-" + std::to_string(number) + ".kovo");
    std::ofstream out(script, std::ios::binary | std::ios::trunc);
    out << "# kovo-host validate " << options_.plugin << ": " << group.signature << "\n";
    out << "# first found in run " << group.runs.front() << " on site variant " << group.variant
        << "\n";
    out << "# " << group.message << "\n";
    out << "# replay: kovo-host run --check --fresh-db" << hostOptions() << " "
        << script.filename().string() << "\n";
    out << siteLine(group) << "\n";
    for (const std::string& line : group.lines) {
        if (!line.empty()) {
            out << line << "\n";
        }
    }
    out.close();
    group.reproducer = fs::absolute(script, code).string();
    const std::string tag = "repro-" + std::to_string(number);
    const child_result check =
        runChildProcess(group.variantDir, {child_protocol::replayOption, group.reproducer}, tag,
                        options_.stepBoundMs);
    const fs::path transcript =
        dir / (stem + "-" + std::to_string(number) + child_protocol::transcriptSuffix);
    fs::copy_file(child_protocol::childFile(workDir_, tag, child_protocol::transcriptSuffix),
                  transcript, fs::copy_options::overwrite_existing, code);
    group.transcript = code ? std::string() : fs::absolute(transcript, code).string();
    if (!onFirstFailingLine(check.findings, group.signature)) {
        group.shrinkNote += check.findings.empty()
                                ? "; the written reproducer did NOT replay the finding"
                                : "; its first finding is " + check.findings.front().signature();
    }
}

void campaign::writeJunit(
    const std::vector<std::pair<std::string, std::string>>& runResults) const {
    pugi::xml_document doc;
    pugi::xml_node suites = doc.append_child("testsuites");
    pugi::xml_node suite = suites.append_child("testsuite");
    int failures = 0;
    for (const auto& result : runResults) {
        failures += result.second.empty() ? 0 : 1;
    }
    suite.append_attribute("name") = ("kovo-host validate " + options_.plugin).c_str();
    suite.append_attribute("tests") = static_cast<int>(runResults.size());
    suite.append_attribute("failures") = failures;
    for (const auto& result : runResults) {
        pugi::xml_node test = suite.append_child("testcase");
        test.append_attribute("classname") = ("validate." + options_.plugin).c_str();
        test.append_attribute("name") = ("run " + result.first).c_str();
        if (!result.second.empty()) {
            pugi::xml_node failure = test.append_child("failure");
            failure.append_attribute("message") = result.second.c_str();
            std::string text;
            for (const finding_group& group : findings_) {
                if (result.second.find(group.signature) != std::string::npos) {
                    text += group.signature + ": " + group.message +
                            "\nreproducer: " + group.reproducer + "\n";
                }
            }
            failure.text() = text.c_str();
        }
    }
    doc.save_file(options_.junitFile.c_str());
}

void campaign::record(const finding& found, const child_result& result, const std::string& id,
                      const site_variant& variant) {
    for (finding_group& group : findings_) {
        if (group.signature == found.signature()) {
            group.runs.push_back(id);
            return;
        }
    }
    finding_group group;
    group.signature = found.signature();
    group.message = found.message();
    group.runs.push_back(id);
    group.variant = variant.name;
    group.variantDir = variant.dir;
    // What came after the finding played no part in it.
    group.lines = result.lines;
    if (found.line > 0 && found.line < static_cast<int>(group.lines.size())) {
        group.lines.resize(static_cast<std::size_t>(found.line));
    }
    findings_.push_back(std::move(group));
}

// The host options the runs were made with, as a replay needs them.
std::string campaign::hostOptions() const {
    std::string text;
    for (const std::string& arg : options_.hostArguments) {
        text += " " + arg;
    }
    return text;
}

void campaign::progress(int done, int total) const {
    if (options_.progress) {
        err_ << "\rvalidate " << options_.plugin << ": run " << done << "/" << total << ", "
             << findings_.size() << " finding" << (findings_.size() == 1 ? "" : "s") << "   "
             << std::flush;
    }
}

int campaign::run() {
    std::error_code code;
    fs::create_directories(options_.outDir, code);
    workDir_ = fs::absolute(fs::path(options_.outDir) / "work", code).string();
    fs::create_directories(workDir_, code);
    std::vector<site_variant> variants;
    std::string error;
    if (code ||
        !writeSiteVariants(options_.site, options_.layoutRoot, options_.outDir, variants, error)) {
        err_ << "kovo-host: " << (error.empty() ? "cannot write " + options_.outDir : error)
             << "\n";
        return 2;
    }
    const int first = options_.reproduceOne ? options_.reproduceRun : 0;
    const int count = options_.reproduceOne ? 1 : options_.runs;
    long long steps = 0;
    std::vector<std::pair<std::string, std::string>> runResults;
    for (int run = first; run < first + count; ++run) {
        progress(run - first, count);
        const site_variant& variant = variants[static_cast<std::size_t>(run) % variants.size()];
        child_result result = runOne(run, variant);
        const std::string id = std::to_string(options_.seed) + ":" + std::to_string(run);
        if (result.kind == child_result::unusable || result.kind == child_result::spoiled) {
            if (options_.progress) {
                err_ << "\n";
            }
            err_ << "kovo-host: validate cannot run " << options_.plugin << " (run " << id
                 << ", site " << variant.name << "): " << result.message << "\n";
            return 2;
        }
        steps += result.steps;
        std::string signatures;
        for (const finding& found : result.findings) {
            signatures += (signatures.empty() ? "" : "; ") + found.signature();
            record(found, result, id, variant);
        }
        runResults.emplace_back(id + " (" + variant.name + ")", signatures);
        if (result.findings.empty()) {
            dropBulkyFiles(run);
        }
    }
    progress(count, count);
    if (options_.progress) {
        err_ << "\n";
    }
    for (std::size_t i = 0; i < findings_.size(); ++i) {
        shrink(findings_[i]);
        writeReproducer(findings_[i], static_cast<int>(i + 1));
    }
    out_ << count << " runs, " << steps << " steps, " << findings_.size() << " findings\n";
    for (std::size_t i = 0; i < findings_.size(); ++i) {
        const finding_group& group = findings_[i];
        out_ << "\nfinding " << (i + 1) << ": " << group.signature << "\n";
        out_ << "  runs: " << group.runs.size() << " (first: seed:run " << group.runs.front()
             << ", site variant " << group.variant << "; --reproduce " << group.runs.front()
             << ")\n";
        out_ << "  first message: " << group.message << "\n";
        out_ << "  reproducer: " << group.reproducer << " (" << group.lines.size() << " lines; "
             << group.shrinkNote << ")\n";
        out_ << "  transcript: " << group.transcript << "\n";
        out_ << "  replay: kovo-host run --check --fresh-db" << hostOptions() << " "
             << group.reproducer << "\n";
    }
    if (!options_.junitFile.empty()) {
        writeJunit(runResults);
    }
    return findings_.empty() ? 0 : 1;
}

}  // namespace

int runValidation(const validator_options& options, std::ostream& out, std::ostream& err) {
    campaign validation(options, out, err);
    return validation.run();
}

}  // namespace kovo_host
