// kovo-host: runs panel plug-ins in the host simulator, from a session script
// (run) or typed line by line (shell); checks a site (check-site), moves stored
// names in and out (names), serves the browser emulator (serve) and validates
// a plug-in (validate), each subcommand in a file of its own.
#include <iostream>
#include <string>
#include <vector>

#include "check_site_command.h"
#include "command_usage.h"
#include "host_command_line.h"
#include "interactive_shell.h"
#include "kovo_os_host.h"
#include "names_command.h"
#include "script_runner.h"
#include "serve_command.h"
#include "validate_command.h"

namespace kovo_host {

bool takeCommonOptions(std::vector<std::string>& args, simulator_options& options,
                       std::string& error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string* target = arg == "--site"      ? &options.siteDir
                              : arg == "--db"      ? &options.dbFile
                              : arg == "--state"   ? &options.stateDir
                              : arg == "--plugins" ? &options.pluginDir
                              : arg == "--layouts" ? &options.layoutRoot
                                                   : nullptr;
        if (target != nullptr) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            *target = args[++i];
        } else if (arg == "--fresh-db") {
            options.freshStore = true;
        } else if (arg == "--no-capture") {
            options.captureDebugOutput = false;
        } else {
            rest.push_back(arg);
        }
    }
    args = rest;
    return true;
}

}  // namespace kovo_host

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kovo_host::overallUsage();
        return args.empty() ? 2 : 0;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    const std::string usage = kovo_host::commandUsage(command);
    if (usage.empty()) {
        std::cerr << "kovo-host: unknown command " << command << "\n" << kovo_host::overallUsage();
        return 2;
    }
    if (kovo_host::asksForHelp(args)) {
        std::cout << usage;
        return 0;
    }
    kovo_host::simulator_options options = kovo_host::defaultOptions();
    std::string error;
    if (!kovo_host::takeCommonOptions(args, options, error)) {
        std::cerr << "kovo-host: " << error << "\n" << usage;
        return 2;
    }
    if (command == "validate") {
        return kovo_host::validateCommand(args, options);
    }
    if (command == "check-site") {
        return kovo_host::runCheckSite(args, options, std::cout, std::cerr);
    }
    if (command == "names") {
        return kovo_host::runNames(args, options, std::cout, std::cerr);
    }
    if (command == "serve") {
        return kovo_host::runServe(args, options);
    }
    bool check = false;
    std::vector<std::string> scripts;
    for (const std::string& arg : args) {
        if (command == "run" && arg == "--check") {
            check = true;
        } else if (!arg.empty() && arg[0] == '-') {
            std::cerr << "kovo-host: unknown option " << arg << "\n" << usage;
            return 2;
        } else {
            scripts.push_back(arg);
        }
    }
    if (command == "run" ? scripts.size() != 1 : !scripts.empty()) {
        std::cerr << "kovo-host: "
                  << (command == "run" ? "run takes one script" : "shell takes no script") << "\n"
                  << usage;
        return 2;
    }
    kovo_host::simulator sim(options);
    std::string siteError;
    if (!sim.useSite(options.siteDir, siteError)) {
        std::cerr << "kovo-host: " << siteError << "\n";
        return 2;
    }
    if (command == "run") {
        return kovo_host::runScriptFile(sim, scripts[0], check, std::cout, std::cerr);
    }
    // A person at a terminal gets a prompt, and timers fire while the shell waits.
    kovo_host::shell_terminal terminal;
    terminal.prompt = kovo_os::standardInputIsTerminal();
    if (terminal.prompt) {
        terminal.waitForInput = kovo_os::waitForStandardInput;
    }
    return kovo_host::runShell(sim, std::cin, std::cout, terminal);
}
