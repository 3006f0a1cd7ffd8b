#include "finding.h"

namespace kovo_host {

namespace {

std::string firstWord(const std::string& text) {
    return text.substr(0, text.find(' '));
}

// The text with what differs between two findings of one family taken out:
// each "..." quoted part and each run of digits.
std::string withoutParticulars(const std::string& text) {
    std::string out;
    bool inQuote = false;
    for (const char c : text) {
        if (c == '"') {
            inQuote = !inQuote;
            out += inQuote ? "\"...\"" : "";
        } else if (inQuote) {
            continue;
        } else if (c >= '0' && c <= '9') {
            if (out.empty() || out.back() != 'N') {
                out += 'N';
            }
        } else {
            out += c;
        }
    }
    return out.size() > 160 ? out.substr(0, 160) : out;
}

}  // namespace

std::string finding::message() const {
    switch (kind) {
        case finding_kind::breach:
            return "protocol breach by " + script + ": " +
                   (command.empty() ? std::string() : command + ": ") + text;
        case finding_kind::crash:
            return text + " at: " + command;
        case finding_kind::failure:
        case finding_kind::hang:
            break;
    }
    return text;
}

std::string finding::signature() const {
    switch (kind) {
        case finding_kind::breach: {
            // An invariant is named by its rule alone: "invariant database-size".
            const std::string invariant = "invariant ";
            if (text.compare(0, invariant.size(), invariant) == 0) {
                return firstWord(command) + " " + text.substr(0, text.find(':'));
            }
            // The verb stays; the command's arguments go.
            return withoutParticulars(command.empty() ? text : firstWord(command) + ": " + text);
        }
        case finding_kind::hang:
            return "hang";
        case finding_kind::crash:
            return text;
        case finding_kind::failure:
            break;
    }
    return withoutParticulars(text);
}

finding breachFinding(int line, const std::string& script, const std::string& command,
                      const std::string& rule) {
    finding found;
    found.kind = finding_kind::breach;
    found.line = line;
    found.script = script;
    found.command = command;
    found.text = rule;
    return found;
}

finding hostFinding(finding_kind kind, int line, const std::string& text) {
    finding found;
    found.kind = kind;
    found.line = line;
    found.text = text;
    return found;
}

finding crashFinding(int line, const std::string& signature, const std::string& step) {
    finding found = hostFinding(finding_kind::crash, line, signature);
    found.command = step;
    return found;
}

}  // namespace kovo_host
