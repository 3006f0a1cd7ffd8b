#include "command_text.h"

#include <algorithm>
#include <cstring>

#include "kovo_events.h"
#include "numbers.h"

namespace kovo_host {

namespace {

// How a verb's arguments look: a count range and which of them are numbers.
struct command_rule {
    const char* verb;
    int minArgs;
    int maxArgs;
    const char* numbers;  // one character per argument: 'n' number, 't' text
};

const command_rule rules[] = {
    {"PS", 2, 3, "ttt"},  {"PI", 2, 3, "ttt"}, {"PR", 1, 1, "t"},     {"TP", 3, 3, "ttt"},
    {"TG", 3, 3, "ttt"},  {"CE", 2, 2, "tt"},  {"CD", 2, 2, "tt"},    {"CS", 2, 2, "tt"},
    {"CH", 2, 2, "tt"},   {"XI", 2, 2, "tt"},  {"ET", 1, 2, "nn"},    {"RR", 3, 4, "nnnt"},
    {"RU", 1, 1, "n"},    {"RN", 3, 3, "nnn"}, {"RM", 5, 5, "nnntn"}, {"SD", 1, 1, "t"},
    {"IW", 4, 4, "ntnn"}, {"AS", 0, 0, ""},
};

const command_rule* findRule(const std::string& verb) {
    for (const command_rule& rule : rules) {
        if (verb.size() == 2 && verb[0] == rule.verb[0] && verb[1] == rule.verb[1]) {
            return &rule;
        }
    }
    return nullptr;
}

std::string countText(const command_rule& rule) {
    if (rule.minArgs == rule.maxArgs) {
        return std::to_string(rule.minArgs);
    }
    return std::to_string(rule.minArgs) + " or " + std::to_string(rule.maxArgs);
}

}  // namespace

bool isTextArgument(const std::string& verb, std::size_t i) {
    const command_rule* rule = findRule(verb);
    return rule != nullptr && i < std::strlen(rule->numbers) && rule->numbers[i] == 't';
}

std::string formatCommand(const parsed_command& command) {
    std::string text = command.verb;
    for (std::size_t i = 0; i < command.args.size(); ++i) {
        const bool quoted = isTextArgument(command.verb, i);
        text += quoted ? " '" + command.args[i] + "'" : " " + command.args[i];
    }
    return text;
}

parsed_command parseCommand(const char* text) {
    parsed_command command;
    parseCommand(text, command);
    return command;
}

void parseCommand(const char* text, parsed_command& command) {
    command.verb.clear();
    command.error.clear();
    command.unknownVerb = false;
    if (text == nullptr || *text == '\0') {
        command.args.clear();
        command.error = "empty command text";
        command.unknownVerb = true;
        return;
    }
    const std::size_t length = std::strlen(text);
    // The tokenizer cannot tell an unclosed quote; an odd count of quotes means
    // a quoted word ran to the end of the text (for example a name holding ').
    if (std::count(text, text + length, '\'') % 2 != 0) {
        command.error = "a quoted word is not closed (odd number of quote characters)";
    }
    command.split.assign(text, length);
    const char* words[decodeKOVOString::maxTokens];
    const int count = decodeKOVOString::split(&command.split[0], '\'', words);
    command.verb.assign(words[0]);
    // Resized, not cleared: the words of the last command keep their room.
    command.args.resize(static_cast<std::size_t>(count - 1));
    for (int i = 1; i < count; ++i) {
        command.args[static_cast<std::size_t>(i - 1)].assign(words[i]);
    }
    const command_rule* rule = findRule(command.verb);
    if (rule == nullptr) {
        command.unknownVerb = true;
        command.error = "unknown command \"" + command.verb + "\"";
        return;
    }
    if (!command.error.empty()) {
        return;
    }
    const int argCount = static_cast<int>(command.args.size());
    if (argCount < rule->minArgs || argCount > rule->maxArgs) {
        command.error = command.verb + " takes " + countText(*rule) + " argument" +
                        (rule->maxArgs == 1 ? "" : "s") + ", not " + std::to_string(argCount);
        return;
    }
    for (int i = 0; i < argCount; ++i) {
        int number = 0;
        if (rule->numbers[i] == 'n' && !parseNumber(command.args[i], number)) {
            command.error = "argument " + std::to_string(i + 1) + " of " + command.verb +
                            " is not a number: \"" + command.args[i] + "\"";
            return;
        }
    }
    if (isVerb(command.verb, "RR") && argCount == 4 && command.args[3] != "ADD") {
        command.error = "the fourth argument of RR must be 'ADD', not \"" + command.args[3] + "\"";
    } else if (isVerb(command.verb, "ET") && argCount == 2 && command.args[1][0] == '-') {
        command.error = "negative timer interval \"" + command.args[1] + "\"";
    }
}

}  // namespace kovo_host
