#include "session_script.h"

#include "answer_mode.h"
#include "numbers.h"
#include "text.h"

namespace kovo_host {

namespace {

struct line_syntax {
    const char* word;
    line_kind kind;
    int fixedWords;  // words after the keyword before the rest
    bool rest;       // takes the rest of the line
    const char* usage;
};

const line_syntax syntaxes[] = {
    {"site", line_kind::site, 1, false, "site DIR"},
    {"load", line_kind::load, 2, false,
     "load NAME PLUGIN [instance=TEXT] [workstation=N] [site=DIR]"},
    {"unload", line_kind::unload, 1, false, "unload NAME"},
    {"press", line_kind::press, 3, false, "press NAME PANEL CONTROL"},
    {"choose", line_kind::choose, 4, false, "choose NAME PANEL CONTROL N"},
    {"type", line_kind::type, 3, true, "type NAME PANEL CONTROL TEXT"},
    {"event", line_kind::event, 3, true, "event NAME PANEL CONTROL TEXT"},
    {"query", line_kind::query, 1, true, "query NAME TEXT"},
    {"advance", line_kind::advance, 1, false, "advance MS"},
    {"rename", line_kind::rename, 3, true, "rename DEVICE DB INDEX NAME"},
    {"import", line_kind::import_names, 0, true, "import FILE.csv"},
    {"tick", line_kind::tick, 2, false, "tick NAME ID"},
    {"dbevent", line_kind::dbevent, 4, true, "dbevent NAME DEVICE DB INDEX NAME"},
    {"answers", line_kind::answers, 1, false, "answers normal|none|empty|huge|quote|nonnumber"},
    {"invariants", line_kind::invariants, 1, false, "invariants on|off"},
    {"show", line_kind::show, 1, false, "show NAME"},
    {"expect", line_kind::expect, 0, true, "expect TEXT"},
    {"expect-debug", line_kind::expect_debug, 0, true, "expect-debug TEXT"},
    {"expect-none", line_kind::expect_none, 0, false, "expect-none"},
    {"expect-name", line_kind::expect_name, 3, true, "expect-name DEVICE DB INDEX NAME"},
    {"expect-px", line_kind::expect_px, 1, true, "expect-px WORKSTATION TEXT"},
    {"expect-answer", line_kind::expect_answer, 0, true, "expect-answer TEXT"},
    {"autoshow", line_kind::autoshow, 1, false, "autoshow on|off"},
    {"help", line_kind::help, 0, false, "help"},
    {"quit", line_kind::quit, 0, false, "quit"},
    {"exit", line_kind::quit, 0, false, "exit"},
};

// Splits off the next space-separated word; at is left at the separator after it.
std::string nextWord(const std::string& text, std::size_t& at) {
    while (at < text.size() && text[at] == ' ') {
        ++at;
    }
    const std::size_t start = at;
    while (at < text.size() && text[at] != ' ') {
        ++at;
    }
    return text.substr(start, at - start);
}

bool numberWord(const std::string& word, const char* what, int& value, std::string& error) {
    if (!parseNumber(word, value)) {
        error = std::string(what) + " must be a number, not \"" + word + "\"";
        return false;
    }
    return true;
}

}  // namespace

const char* lineKeyword(line_kind kind) {
    for (const line_syntax& syntax : syntaxes) {
        if (syntax.kind == kind) {
            return syntax.word;
        }
    }
    return "";
}

bool script_line::isAction() const {
    switch (kind) {
        case line_kind::load:
        case line_kind::unload:
        case line_kind::press:
        case line_kind::choose:
        case line_kind::type:
        case line_kind::event:
        case line_kind::query:
        case line_kind::advance:
        case line_kind::rename:
        case line_kind::import_names:
        case line_kind::tick:
        case line_kind::dbevent:
            return true;
        default:
            return false;
    }
}

bool script_line::isExpectation() const {
    switch (kind) {
        case line_kind::expect:
        case line_kind::expect_debug:
        case line_kind::expect_none:
        case line_kind::expect_name:
        case line_kind::expect_px:
        case line_kind::expect_answer:
            return true;
        default:
            return false;
    }
}

bool parseScriptLine(const std::string& raw, int number, script_line& line, std::string& error) {
    line = script_line{};
    line.number = number;
    line.text = raw;
    if (!line.text.empty() && line.text.back() == '\r') {
        line.text.pop_back();
    }
    const std::string& text = line.text;
    std::size_t at = 0;
    const std::string keyword = nextWord(text, at);
    if (keyword.empty() || keyword[0] == '#') {
        return true;
    }
    const line_syntax* syntax = nullptr;
    for (const line_syntax& candidate : syntaxes) {
        if (keyword == candidate.word) {
            syntax = &candidate;
        }
    }
    if (syntax == nullptr) {
        error = "unknown instruction \"" + keyword + "\" (try help)";
        return false;
    }
    line.kind = syntax->kind;
    std::vector<std::string> words;
    for (int i = 0; i < syntax->fixedWords; ++i) {
        words.push_back(nextWord(text, at));
        if (words.back().empty()) {
            error = "too few words: " + std::string(syntax->usage);
            return false;
        }
    }
    if (syntax->rest) {
        // The rest starts after the one space that separates it.
        if (at < text.size()) {
            line.rest = text.substr(at + 1);
            line.hasRest = true;
        }
    } else {
        std::vector<std::string> extra;
        for (std::string word = nextWord(text, at); !word.empty(); word = nextWord(text, at)) {
            extra.push_back(word);
        }
        if (line.kind == line_kind::load) {
            for (const std::string& option : extra) {
                if (option.compare(0, 9, "instance=") == 0) {
                    line.instance = option.substr(9);
                    line.hasInstance = true;
                } else if (option.compare(0, 5, "site=") == 0 && option.size() > 5) {
                    line.site = option.substr(5);
                } else if (option.compare(0, 12, "workstation=") == 0) {
                    if (!numberWord(option.substr(12), "the workstation", line.workstation,
                                    error) ||
                        line.workstation < 0) {
                        error = "the workstation must be a number of 0 or more";
                        return false;
                    }
                } else {
                    error = "unknown option \"" + option + "\": " + syntax->usage;
                    return false;
                }
            }
        } else if (!extra.empty()) {
            error = "too many words: " + std::string(syntax->usage);
            return false;
        }
    }
    switch (line.kind) {
        case line_kind::site:
            line.rest = words[0];
            break;
        case line_kind::load:
            line.name = words[0];
            line.plugin = words[1];
            break;
        case line_kind::unload:
        case line_kind::show:
        case line_kind::query:
            line.name = words[0];
            break;
        case line_kind::press:
        case line_kind::type:
        case line_kind::event:
            line.name = words[0];
            line.panel = words[1];
            line.control = words[2];
            break;
        case line_kind::choose:
            line.name = words[0];
            line.panel = words[1];
            line.control = words[2];
            if (!numberWord(words[3], "the position", line.position, error)) {
                return false;
            }
            break;
        case line_kind::advance: {
            int ms = 0;
            if (!numberWord(words[0], "the time", ms, error) || ms < 0) {
                error = "the time must be a whole number of milliseconds, 0 to 2147483647";
                return false;
            }
            line.ms = ms;
            break;
        }
        case line_kind::rename:
        case line_kind::expect_name:
            if (!numberWord(words[0], "the device", line.device, error) ||
                !numberWord(words[1], "the database", line.database, error) ||
                !numberWord(words[2], "the index", line.index, error)) {
                return false;
            }
            break;
        case line_kind::expect_px:
            if (!numberWord(words[0], "the workstation", line.workstation, error)) {
                return false;
            }
            break;
        case line_kind::expect:
        case line_kind::expect_debug:
            if (!line.hasRest || line.rest.empty()) {
                error = "the text is missing: " + std::string(syntax->usage);
                return false;
            }
            break;
        case line_kind::autoshow:
        case line_kind::invariants:
            if (words[0] != "on" && words[0] != "off") {
                error = std::string(syntax->word) + " on or " + syntax->word + " off";
                return false;
            }
            line.on = words[0] == "on";
            break;
        case line_kind::tick:
            line.name = words[0];
            if (!numberWord(words[1], "the timer id", line.index, error)) {
                return false;
            }
            break;
        case line_kind::dbevent:
            line.name = words[0];
            if (!numberWord(words[1], "the device", line.device, error) ||
                !numberWord(words[2], "the database", line.database, error) ||
                !numberWord(words[3], "the index", line.index, error)) {
                return false;
            }
            break;
        case line_kind::answers: {
            answer_mode mode;
            if (!parseAnswerMode(words[0], mode)) {
                error = syntax->usage;
                return false;
            }
            line.mode = words[0];
            break;
        }
        default:
            break;
    }
    return true;
}

bool parseScript(const std::string& text, const std::string& fileName,
                 std::vector<script_line>& lines, std::string& error) {
    int number = 0;
    for (const std::string& raw : textLines(text)) {
        ++number;
        script_line line;
        std::string detail;
        if (!parseScriptLine(raw, number, line, detail)) {
            error = fileName + ":" + std::to_string(number) + ": " + detail;
            return false;
        }
        if (line.kind != line_kind::blank) {
            lines.push_back(std::move(line));
        }
    }
    return true;
}

const char* scriptLanguageHelp() {
    return "site DIR                           use this site\n"
           "load NAME PLUGIN [instance=TEXT] [workstation=N] [site=DIR]\n"
           "                                   load a plug-in (path or bare name) as script NAME\n"
           "unload NAME                        destroy script NAME, close its library\n"
           "press NAME PANEL CONTROL           button press: button=released\n"
           "choose NAME PANEL CONTROL N        list entry N (from 0), group N (1-12), name-map "
           "button N (1-30)\n"
           "type NAME PANEL CONTROL TEXT       keyboard: text=TEXT\n"
           "event NAME PANEL CONTROL TEXT      raw control event with this event text\n"
           "query NAME TEXT                    parent query; prints the answer\n"
           "advance MS                         advance the clock, delivering due timers\n"
           "rename DEVICE DB INDEX NAME        change a stored name from outside\n"
           "import FILE.csv                    store the names of a CSV file (names import)\n"
           "tick NAME ID                       a timer expiry with this id\n"
           "dbevent NAME DEVICE DB INDEX NAME  a database event with this content\n"
           "answers MODE                       TG/XI/RN/SD answers: normal, none, empty, huge,\n"
           "                                   quote or nonnumber\n"
           "invariants on|off                  check the plug-in invariants as breaches\n"
           "show NAME                          print the shown panel of NAME\n"
           "expect TEXT                        the next command text of the last action is TEXT\n"
           "expect-debug TEXT                  the next debug output contains TEXT (\\n: line "
           "end)\n"
           "expect-none                        the last action sent nothing more\n"
           "expect-name DEVICE DB INDEX NAME   the stored name is exactly NAME\n"
           "expect-px WORKSTATION TEXT         a process-execution request TEXT reached it\n"
           "expect-answer TEXT                 the last query was answered with exactly TEXT\n"
           "autoshow on|off                    show the panel after every action\n"
           "help                               this list\n"
           "quit (or exit, or end of input)    unload everything and leave\n";
}

}  // namespace kovo_host
