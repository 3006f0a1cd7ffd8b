#include "check_site_command.h"

#include "command_usage.h"
#include "site_check.h"

namespace kovo_host {

int runCheckSite(const std::vector<std::string>& args, const simulator_options& options,
                 std::ostream& out, std::ostream& err) {
    bool json = false;
    bool strict = false;
    std::vector<std::string> dirs;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (arg == "--strict") {
            strict = true;
        } else if (!arg.empty() && arg[0] == '-') {
            err << "kovo-host: check-site: unknown option " << arg << "\n"
                << commandUsage("check-site");
            return 2;
        } else {
            dirs.push_back(arg);
        }
    }
    if (dirs.size() > 1) {
        err << "kovo-host: check-site takes one site directory\n";
        return 2;
    }
    const site_check_result result = checkSite(dirs.empty() ? options.siteDir : dirs[0]);
    if (json) {
        printFindingsJson(result, out);
    } else if (result.isSite) {
        printFindings(result, out);
    } else {
        err << "kovo-host: " << result.error << "\n";
    }
    return checkExitStatus(result, strict);
}

}  // namespace kovo_host
