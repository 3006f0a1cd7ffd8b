#include "child_protocol.h"

#include <cstdlib>
#include <filesystem>

#include "text.h"

namespace kovo_host {
namespace child_protocol {

namespace {

const char* const kindWords[] = {"breach", "failure", "hang", "crash"};

// A field on one line of the result file.
std::string flat(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r' || c == '\t') {
            c = ' ';
        }
    }
    return text;
}

bool kindOf(const std::string& word, finding_kind& kind) {
    for (int k = 0; k < 4; ++k) {
        if (word == kindWords[k]) {
            kind = static_cast<finding_kind>(k);
            return true;
        }
    }
    return false;
}

}  // namespace

std::string childFile(const std::string& workDir, const std::string& tag, const char* suffix) {
    return (std::filesystem::path(workDir) / (tag + suffix)).string();
}

std::string resultLine(const finding& found) {
    return std::to_string(found.line) + "\t" + kindWords[static_cast<int>(found.kind)] + "\t" +
           flat(found.script) + "\t" + flat(found.command) + "\t" + flat(found.text);
}

std::string stepsLine(int steps) {
    return "steps\t" + std::to_string(steps);
}

child_results readResults(const std::string& text) {
    child_results results;
    for (const std::string& line : textLines(text)) {
        const std::vector<std::string> fields = splitAt(line, '\t');
        finding found;
        if (fields.size() == 2 && fields[0] == "steps") {
            results.finished = true;
            results.steps = std::atoi(fields[1].c_str());
        } else if (fields.size() == 5 && kindOf(fields[1], found.kind)) {
            found.line = std::atoi(fields[0].c_str());
            found.script = fields[2];
            found.command = fields[3];
            found.text = fields[4];
            results.findings.push_back(std::move(found));
        }
    }
    return results;
}

}  // namespace child_protocol
}  // namespace kovo_host
