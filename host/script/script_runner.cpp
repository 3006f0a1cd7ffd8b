#include "script_runner.h"

#include <algorithm>
#include <filesystem>

#include "plugin_invariants.h"
#include "text.h"
#include "text_file.h"

namespace fs = std::filesystem;

namespace kovo_host {

std::string expandLineEnds(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

script_runner::script_runner(simulator& sim, runner_settings settings)
    : sim_(sim), settings_(std::move(settings)) {
    actionStart_ = sim_.log().nextSequence();
    collected_ = actionStart_;
}

void script_runner::output(const std::string& text) {
    transcript_entry entry;
    entry.kind = entry_kind::output;
    // The transcript ends every entry with a line end of its own.
    entry.text = !text.empty() && text.back() == '\n' ? text.substr(0, text.size() - 1) : text;
    sim_.log().add(std::move(entry));
}

bool script_runner::fail(const script_line& line, const std::string& message) {
    const std::string where =
        settings_.fileName + ":" + (line.number > 0 ? std::to_string(line.number) : "end") + ": ";
    transcript_entry entry;
    entry.kind = entry_kind::failure;
    entry.text = where + message;
    sim_.log().add(entry);
    if (firstFailure_.empty()) {
        firstFailure_ = entry.text;
    }
    ++failures_;
    return false;
}

bool script_runner::checkNewBreaches(const script_line& line, std::uint64_t from) {
    const transcript& log = sim_.log();
    const std::string ownPrefix = settings_.fileName + ":";
    for (std::uint64_t s = std::max(from, log.firstSequence()); s < log.nextSequence(); ++s) {
        const transcript_entry& entry = *log.find(s);
        if (entry.kind == entry_kind::breach) {
            return fail(line, "protocol breach by " + entry.script + ": " + entry.text);
        }
        if (entry.kind == entry_kind::failure &&
            entry.text.compare(0, ownPrefix.size(), ownPrefix) != 0) {
            return fail(line, entry.text);
        }
    }
    return true;
}

void script_runner::collectAction() {
    const transcript& log = sim_.log();
    for (; collected_ < log.nextSequence(); ++collected_) {
        const transcript_entry* entry = log.find(collected_);
        if (entry == nullptr) {
            continue;  // the window lets nothing of the action go; nothing to take
        }
        if (entry->kind == entry_kind::command) {
            actionCommands_.push_back(collected_);
        } else if (entry->kind == entry_kind::debug) {
            actionDebug_ += entry->text;
        }
    }
}

std::string script_runner::resolvePath(const std::string& dir) const {
    fs::path path(dir);
    if (path.is_absolute()) {
        return dir;
    }
    std::error_code code;
    for (const std::string& base : {settings_.scriptDir, sim_.options().layoutRoot}) {
        if (!base.empty() && fs::exists(fs::path(base) / path, code)) {
            return (fs::path(base) / path).string();
        }
    }
    return dir;
}

bool script_runner::useSiteFor(const std::string& dir, std::string& error) {
    const std::string path = resolvePath(dir);
    if (!sim_.scriptNames().empty() && sim_.site() != nullptr) {
        // One site at a time: a load may name the site in use, not another one.
        std::error_code code;
        const fs::path wanted = fs::weakly_canonical(fs::absolute(path, code), code);
        if (wanted.string() == sim_.site()->directory()) {
            return true;
        }
        error = "site " + dir + ": the scripts loaded use " + sim_.site()->directory() +
                ", and the site can only change while no script is loaded";
        return false;
    }
    return sim_.useSite(path, error);
}

void script_runner::showAll(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        std::string text;
        host_error error;
        if (sim_.show(name, text, error)) {
            output(text);
        }
    }
}

bool script_runner::execute(const script_line& line, bool& fatal) {
    fatal = false;
    const bool ok = executeLine(line, fatal);
    // The echo of the transcript goes out once per line.
    sim_.log().flush();
    return ok;
}

bool script_runner::executeLine(const script_line& line, bool& fatal) {
    const std::uint64_t before = sim_.log().nextSequence();
    if (settings_.lineHeaders &&
        (line.isAction() || line.kind == line_kind::site || line.kind == line_kind::show)) {
        transcript_entry header;
        header.kind = entry_kind::action;
        header.text = "# " + std::to_string(line.number) + ": " + line.text;
        sim_.log().add(std::move(header));
    }
    bool ok = true;
    if (line.kind == line_kind::site) {
        std::string error;
        if (!sim_.useSite(resolvePath(line.rest), error)) {
            fatal = true;
            ok = fail(line, error);
        }
    } else if (line.isAction()) {
        actionStart_ = sim_.log().nextSequence();
        sim_.log().keepFrom(actionStart_);
        collected_ = actionStart_;
        actionCommands_.clear();
        actionDebug_.clear();
        commandCursor_ = 0;
        debugCursor_ = 0;
        ok = runAction(line, fatal);
    } else if (line.isExpectation()) {
        ok = runExpectation(line);
    } else {
        ok = runOtherLine(line);
    }
    return checkNewBreaches(line, before) && ok;
}

bool script_runner::runAction(const script_line& line, bool& fatal) {
    host_error error;
    bool ok = true;
    std::vector<std::string> shown;
    switch (line.kind) {
        case line_kind::load:
            ok = line.site.empty() || useSiteFor(line.site, error.message);
            ok = ok && sim_.load(line.name, line.plugin, line.instance, line.hasInstance,
                                 line.workstation, error);
            fatal = !ok;
            shown.push_back(line.name);
            break;
        case line_kind::unload:
            ok = sim_.unload(line.name, error);
            break;
        case line_kind::press:
            ok = sim_.press(line.name, line.panel, line.control, error);
            shown.push_back(line.name);
            break;
        case line_kind::choose:
            ok = sim_.choose(line.name, line.panel, line.control, line.position, error);
            shown.push_back(line.name);
            break;
        case line_kind::type:
            ok = sim_.type(line.name, line.panel, line.control, line.rest, error);
            shown.push_back(line.name);
            break;
        case line_kind::event:
            ok = sim_.event(line.name, line.panel, line.control, line.rest, error);
            shown.push_back(line.name);
            break;
        case line_kind::query:
            haveAnswer_ = false;
            ok = sim_.query(line.name, line.rest, line.hasRest, answer_, answered_, error);
            haveAnswer_ = ok;
            shown.push_back(line.name);
            break;
        case line_kind::advance:
            sim_.advance(line.ms);
            shown = sim_.scriptNames();
            break;
        case line_kind::rename:
            ok = sim_.rename(line.device, line.database, line.index, line.rest, error);
            shown = sim_.scriptNames();
            break;
        case line_kind::import_names:
            ok = sim_.importNamesFile(
                resolvePath(line.rest), false,
                [this](const std::string& text) {
                    if (!text.empty()) {
                        output(text);
                    }
                },
                error);
            shown = sim_.scriptNames();
            break;
        case line_kind::tick:
            ok = sim_.tick(line.name, line.index, error);
            shown.push_back(line.name);
            break;
        case line_kind::dbevent:
            ok = sim_.databaseEvent(line.name, line.device, line.database, line.index, line.rest,
                                    error);
            shown.push_back(line.name);
            break;
        default:
            break;
    }
    if (!ok) {
        return fail(line, error.message);
    }
    if (settings_.autoshow) {
        showAll(shown);
    }
    return true;
}

bool script_runner::runExpectation(const script_line& line) {
    std::string error;
    switch (line.kind) {
        case line_kind::expect: {
            collectAction();
            const std::vector<std::uint64_t>& commands = actionCommands_;
            if (commandCursor_ >= commands.size()) {
                return fail(line, "expected \"" + line.rest + "\", but the action sent nothing " +
                                      (commands.empty() ? "at all" : "more") + " (" +
                                      std::to_string(commands.size()) + " command" +
                                      (commands.size() == 1 ? "" : "s") + ")");
            }
            const transcript_entry& next = *sim_.log().find(commands[commandCursor_++]);
            if (next.text != line.rest) {
                return fail(line, "expected \"" + line.rest + "\", but command " +
                                      std::to_string(commandCursor_) + " of the action was \"" +
                                      next.text + "\"");
            }
            return true;
        }
        case line_kind::expect_debug: {
            // The debug output of the action is one stream: two messages written
            // without a command between them arrive together, so each expectation
            // searches on from where the previous one matched.
            collectAction();
            const std::string& stream = actionDebug_;
            const std::string wanted = expandLineEnds(line.rest);
            const std::size_t found = debugCursor_ <= stream.size()
                                          ? stream.find(wanted, debugCursor_)
                                          : std::string::npos;
            if (found == std::string::npos) {
                const std::string left =
                    debugCursor_ < stream.size() ? stream.substr(debugCursor_) : std::string();
                return fail(
                    line, "expected debug output containing " + quotedText(wanted) +
                              (left.empty()
                                   ? ", but the action wrote no " +
                                         std::string(stream.empty() ? "" : "more ") + "debug output"
                                   : ", but what is left of it is " + quotedText(left)));
            }
            debugCursor_ = found + wanted.size();
            return true;
        }
        case line_kind::expect_none: {
            collectAction();
            const std::vector<std::uint64_t>& commands = actionCommands_;
            if (commandCursor_ < commands.size()) {
                return fail(line, "expected nothing more, but the action also sent \"" +
                                      sim_.log().find(commands[commandCursor_])->text + "\" (" +
                                      std::to_string(commands.size() - commandCursor_) +
                                      " unchecked)");
            }
            return true;
        }
        case line_kind::expect_name: {
            std::string name;
            bool found = false;
            if (!sim_.storedName(line.device, line.database, line.index, name, found, error)) {
                return fail(line, error);
            }
            const std::string wanted = line.rest;
            if (name != wanted) {
                return fail(line, "the name stored at " + std::to_string(line.device) + " " +
                                      std::to_string(line.database) + " " +
                                      std::to_string(line.index) + " is " +
                                      (found ? quotedText(name) : "missing") + ", expected " +
                                      quotedText(wanted));
            }
            // Passing checks of stored data are worth seeing in a transcript too.
            output("  stored at " + std::to_string(line.device) + " " +
                   std::to_string(line.database) + " " + std::to_string(line.index) + ": " +
                   quotedText(name) + "\n");
            return true;
        }
        case line_kind::expect_px: {
            std::string got;
            for (const px_request& request : sim_.pxRequests()) {
                if (request.workstation != line.workstation) {
                    continue;
                }
                // The request is the whole text; "PX " in front may be left out.
                if (request.text == line.rest || request.text == "PX " + line.rest) {
                    output("  workstation " + std::to_string(line.workstation) +
                           " received: " + quotedText(request.text) + "\n");
                    return true;
                }
                got += (got.empty() ? "" : ", ") + quotedText(request.text);
            }
            return fail(line, "no process-execution request " + quotedText(line.rest) +
                                  " reached workstation " + std::to_string(line.workstation) +
                                  (got.empty() ? " (it got none)" : " (it got " + got + ")"));
        }
        case line_kind::expect_answer:
            if (!haveAnswer_) {
                return fail(line, "expect-answer needs a query before it");
            }
            if (!answered_ ? !line.rest.empty() : answer_ != line.rest) {
                return fail(line, "the query was answered " +
                                      (answered_ ? quotedText(answer_) : std::string("with null")) +
                                      ", expected " + quotedText(line.rest));
            }
            return true;
        default:
            return true;
    }
}

bool script_runner::runOtherLine(const script_line& line) {
    switch (line.kind) {
        case line_kind::show:
            if (!sim_.isLoaded(line.name)) {
                return fail(line, "no script named " + line.name + " is loaded");
            }
            showAll({line.name});
            return true;
        case line_kind::autoshow:
            settings_.autoshow = line.on;
            return true;
        case line_kind::answers: {
            answer_mode mode = answer_mode::normal;
            parseAnswerMode(line.mode, mode);
            sim_.setAnswerMode(mode);
            return true;
        }
        case line_kind::invariants:
            if (line.on) {
                enableInvariants(sim_);
            } else {
                sim_.setCommandObserver(nullptr);
            }
            return true;
        case line_kind::help:
            output(scriptLanguageHelp());
            return true;
        case line_kind::quit:
            quit_ = true;
            return true;
        default:
            return true;
    }
}

bool script_runner::finish(const std::string& header) {
    if (sim_.scriptNames().empty()) {
        return true;
    }
    const std::uint64_t before = sim_.log().nextSequence();
    transcript_entry heading;
    heading.kind = entry_kind::action;
    heading.text = "# " + header;
    sim_.log().add(std::move(heading));
    sim_.unloadAll();
    script_line end;
    const bool ok = checkNewBreaches(end, before);
    sim_.log().flush();
    return ok;
}

int runScriptFile(simulator& sim, const std::string& path, bool check, std::ostream& out,
                  std::ostream& err, std::string* firstFailure) {
    std::string text;
    if (!readWholeFile(path, text)) {
        err << "kovo-host: cannot read the script " << path << "\n";
        return 2;
    }
    std::vector<script_line> lines;
    std::string error;
    if (!parseScript(text, path, lines, error)) {
        err << "kovo-host: " << error << "\n";
        if (firstFailure != nullptr) {
            *firstFailure = error;
        }
        return 2;
    }
    runner_settings settings;
    settings.fileName = path;
    settings.scriptDir = fs::path(path).parent_path().string();
    sim.log().setEcho(&out);
    script_runner runner(sim, settings);
    int status = 0;
    for (const script_line& line : lines) {
        bool fatal = false;
        if (!runner.execute(line, fatal)) {
            status = fatal ? 2 : 1;
            if (check || fatal) {
                break;
            }
        }
        if (runner.quitRequested()) {
            break;
        }
    }
    if (!runner.finish() && status == 0) {
        status = 1;
    }
    if (firstFailure != nullptr) {
        *firstFailure = runner.firstFailure();
    }
    if (!runner.firstFailure().empty()) {
        err << "kovo-host: " << runner.firstFailure() << "\n";
        if (runner.failureCount() > 1) {
            err << "kovo-host: " << runner.failureCount() << " failures in all\n";
        }
    }
    sim.log().setEcho(nullptr);
    return check || status == 2 ? status : 0;
}

}  // namespace kovo_host
