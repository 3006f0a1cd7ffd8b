// What a validation run finds, as data: a protocol breach (the script, the
// command it came with, the rule it broke), a failure of the host itself, a
// hang or a crash. Findings are grouped by their signature: the family they
// belong to, the particulars (numbers, names, texts) taken out.
#pragma once

#include <string>

namespace kovo_host {

enum class finding_kind { breach, failure, hang, crash };

struct finding {
    finding_kind kind = finding_kind::breach;
    int line = 0;         // the step it was found at, from 1; past the last: while unloading
    std::string script;   // breach: the script that broke the rule
    std::string command;  // breach: the command it broke it with (may be empty); crash: the
                          // step it died at
    std::string text;     // breach: the rule; failure, hang: what happened; crash: what the
                          // sanitizer or the system said, as a signature

    // As a report shows it: "protocol breach by p: RM 101 0 1 'x' 0: invariant ...".
    std::string message() const;
    // "RM invariant operator-action", "TP: malformed: ...", "hang", "crash: ...".
    std::string signature() const;
};

finding breachFinding(int line, const std::string& script, const std::string& command,
                      const std::string& rule);
finding hostFinding(finding_kind kind, int line, const std::string& text);
finding crashFinding(int line, const std::string& signature, const std::string& step);

}  // namespace kovo_host
