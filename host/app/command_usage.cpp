#include "command_usage.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "validator_sites.h"

namespace kovo_host {

namespace {

const std::string commonOptions =
    "options every subcommand takes:\n"
    "  --site DIR      site directory (default: the demo site)\n"
    "  --db FILE       name store file (default: one per site in the user's state folder)\n"
    "  --state DIR     folder of the per-site name stores\n"
    "  --plugins DIR   where bare plug-in names are found (default: the build's lib folder)\n"
    "  --layouts DIR   where layout paths start (default: the source tree)\n"
    "  --fresh-db      seed the name store afresh from the site's name files\n"
    "  --no-capture    let the plug-ins' debug output go to standard error\n";

const std::map<std::string, std::string> usages = {
    {"run",
     "usage: kovo-host run [--check] [options] SCRIPT\n"
     "Runs a session script and prints its transcript. --check: exit 1 at the first\n"
     "failed expectation or protocol breach, naming the script line.\n"},
    {"shell",
     "usage: kovo-host shell [options]\n"
     "Session script lines typed one at a time (help lists them); timers run on the\n"
     "real clock while it waits.\n"},
    {"check-site",
     "usage: kovo-host check-site [DIR] [--json] [--strict] [options]\n"
     "Every fault of a site that a plug-in will trip over, with file, line and what the\n"
     "plug-in will do. Exit status: 0 clean, 1 errors (or warnings under --strict), 2 not\n"
     "a site.\n"},
    {"names",
     "usage: kovo-host names export [--device N] [--database D] [options]\n"
     "       kovo-host names import FILE.csv [--dry-run] [options]\n"
     "The stored names as CSV (device,database,index,name); an import checks every row\n"
     "and stores all of them in one transaction or none. Exit status: 0 done, 1 a bad\n"
     "row or a failed store, 2 a usage error, not a site or no store.\n"},
    {"serve",
     "usage: kovo-host serve [--listen ADDR] [--port N] [--load NAME=PLUGIN[:workstation=N]]...\n"
     "                       [options]\n"
     "The browser panel emulator: open the address it prints. --listen: the address to\n"
     "listen on (default 127.0.0.1; another lets anyone who reaches it press the panels);\n"
     "--port: default 8080, 0 any free one; --load: a script loaded at the start (NAME of\n"
     "letters, digits, _ and -; PLUGIN a plug-in of the build).\n"},
    {"validate",
     "usage: kovo-host validate PLUGIN [--site DIR] [--workstation N] [--seed N] [--runs N]\n"
     "                          [--steps N] [--junit FILE] [--out DIR] [--reproduce SEED:RUN]\n"
     "                          [--step-bound MS] [--shrink-budget MS] [options]\n"
     "Storms the plug-in with seeded operator and hostile steps, one child process per run,\n"
     "on the site and variants of it written to DIR/sites; each finding is shrunk to a session\n"
     "script in DIR/repro that `kovo-host run --check --fresh-db` fails on.\n"
     "Exit status: 0 no finding, 1 findings, 2 cannot run.\n"},
};

// Which variant a run uses, from the variants' own list.
std::string variantsText() {
    const std::vector<std::string> names = siteVariantNames();
    std::string text =
        "Run R (from 0) uses site variant R mod " + std::to_string(names.size()) + ":";
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? " " : ", ") + names[i];
    }
    return text + ";\nso --runs " + std::to_string(names.size()) +
           "*K gives every variant K runs.\n";
}

}  // namespace

std::string overallUsage() {
    return "usage: kovo-host run [--check] [options] SCRIPT\n"
           "       kovo-host shell [options]\n"
           "       kovo-host check-site [DIR] [--json] [--strict] [options]\n"
           "       kovo-host names export [--device N] [--database D] [options]\n"
           "       kovo-host names import FILE.csv [--dry-run] [options]\n"
           "       kovo-host serve [--listen ADDR] [--port N] [--load NAME=PLUGIN]... [options]\n"
           "       kovo-host validate PLUGIN [validate options] [options]\n"
           "kovo-host SUBCOMMAND --help tells more of each.\n" +
           commonOptions;
}

std::string commandUsage(const std::string& command) {
    const auto found = usages.find(command);
    if (found == usages.end()) {
        return std::string();
    }
    return found->second + (command == "validate" ? variantsText() : std::string()) + commonOptions;
}

bool asksForHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& arg) { return arg == "--help" || arg == "-h"; });
}

}  // namespace kovo_host
