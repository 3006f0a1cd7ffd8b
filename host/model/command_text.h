// A command text as the host reads it: the verb, its arguments, and whether the
// text is well formed for that verb.
#pragma once

#include <string>
#include <vector>

namespace kovo_host {

struct parsed_command {
    std::string verb;               // first word: "PS", "TP", ...
    std::vector<std::string> args;  // the words after it, quotes removed
    std::string error;              // why the text is malformed or unknown; empty when fine
    bool unknownVerb = false;
    std::string
        split;  // the text as cut into words; kept so that a reused command allocates little
};

// Splits the text with the host tokenizer (quote character ') and checks the
// argument count and every number the verb expects.
parsed_command parseCommand(const char* text);
// The same into a command used before: its strings keep their room, so the
// host's many commands do not allocate each word anew.
void parseCommand(const char* text, parsed_command& command);

// The text a well-formed command is written as: the verb, then each argument,
// numbers plain and texts between single quotes.
std::string formatCommand(const parsed_command& command);
// True when argument i (from 0) of the verb is a quoted text.
bool isTextArgument(const std::string& verb, std::size_t i);

// True when verb is the two letters of name ("TP"): cheaper than comparing
// strings, as every command text is looked at this way several times.
inline bool isVerb(const std::string& verb, const char (&name)[3]) {
    return verb.size() == 2 && verb[0] == name[0] && verb[1] == name[1];
}

}  // namespace kovo_host
