#include "script_writer.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace kovo_host {

namespace {

void word(std::string& out, const std::string& text) {
    out += ' ';
    out += text;
}

void number(std::string& out, long long value) {
    word(out, std::to_string(value));
}

// The rest of a line follows after one space; without one the line has none.
void rest(std::string& out, const script_line& line) {
    if (line.hasRest) {
        word(out, line.rest);
    }
}

script_line lineOf(line_kind kind) {
    script_line line;
    line.kind = kind;
    return line;
}

script_line restLine(line_kind kind, const std::string& text) {
    script_line line = lineOf(kind);
    line.rest = text;
    line.hasRest = true;
    return line;
}

script_line controlLine(line_kind kind, const std::string& name, const std::string& panel,
                        const std::string& control) {
    script_line line = lineOf(kind);
    line.name = name;
    line.panel = panel;
    line.control = control;
    return line;
}

// "type" and "event": the text is the rest of the line, and always written
// (an empty one as a line that ends in a space).
script_line controlTextLine(line_kind kind, const std::string& name, const std::string& panel,
                            const std::string& control, const std::string& text) {
    script_line line = controlLine(kind, name, panel, control);
    line.rest = text;
    line.hasRest = true;
    return line;
}

}  // namespace

bool fitsOnLine(const std::string& text) {
    return text.find_first_of("\r\n") == std::string::npos;
}

std::string writeScriptLine(const script_line& line) {
    std::string out = lineKeyword(line.kind);
    switch (line.kind) {
        case line_kind::site:
            word(out, line.rest);
            break;
        case line_kind::load:
            word(out, line.name);
            word(out, line.plugin);
            if (line.hasInstance) {
                word(out, "instance=" + line.instance);
            }
            if (line.workstation >= 0) {
                word(out, "workstation=" + std::to_string(line.workstation));
            }
            if (!line.site.empty()) {
                word(out, "site=" + line.site);
            }
            break;
        case line_kind::unload:
        case line_kind::show:
            word(out, line.name);
            break;
        case line_kind::press:
        case line_kind::choose:
        case line_kind::type:
        case line_kind::event:
            word(out, line.name);
            word(out, line.panel);
            word(out, line.control);
            if (line.kind == line_kind::choose) {
                number(out, line.position);
            }
            rest(out, line);
            break;
        case line_kind::query:
            word(out, line.name);
            rest(out, line);
            break;
        case line_kind::advance:
            number(out, line.ms);
            break;
        case line_kind::tick:
            word(out, line.name);
            number(out, line.index);
            break;
        case line_kind::dbevent:
            word(out, line.name);
            [[fallthrough]];
        case line_kind::rename:
        case line_kind::expect_name:
            number(out, line.device);
            number(out, line.database);
            number(out, line.index);
            rest(out, line);
            break;
        case line_kind::expect_px:
            number(out, line.workstation);
            rest(out, line);
            break;
        case line_kind::answers:
            word(out, line.mode);
            break;
        case line_kind::autoshow:
        case line_kind::invariants:
            word(out, line.on ? "on" : "off");
            break;
        default:
            rest(out, line);  // import, expect, expect-debug, expect-answer; none for the others
            break;
    }
    return out;
}

script_line siteLine(const std::string& dir, const std::string& root) {
    script_line line = lineOf(line_kind::site);
    line.rest = dir;
    if (!root.empty()) {
        std::error_code code;
        const fs::path base = fs::weakly_canonical(fs::absolute(root, code), code);
        const fs::path relative = fs::path(dir).lexically_relative(base);
        if (!relative.empty() && *relative.begin() != "..") {
            line.rest = relative.generic_string();
        }
    }
    return line;
}

script_line loadLine(const std::string& name, const std::string& plugin, int workstation) {
    script_line line = lineOf(line_kind::load);
    line.name = name;
    line.plugin = plugin;
    line.workstation = workstation < 0 ? -1 : workstation;
    return line;
}

script_line loadLine(const std::string& name, const std::string& plugin,
                     const std::string& instance, int workstation) {
    script_line line = loadLine(name, plugin, workstation);
    line.instance = instance;
    line.hasInstance = true;
    return line;
}

script_line unloadLine(const std::string& name) {
    script_line line = lineOf(line_kind::unload);
    line.name = name;
    return line;
}

script_line pressLine(const std::string& name, const std::string& panel,
                      const std::string& control) {
    return controlLine(line_kind::press, name, panel, control);
}

script_line chooseLine(const std::string& name, const std::string& panel,
                       const std::string& control, int position) {
    script_line line = controlLine(line_kind::choose, name, panel, control);
    line.position = position;
    return line;
}

script_line typeLine(const std::string& name, const std::string& panel, const std::string& control,
                     const std::string& text) {
    return controlTextLine(line_kind::type, name, panel, control, text);
}

script_line eventLine(const std::string& name, const std::string& panel, const std::string& control,
                      const std::string& text) {
    return controlTextLine(line_kind::event, name, panel, control, text);
}

script_line queryLine(const std::string& name, const std::string& text, bool hasText) {
    script_line line = lineOf(line_kind::query);
    line.name = name;
    line.rest = hasText ? text : std::string();
    line.hasRest = hasText;
    return line;
}

script_line renameLine(int device, int database, int index, const std::string& name) {
    script_line line = restLine(line_kind::rename, name);
    line.device = device;
    line.database = database;
    line.index = index;
    return line;
}

script_line dbeventLine(const std::string& script, int device, int database, int index,
                        const std::string& name) {
    script_line line = renameLine(device, database, index, name);
    line.kind = line_kind::dbevent;
    line.name = script;
    return line;
}

script_line tickLine(const std::string& name, int timer) {
    script_line line = lineOf(line_kind::tick);
    line.name = name;
    line.index = timer;
    return line;
}

script_line advanceLine(int ms) {
    script_line line = lineOf(line_kind::advance);
    line.ms = ms;
    return line;
}

script_line answersLine(const std::string& mode) {
    script_line line = lineOf(line_kind::answers);
    line.mode = mode;
    return line;
}

script_line invariantsLine(bool on) {
    script_line line = lineOf(line_kind::invariants);
    line.on = on;
    return line;
}

script_line expectLine(const std::string& command) {
    return restLine(line_kind::expect, command);
}

script_line expectNoneLine() {
    return lineOf(line_kind::expect_none);
}

script_line expectPxLine(int workstation, const std::string& text) {
    script_line line = restLine(line_kind::expect_px, text);
    line.workstation = workstation;
    return line;
}

script_line expectAnswerLine(const std::string& answer) {
    return restLine(line_kind::expect_answer, answer);
}

}  // namespace kovo_host
