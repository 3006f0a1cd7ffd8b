// What each subcommand of kovo-host takes: one text a subcommand, printed by
// `kovo-host SUBCOMMAND --help` and after a mistake on its command line.
#pragma once

#include <string>
#include <vector>

namespace kovo_host {

// The usage of one subcommand ("run", "shell", "check-site", "names", "serve",
// "validate"), the options every subcommand takes included; empty for another.
std::string commandUsage(const std::string& command);
// Every subcommand in a line or two, for `kovo-host --help`.
std::string overallUsage();

// True when the arguments ask for help (--help or -h).
bool asksForHelp(const std::vector<std::string>& args);

}  // namespace kovo_host
