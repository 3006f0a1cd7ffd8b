// What a page does to the model: each action carried out by the simulator,
// which refuses what it cannot do, and recorded as its session script line.
#include <algorithm>

#include "plugin_catalog.h"
#include "script_writer.h"
#include "serve_session.h"
#include "text.h"

namespace kovo_serve {

using kovo_host::host_error;

bool serve_session::loadNow(const std::string& name, const std::string& plugin, int workstation,
                            host_error& error) {
    if (!sim_.load(name, plugin, "", false, workstation, error)) {
        return false;
    }
    loaded_.push_back({name, plugin, workstation});
    scriptsChanged_ = true;
    return true;
}

api_result serve_session::load(const std::string& name, const std::string& plugin,
                               int workstation) {
    std::lock_guard<std::mutex> lock(model_);
    // A page names a plug-in of the build; the simulator would take a path too.
    const std::vector<std::string> known = pluginNames();
    if (std::find(known.begin(), known.end(), plugin) == known.end()) {
        return refusal(404, "no plug-in named " + plugin + " in this build", "plugin");
    }
    // The line names the workstation, so a replay loads on the same one.
    const int ws = workstation >= 0 ? workstation : firstWorkstation();
    api_result result = act(kovo_host::loadLine(name, plugin, ws),
                            [&](host_error& error) { return loadNow(name, plugin, ws, error); });
    if (result.status == 200) {
        result.body["script"] = {{"name", name}, {"plugin", plugin}, {"workstation", ws}};
    }
    return result;
}

api_result serve_session::unload(const std::string& name) {
    std::lock_guard<std::mutex> lock(model_);
    return act(kovo_host::unloadLine(name), [&](host_error& error) {
        if (!sim_.unload(name, error)) {
            return false;
        }
        loaded_.erase(std::remove_if(loaded_.begin(), loaded_.end(),
                                     [&](const loaded_script& s) { return s.name == name; }),
                      loaded_.end());
        scriptsChanged_ = true;
        return true;
    });
}

api_result serve_session::press(const std::string& name, const std::string& panel,
                                const std::string& control) {
    std::lock_guard<std::mutex> lock(model_);
    return act(kovo_host::pressLine(name, panel, control),
               [&](host_error& error) { return sim_.press(name, panel, control, error); });
}

api_result serve_session::choose(const std::string& name, const std::string& panel,
                                 const std::string& control, int position) {
    std::lock_guard<std::mutex> lock(model_);
    return act(kovo_host::chooseLine(name, panel, control, position), [&](host_error& error) {
        return sim_.choose(name, panel, control, position, error);
    });
}

api_result serve_session::type(const std::string& name, const std::string& panel,
                               const std::string& control, const std::string& text) {
    std::lock_guard<std::mutex> lock(model_);
    return act(kovo_host::typeLine(name, panel, control, text),
               [&](host_error& error) { return sim_.type(name, panel, control, text, error); });
}

api_result serve_session::event(const std::string& name, const std::string& panel,
                                const std::string& control, const std::string& text) {
    std::lock_guard<std::mutex> lock(model_);
    return act(kovo_host::eventLine(name, panel, control, text),
               [&](host_error& error) { return sim_.event(name, panel, control, text, error); });
}

api_result serve_session::query(const std::string& name, const std::string& text, bool hasText) {
    std::lock_guard<std::mutex> lock(model_);
    std::string answer;
    bool answered = false;
    api_result result = act(kovo_host::queryLine(name, text, hasText), [&](host_error& error) {
        if (!sim_.query(name, text, hasText, answer, answered, error)) {
            return false;
        }
        // The answer is checked in the recording too; one with a line end cannot be.
        if (kovo_host::fitsOnLine(answer)) {
            actionChecks_.push_back(kovo_host::expectAnswerLine(answer));
        }
        return true;
    });
    if (result.status == 200) {
        result.body["answered"] = answered;
        result.body["answer"] = answer;
    }
    return result;
}

api_result serve_session::rename(int device, int database, int index, const std::string& text) {
    std::lock_guard<std::mutex> lock(model_);
    // Checked as a names import checks a row, so nothing is stored that an
    // import of the store's export would refuse. The line recorded is the name
    // as stored (act records it after the action).
    kovo_host::script_line line = kovo_host::renameLine(device, database, index, text);
    kovo_host::given_name given;
    api_result result = act(line, [&](host_error& error) {
        if (!sim_.renameChecked(device, database, index, text, given, error)) {
            return false;
        }
        namesChanged_ = true;
        line = kovo_host::renameLine(device, database, index, given.stored);
        return true;
    });
    if (result.status == 200) {
        result.body["stored"] = given.stored;
        if (given.retyped) {
            result.body["note"] =
                "given as " + kovo_host::quotedStart(text) + ": " + kovo_host::typedTextRule;
        }
    }
    return result;
}

api_result serve_session::importNames(const std::string& csv, bool dryRun) {
    std::lock_guard<std::mutex> lock(model_);
    if (recorder_.recording()) {
        // A session script imports from a file, which a recording does not have.
        return refusal(409, "names cannot be imported while recording");
    }
    std::string report;
    const auto print = [&report](const std::string& text) { report += text; };
    // Nothing is recorded (a line of no kind): no import happens while recording.
    api_result result = act(kovo_host::script_line{}, [&](host_error& error) {
        namesChanged_ = !dryRun;
        return sim_.importNamesCsv(csv, "the import", dryRun, print, error);
    });
    if (result.status != 200) {
        // Whatever stopped it, the body was what could not be stored.
        result.status = 400;
        result.body["field"] = "body";
    }
    result.body["report"] = report;
    return result;
}

api_result serve_session::setRecording(bool on) {
    std::lock_guard<std::mutex> lock(model_);
    catchUp();
    if (!on) {
        recorder_.stop(sim_.now());
    } else {
        // A recording replays from nothing loaded: the scripts start afresh, so
        // the replay meets them in the state the recording does.
        const std::vector<loaded_script> again = loaded_;
        for (auto s = again.rbegin(); s != again.rend(); ++s) {
            host_error ignored;
            sim_.unload(s->name, ignored);
        }
        loaded_.clear();
        scriptsChanged_ = true;
        const std::string site = sim_.site() != nullptr ? sim_.site()->directory() : "";
        recorder_.start(
            sim_.now(),
            {"# Recorded in the panel emulator (kovo-host serve). Replay it with the",
             "# name store the recording started from, for example:",
             "#   kovo-host run --check --fresh-db --state \"$(mktemp -d)\" FILE",
             kovo_host::writeScriptLine(kovo_host::siteLine(site, sim_.options().layoutRoot))});
        for (const loaded_script& s : again) {
            act(kovo_host::loadLine(s.name, s.plugin, s.workstation),
                [&](host_error& error) { return loadNow(s.name, s.plugin, s.workstation, error); });
        }
    }
    publishChanges();
    api_result result;
    result.body = {{"on", recorder_.recording()}, {"lines", recorder_.lineCount()}};
    return result;
}

std::string serve_session::recording() {
    std::lock_guard<std::mutex> lock(model_);
    return recorder_.text();
}

}  // namespace kovo_serve
