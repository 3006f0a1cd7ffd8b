#include "validate_command.h"

#include <iostream>

#include "child_protocol.h"
#include "command_usage.h"
#include "kovo_os_host.h"
#include "numbers.h"
#include "validator.h"
#include "validator_sites.h"

namespace kovo_host {

namespace {

bool wholeNumber(const std::string& text, long long low, long long& value) {
    return parseDigits(text, value) && value >= low;
}

int usageError(const std::string& message) {
    std::cerr << "kovo-host: " << message << "\n" << commandUsage("validate");
    return 2;
}

}  // namespace

int validateCommand(const std::vector<std::string>& args, const simulator_options& host) {
    validator_options options;
    options.site = host.siteDir;
    options.executable = kovo_os::executablePath();
    options.hostArguments = {"--plugins", host.pluginDir, "--layouts", host.layoutRoot};
    options.layoutRoot = host.layoutRoot;
    if (!host.captureDebugOutput) {
        options.hostArguments.push_back("--no-capture");
    }
    options.progress = kovo_os::standardErrorIsTerminal();
    child_job job;
    bool child = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty() || arg[0] != '-') {
            if (!options.plugin.empty()) {
                return usageError("validate takes one plug-in");
            }
            options.plugin = arg;
            continue;
        }
        if (i + 1 >= args.size()) {
            return usageError(arg + " needs a value");
        }
        const std::string& value = args[++i];
        long long number = 0;
        if (arg == "--workstation" || arg == "--seed" || arg == "--runs" || arg == "--steps" ||
            arg == "--step-bound" || arg == "--shrink-budget" || arg == child_protocol::runOption) {
            const long long low =
                arg == "--runs" || arg == "--steps" || arg == "--step-bound" ? 1 : 0;
            if (!wholeNumber(value, low, number) || (arg != "--seed" && number > 2147483647LL)) {
                return usageError(arg + " takes a whole number, not \"" + value + "\"");
            }
        }
        if (arg == "--site") {
            options.site = value;
        } else if (arg == "--workstation") {
            options.workstation = static_cast<int>(number);
        } else if (arg == "--seed") {
            options.seed = static_cast<std::uint64_t>(number);
        } else if (arg == "--runs") {
            options.runs = static_cast<int>(number);
        } else if (arg == "--steps") {
            options.steps = static_cast<int>(number);
        } else if (arg == "--step-bound") {
            options.stepBoundMs = static_cast<int>(number);
        } else if (arg == "--shrink-budget") {
            options.shrinkBudgetMs = static_cast<int>(number);
        } else if (arg == "--junit") {
            options.junitFile = value;
        } else if (arg == "--out") {
            options.outDir = value;
        } else if (arg == "--reproduce") {
            const std::size_t colon = value.find(':');
            long long seed = 0, run = 0;
            if (colon == std::string::npos || !wholeNumber(value.substr(0, colon), 0, seed) ||
                !wholeNumber(value.substr(colon + 1), 0, run) || run > 2147483647LL) {
                return usageError("--reproduce takes SEED:RUN, not \"" + value + "\"");
            }
            options.seed = static_cast<std::uint64_t>(seed);
            options.reproduceOne = true;
            options.reproduceRun = static_cast<int>(run);
        } else if (arg == child_protocol::runOption) {  // the children's own options
            child = true;
            job.run = static_cast<int>(number);
        } else if (arg == child_protocol::replayOption) {
            child = true;
            job.replay = true;
            job.script = value;
        } else if (arg == child_protocol::tagOption) {
            job.tag = value;
        } else if (arg == child_protocol::dirOption) {
            job.workDir = value;
        } else {
            return usageError("unknown option " + arg);
        }
    }
    if (options.plugin.empty()) {
        return usageError("validate needs a plug-in");
    }
    if (child) {
        return runChild(options, host, job, std::cerr);
    }
    if (options.executable.empty()) {
        std::cerr << "kovo-host: cannot find this program's own path to start the runs\n";
        return 2;
    }
    return runValidation(options, std::cout, std::cerr);
}

}  // namespace kovo_host
