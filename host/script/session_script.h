// The session script language: one instruction per line.
#pragma once

#include <string>
#include <vector>

namespace kovo_host {

enum class line_kind {
    blank,  // empty or comment
    site,
    load,
    unload,
    press,
    choose,
    type,
    event,
    query,
    advance,
    rename,
    import_names,
    show,
    expect,
    expect_debug,
    expect_none,
    expect_name,
    expect_px,
    expect_answer,
    tick,        // a timer expiry with any id
    dbevent,     // a database event with any content
    answers,     // how the host answers text-returning commands from here on
    invariants,  // check the plug-in invariants from here on (on) or not (off)
    autoshow,    // shell conveniences, accepted in scripts too
    help,
    quit,
};

struct script_line {
    int number = 0;  // 1-based line number in its file
    line_kind kind = line_kind::blank;
    std::string text;  // the line as written
    std::string name;  // script name
    std::string plugin, instance, panel, control, rest;
    bool hasInstance = false;
    std::string site;  // load: the site to use, empty for the current one
    bool hasRest = false;
    int workstation = -1;  // -1: not given
    int position = 0;      // choose
    long long ms = 0;      // advance
    int device = 0, database = 0, index = 0;
    bool on = false;   // autoshow, invariants
    std::string mode;  // answers

    // True for the lines after which expectations check what was sent.
    bool isAction() const;
    // True for the expect lines, which check what the last action did.
    bool isExpectation() const;
};

// Reads one line; false with a message when it cannot be read.
bool parseScriptLine(const std::string& text, int number, script_line& line, std::string& error);

// Reads a whole script; stops at the first line it cannot read (error names file:line).
bool parseScript(const std::string& text, const std::string& fileName,
                 std::vector<script_line>& lines, std::string& error);

// The word a line of this kind starts with ("press", "expect-none", ...); ""
// for a blank line.
const char* lineKeyword(line_kind kind);

// The table of lines, for "help".
const char* scriptLanguageHelp();

}  // namespace kovo_host
