// check-site: reads a site as the plug-ins and the simulator read it and lists
// every setting, device file and name file that a plug-in will trip over.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kovo_host {

enum class finding_severity {
    warning,  // probably a mistake
    error,    // a plug-in will misbehave or cannot use it
};

struct site_finding {
    std::string file;  // relative to the site directory
    int line = 0;      // from 1; 0 when the finding is about the whole file
    finding_severity severity = finding_severity::warning;
    std::string problem;  // what is wrong
    std::string effect;   // what the plug-in will do with it
};

struct site_check_result {
    bool isSite = false;
    std::string error;                   // why the directory is not a site
    std::string directory;               // the site directory, absolute
    std::vector<site_finding> findings;  // by file, then by line

    int count(finding_severity severity) const;
};

site_check_result checkSite(const std::string& dir);

// "file:line: error: problem: effect" per finding, then a count.
void printFindings(const site_check_result& result, std::ostream& out);
void printFindingsJson(const site_check_result& result, std::ostream& out);

// 0 clean, 1 errors (or warnings when strict), 2 not a site.
int checkExitStatus(const site_check_result& result, bool strict);

}  // namespace kovo_host
