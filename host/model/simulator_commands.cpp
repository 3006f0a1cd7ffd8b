// Carrying out the command texts a script sends through its host link.
#include <algorithm>
#include <filesystem>

#include "command_text.h"
#include "device_map.h"
#include "numbers.h"
#include "simulator_internal.h"
#include "text.h"

namespace fs = std::filesystem;

namespace kovo_host {

namespace {

// Status answers are not buffers: any non-null pointer means success.
char* const statusSuccess = reinterpret_cast<char*>(1);

transcript_entry noteEntry(const std::string& script, const std::string& text) {
    transcript_entry entry;
    entry.kind = entry_kind::note;
    entry.script = script;
    entry.text = text;
    return entry;
}

}  // namespace

char* simulator::onCommand(script_instance& s, const char* text, int code) {
    flushDebug(s);
    if (code == KOVO_CODE_RELEASE) {
        std::string command;
        const lent_buffers::give_back result = s.buffers.giveBack(text, command);
        transcript_entry entry;
        entry.kind = entry_kind::give_back;
        entry.script = s.name;
        entry.code = code;
        entry.text = result == lent_buffers::give_back::null_pointer ? "null"
                     : command.empty() ? "a pointer the host never lent"
                                       : "reply to " + command;
        record(std::move(entry));
        const std::string what = command.empty() ? std::string("code 5") : command;
        if (result == lent_buffers::give_back::twice) {
            record(breachEntry(s.name, what, "the reply buffer was given back twice"));
        } else if (result == lent_buffers::give_back::late) {
            record(breachEntry(s.name, what,
                               "the reply buffer was given back after the call that received it "
                               "had returned"));
        } else if (result == lent_buffers::give_back::foreign) {
            record(
                breachEntry(s.name, "code 5", "a pointer was given back that the host never lent"));
        }
        if (s.stopped) {
            record(breachEntry(s.name, "code 5", "sent after AS"));
        }
        return nullptr;
    }
    transcript_entry entry;
    entry.kind = entry_kind::command;
    entry.script = s.name;
    entry.code = code;
    entry.text = log_.spareText();
    entry.text.assign(text == nullptr ? "(null)" : text);
    if (code != KOVO_CODE_COMMAND || text == nullptr) {
        record(entry);
        record(breachEntry(s.name, entry.text,
                           text == nullptr ? "a null command text"
                                           : "unknown code " + std::to_string(code) +
                                                 " (0 sends a command, 5 gives a reply back)"));
        return nullptr;
    }
    if (s.stopped) {
        record(entry);
        record(breachEntry(s.name, entry.text, "sent after AS"));
        return nullptr;
    }
    if (!s.inCall) {
        record(entry);
        record(breachEntry(s.name, entry.text, "sent outside a call from the host"));
        return nullptr;
    }
    std::vector<transcript_entry> after;
    char* answer = execute(s, entry.text, entry, after);
    if (observer_) {
        std::vector<std::string> broken;
        observer_(observed_command{s.name, s.pluginPath, s.workstation, entry.text,
                                   operatorScript_ == s.id},
                  broken);
        for (const std::string& rule : broken) {
            after.push_back(breachEntry(s.name, entry.text, rule));
        }
    }
    record(std::move(entry));
    for (transcript_entry& later : after) {
        record(std::move(later));
    }
    return answer;
}

panel_state* simulator::announce(script_instance& s, const std::string& id,
                                 const std::string& layout, const std::string& extra,
                                 std::vector<transcript_entry>& after) {
    auto known = s.panels.find(id);
    if (known != s.panels.end() && known->second.layoutPath == layout) {
        known->second.extra = extra;
        return &known->second;
    }
    panel_state panel;
    panel.id = id;
    panel.layoutPath = layout;
    panel.extra = extra;
    const std::string path = (fs::path(options_.layoutRoot) / layout).string();
    layout_file file;
    std::string error;
    switch (readLayout(path, file, error)) {
        case layout_status::ok:
            panel.layoutKnown = true;
            panel.width = file.width;
            panel.height = file.height;
            for (const control_declaration& declared : file.controls) {
                panel.controls.push_back(control_state::fromLayout(declared));
            }
            break;
        case layout_status::missing:
            after.push_back(noteEntry(s.name, "no layout " + path + ": the controls of panel " +
                                                  id + " are not checked"));
            break;
        case layout_status::invalid: {
            transcript_entry broken;
            broken.kind = entry_kind::failure;
            broken.text = "layout error: " + error;
            after.push_back(std::move(broken));
            break;
        }
    }
    panel_state& stored = s.panels[id];
    stored = std::move(panel);
    return &stored;
}

char* simulator::hostileAnswer(script_instance& s, const std::string& text, const std::string& verb,
                               const std::vector<std::string>& args, transcript_entry& entry) {
    entry.answered = true;
    if (answerMode_ == answer_mode::none) {
        entry.answer = "(none)";
        return nullptr;
    }
    // A "TG" answer keeps the key asked for, so the hostile part reaches the value.
    const std::string key = verb == "TG" ? args[2] + "=" : std::string();
    std::string reply;
    switch (answerMode_) {
        case answer_mode::huge:
            reply = key + std::string(64 * 1024, 'W');
            break;
        case answer_mode::quote:
            reply = key + "it's 'quoted' ''";
            break;
        case answer_mode::nonnumber:
            reply = key + "x1 -- 99999999999999 \x7f";
            break;
        default:
            reply = "";
            break;
    }
    entry.answer = quotedText(reply.size() > 80 ? reply.substr(0, 80) + "..." : reply);
    return s.buffers.lend(reply, text);
}

char* simulator::execute(script_instance& s, const std::string& text, transcript_entry& entry,
                         std::vector<transcript_entry>& after) {
    // Kept between commands: nothing here calls into a script, so no second
    // command can arrive while this one is read.
    parsed_command& command = parsed_;
    parseCommand(text.c_str(), command);
    if (!command.error.empty()) {
        after.push_back(breachEntry(
            s.name, text, command.unknownVerb ? command.error : "malformed: " + command.error));
        return nullptr;
    }
    const std::string& verb = command.verb;
    const std::vector<std::string>& args = command.args;
    if (answerMode_ != answer_mode::normal &&
        (verb == "TG" || verb == "XI" || verb == "RN" || verb == "SD")) {
        return hostileAnswer(s, text, verb, args, entry);
    }
    auto number = [&](std::size_t i) {
        int value = 0;
        parseNumber(args[i], value);
        return value;
    };
    auto status = [&](bool ok) {
        entry.answered = true;
        entry.answer = ok ? "1" : "0";
        return ok ? statusSuccess : nullptr;
    };
    auto lend = [&](const std::string& reply) {
        entry.answered = true;
        entry.answer.clear();
        appendQuotedText(reply, entry.answer);
        return s.buffers.lend(reply, text);
    };
    auto noAnswer = [&]() -> char* {
        entry.answered = true;
        entry.answer = "(none)";
        return nullptr;
    };
    auto announced = [&](const std::string& id) -> panel_state* {
        auto found = s.panels.find(id);
        if (found == s.panels.end()) {
            after.push_back(
                breachEntry(s.name, text, "panel " + id + " was never announced (PI or PS)"));
            return nullptr;
        }
        return &found->second;
    };
    auto controlOf = [&](const std::string& panelId,
                         const std::string& controlId) -> control_state* {
        panel_state* panel = announced(panelId);
        if (panel == nullptr) {
            return nullptr;
        }
        if (!panel->layoutKnown) {
            return &panel->findOrAdd(controlId);
        }
        control_state* control = panel->find(controlId);
        if (control == nullptr) {
            const std::string missing = "the layout of panel " + panelId + " (" +
                                        panel->layoutPath + ") has no control \"" + controlId +
                                        "\"";
            // A look put back on the control an event came from is no fault of
            // the script, even when the layout lacks it: the host named it.
            if (s.hostNamed.count({panelId, controlId}) != 0) {
                after.push_back(noteEntry(s.name, missing + ", which an event named: passed over"));
            } else {
                after.push_back(breachEntry(s.name, text, missing));
            }
        }
        return control;
    };

    if (isVerb(verb, "PI") || isVerb(verb, "PS")) {
        panel_state* panel = announce(s, args[0], args[1], args.size() > 2 ? args[2] : "", after);
        if (isVerb(verb, "PS")) {
            for (const std::string& other : s.shown) {
                if (other != args[0]) {
                    after.push_back(breachEntry(s.name, text,
                                                "panel " + other +
                                                    " is still shown (one panel at a time: "
                                                    "remove it with PR first)"));
                }
            }
            if (std::find(s.shown.begin(), s.shown.end(), args[0]) == s.shown.end()) {
                s.shown.push_back(args[0]);
            }
        }
        return status(panel->layoutKnown);
    }
    if (isVerb(verb, "PR")) {
        if (announced(args[0]) == nullptr) {
            return status(false);
        }
        s.shown.erase(std::remove(s.shown.begin(), s.shown.end(), args[0]), s.shown.end());
        return status(true);
    }
    if (isVerb(verb, "TP")) {
        control_state* control = controlOf(args[1], args[2]);
        if (control != nullptr) {
            const put_result result = applyPut(*control, args[0]);
            if (!result.note.empty()) {
                after.push_back(noteEntry(s.name, result.note));
            }
            if (result.pressButton > 0) {
                // The control answers as if its button had been pressed, once this call is over.
                control->chosen = result.pressButton;
                int index = result.pressButton;
                if (control->kind == control_kind::namemap) {
                    std::vector<map_button> buttons = nameMapButtons(
                        *control, [this](int d, int b, int i) { return store_.get(d, b, i); });
                    index = buttons[static_cast<std::size_t>(result.pressButton - 1)].index;
                }
                pending_event e;
                e.scriptId = s.id;
                e.type = KOVO_EVENT_CONTROL;
                e.panel = args[1];
                e.control = args[2];
                e.text = "index=" + std::to_string(index);
                pending_.push_back(std::move(e));
            }
        }
        return nullptr;
    }
    if (isVerb(verb, "TG")) {
        control_state* control = controlOf(args[0], args[1]);
        if (control == nullptr) {
            return noAnswer();
        }
        return lend(getAnswer(*control, args[2]));
    }
    if (isVerb(verb, "CE") || isVerb(verb, "CD") || isVerb(verb, "CS") || isVerb(verb, "CH")) {
        control_state* control = controlOf(args[0], args[1]);
        if (control != nullptr) {
            if (isVerb(verb, "CE") || isVerb(verb, "CD")) {
                control->enabled = isVerb(verb, "CE");
            } else {
                control->visible = isVerb(verb, "CS");
            }
        }
        return nullptr;
    }
    if (isVerb(verb, "XI")) {
        panel_state* panel = announced(args[0]);
        std::string ids;
        if (panel != nullptr) {
            for (const control_state& control : panel->controls) {
                if (control.id.compare(0, args[1].size(), args[1]) == 0) {
                    ids += (ids.empty() ? "" : ",") + control.id;
                }
            }
        }
        return ids.empty() ? noAnswer() : lend(ids);
    }
    if (isVerb(verb, "ET")) {
        const int id = number(0);
        const int interval = args.size() > 1 ? number(1) : 0;
        timers_.erase(
            std::remove_if(timers_.begin(), timers_.end(),
                           [&](const timer_entry& t) { return t.scriptId == s.id && t.id == id; }),
            timers_.end());
        if (interval > 0) {
            timers_.push_back(timer_entry{s.id, id, interval, clock_ + interval, ++timerOrder_});
        }
        return nullptr;
    }
    if (isVerb(verb, "RR")) {
        s.registered.insert(number(0));
        return nullptr;
    }
    if (isVerb(verb, "RU")) {
        if (s.registered.erase(number(0)) == 0) {
            after.push_back(noteEntry(s.name, "was not registered for device " + args[0]));
        }
        return nullptr;
    }
    if (isVerb(verb, "RN")) {
        if (site_.device(number(0)) == nullptr) {
            return noAnswer();
        }
        return lend(store_.get(number(0), number(1), number(2)).value_or(""));
    }
    if (isVerb(verb, "RM")) {
        const int device = number(0), database = number(1), index = number(2);
        const int size = site_.databaseSize(device, database);
        std::string error;
        if (site_.device(device) == nullptr) {
            after.push_back(noteEntry(
                s.name, "not stored: device " + args[0] + " is not a device of the site"));
        } else if (index < 1 || index > size) {
            after.push_back(noteEntry(s.name, "not stored: database " + args[1] + " of device " +
                                                  args[0] + " has " + std::to_string(size) +
                                                  " entries"));
        } else if (!store_.put(device, database, index, args[3], error)) {
            transcript_entry broken;
            broken.kind = entry_kind::failure;
            broken.text = error;
            after.push_back(std::move(broken));
        } else {
            queueDatabaseEvents(device, database, index, args[3]);
        }
        return nullptr;
    }
    if (isVerb(verb, "SD")) {
        const device_info* device = site_.deviceNamed(args[0]);
        if (device == nullptr) {
            return noAnswer();
        }
        return lend(std::to_string(device->number) + " " + std::to_string(device->offset));
    }
    if (isVerb(verb, "IW")) {
        const std::string& info = args[1];
        if (number(0) == 998 && info.compare(0, 2, "PX") == 0) {
            px_.push_back(px_request{number(2), info});
            after.push_back(
                noteEntry(s.name, "process execution on workstation " + args[2] + ": " + info));
        }
        return nullptr;
    }
    // "AS": the last word of a script.
    s.stopped = true;
    stopScript(s);
    return nullptr;
}

}  // namespace kovo_host
