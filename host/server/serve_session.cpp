#include "serve_session.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "kovo_os_host.h"
#include "names_transfer.h"
#include "transcript.h"

namespace fs = std::filesystem;

namespace kovo_serve {

namespace {

// The pages keep this many transcript entries, and the feed this many messages.
constexpr std::size_t transcriptKept = 20000;
constexpr std::size_t snapshotTranscript = 500;
constexpr std::size_t pushedTranscript = 1000;
constexpr std::size_t feedKept = 2000;

// Texts from the plug-ins need not be valid UTF-8: such bytes are replaced, not fatal.
std::string dumpJson(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace

namespace {

bool containsFolded(const std::string& text, const std::string& part) {
    auto fold = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    };
    return fold(text).find(fold(part)) != std::string::npos;
}

}  // namespace

api_result refusal(int status, const std::string& message, const std::string& field) {
    api_result result;
    result.status = status;
    result.body = {{"error", message}};
    if (!field.empty()) {
        result.body["field"] = field;
    }
    return result;
}

serve_session::serve_session(kovo_host::simulator_options options)
    : sim_(std::move(options)),
      transcript_(sim_.log(), transcriptKept),
      started_(std::chrono::steady_clock::now()) {}

serve_session::~serve_session() {
    stop();
}

bool serve_session::start(std::string& error) {
    std::lock_guard<std::mutex> lock(model_);
    if (!sim_.useSite(sim_.options().siteDir, error)) {
        return false;
    }
    // Opening the store now reports a store that cannot be used before anyone connects.
    std::string name;
    bool found = false;
    if (!sim_.storedName(0, 0, 0, name, found, error)) {
        return false;
    }
    transcript_.start();
    sim_.log().setObserver([this](const kovo_host::transcript_entry& e) { observe(e); });
    started_ = std::chrono::steady_clock::now();
    clock_ = std::thread([this] { clockLoop(); });
    return true;
}

void serve_session::stop() {
    {
        std::lock_guard<std::mutex> lock(model_);
        if (stopping_) {
            return;
        }
        stopping_ = true;
    }
    clockWake_.notify_all();
    if (clock_.joinable()) {
        clock_.join();
    }
    {
        std::lock_guard<std::mutex> feed(feedMutex_);
        feedStopping_ = true;
    }
    feedChanged_.notify_all();
    std::lock_guard<std::mutex> lock(model_);
    sim_.unloadAll();
    sim_.log().setObserver(nullptr);
}

long long serve_session::elapsed() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 started_)
        .count();
}

void serve_session::observe(const kovo_host::transcript_entry& entry) {
    if (entry.kind == kovo_host::entry_kind::command) {
        actionCommands_.push_back(entry.text);
        recorder_.commandSent(entry.text);
        if (entry.text.compare(0, 3, "RM ") == 0) {
            namesChanged_ = true;
        }
    }
}

void serve_session::catchUp() {
    const long long now = elapsed();
    if (now > sim_.now()) {
        sim_.advance(now - sim_.now());
    }
    const auto& requests = sim_.pxRequests();
    for (std::size_t i = requestsRecorded_; i < requests.size(); ++i) {
        recorder_.requestReached(requests[i].workstation, requests[i].text);
    }
    requestsRecorded_ = requests.size();
}

void serve_session::clockLoop() {
    std::unique_lock<std::mutex> lock(model_);
    while (!stopping_) {
        catchUp();
        publishChanges();
        const long long due = sim_.nextTimerDue();
        if (due < 0) {
            clockWake_.wait(lock);
        } else {
            clockWake_.wait_for(lock, std::chrono::milliseconds(std::max(0LL, due - elapsed())));
        }
    }
}

kovo_host::name_lookup serve_session::nameLookup() {
    return [this](int device, int database, int index) -> std::optional<std::string> {
        std::string name, error;
        bool found = false;
        if (!sim_.storedName(device, database, index, name, found, error) || !found) {
            return std::nullopt;
        }
        return name;
    };
}

script_view serve_session::currentView(const std::string& name) {
    std::vector<const kovo_host::panel_state*> shown;
    const auto* panels = sim_.announcedPanels(name);
    const auto* ids = sim_.shownPanels(name);
    if (panels != nullptr && ids != nullptr) {
        for (const std::string& id : *ids) {
            const auto found = panels->find(id);
            if (found != panels->end()) {
                shown.push_back(&found->second);
            }
        }
    }
    const auto before = views_.find(name);
    return viewOf(shown, nameLookup(), before == views_.end() ? nullptr : &before->second);
}

void serve_session::publish(json message) {
    std::lock_guard<std::mutex> feed(feedMutex_);
    feed_.push_back({++feedSeq_, dumpJson(message)});
    while (feed_.size() > feedKept) {
        feed_.pop_front();
    }
    feedChanged_.notify_all();
}

json serve_session::scriptsJson() const {
    json list = json::array();
    for (const loaded_script& s : loaded_) {
        json shown = json::array();
        if (const auto* ids = sim_.shownPanels(s.name)) {
            shown = *ids;
        }
        list.push_back({{"name", s.name},
                        {"plugin", s.plugin},
                        {"workstation", s.workstation},
                        {"shown", std::move(shown)}});
    }
    return list;
}

void serve_session::publishChanges() {
    if (transcript_.hasUnpushed()) {
        // A page shows the newest entries only: an action that filled a list of
        // thousands pushes what it will show, and says how many it left out.
        std::size_t omitted = 0;
        json entries = transcript_.takeUnpushed(pushedTranscript, omitted);
        publish({{"type", "transcript"}, {"omitted", omitted}, {"entries", std::move(entries)}});
    }
    const auto& requests = sim_.pxRequests();
    if (requests.size() > requestsSeen_) {
        json list = json::array();
        for (std::size_t i = requestsSeen_; i < requests.size(); ++i) {
            list.push_back({{"workstation", requests[i].workstation}, {"text", requests[i].text}});
        }
        requestsSeen_ = requests.size();
        publish({{"type", "requests"}, {"requests", std::move(list)}});
    }
    if (namesChanged_) {
        namesChanged_ = false;
        publish({{"type", "names"}});
    }
    if (scriptsChanged_) {
        scriptsChanged_ = false;
        publish({{"type", "scripts"}, {"scripts", scriptsJson()}});
        for (auto view = views_.begin(); view != views_.end();) {
            const bool gone =
                std::none_of(loaded_.begin(), loaded_.end(),
                             [&](const loaded_script& s) { return s.name == view->first; });
            view = gone ? views_.erase(view) : std::next(view);
        }
    }
    for (const loaded_script& s : loaded_) {
        script_view now = currentView(s.name);
        const auto before = views_.find(s.name);
        if (before == views_.end() || !samePanels(before->second, now)) {
            publish({{"type", "panels"}, {"script", s.name}, {"panels", panelsJson(now)}});
        } else {
            json changes = controlChanges(before->second, now);
            if (!changes.empty()) {
                publish(
                    {{"type", "controls"}, {"script", s.name}, {"controls", std::move(changes)}});
            }
        }
        views_[s.name] = std::move(now);
    }
    if (recorder_.recording() != recordShownOn_ || recorder_.lineCount() != recordShownLines_) {
        recordShownOn_ = recorder_.recording();
        recordShownLines_ = recorder_.lineCount();
        publish({{"type", "record"}, {"on", recordShownOn_}, {"lines", recordShownLines_}});
    }
}

json serve_session::stateJson() {
    json scripts = json::array();
    for (const loaded_script& s : loaded_) {
        scripts.push_back({{"name", s.name},
                           {"plugin", s.plugin},
                           {"workstation", s.workstation},
                           {"panels", panelsJson(currentView(s.name))}});
    }
    json requests = json::array();
    for (const kovo_host::px_request& r : sim_.pxRequests()) {
        requests.push_back({{"workstation", r.workstation}, {"text", r.text}});
    }
    return {{"type", "snapshot"},
            {"site", sim_.site() != nullptr ? sim_.site()->directory() : ""},
            {"scripts", std::move(scripts)},
            {"requests", std::move(requests)},
            {"transcript", transcript_.newest(snapshotTranscript)},
            {"plugins", pluginNames()},
            {"firstWorkstation", sim_.site() != nullptr ? sim_.site()->firstWorkstation() : 0},
            {"record", {{"on", recorder_.recording()}, {"lines", recorder_.lineCount()}}}};
}

std::string serve_session::snapshot(std::uint64_t& seq) {
    std::lock_guard<std::mutex> lock(model_);
    catchUp();
    publishChanges();
    json state = stateJson();
    std::lock_guard<std::mutex> feed(feedMutex_);
    seq = feedSeq_;
    state["seq"] = seq;
    return dumpJson(state);
}

std::vector<feed_message> serve_session::messagesAfter(std::uint64_t since,
                                                       std::chrono::milliseconds wait, bool& lost,
                                                       bool& stopping) {
    std::unique_lock<std::mutex> feed(feedMutex_);
    feedChanged_.wait_for(feed, wait, [&] { return feedStopping_ || feedSeq_ > since; });
    stopping = feedStopping_;
    lost = !feed_.empty() && feed_.front().seq > since + 1;
    std::vector<feed_message> out;
    for (const feed_message& m : feed_) {
        if (m.seq > since) {
            out.push_back(m);
        }
    }
    return out;
}

// ---- actions

api_result serve_session::act(const std::string& line, const action& run, int refusedStatus) {
    catchUp();
    recorder_.beforeAction(sim_.now());
    actionCommands_.clear();
    actionChecks_.clear();
    std::string error;
    api_result result;
    if (run(error)) {
        catchUp();  // the requests the action caused, for the recording
        recorder_.actionDone(line, actionChecks_);
        result.acted = true;
        result.commands = std::move(actionCommands_);
    } else {
        recorder_.dropAction();
        result = refusal(refusedStatus, error);
    }
    publishChanges();
    clockWake_.notify_all();
    return result;
}

api_result serve_session::checkReachable(const std::string& name, const std::string& panel,
                                         const std::string& control) {
    const auto* panels = sim_.announcedPanels(name);
    if (panels == nullptr) {
        return refusal(404, "no script named " + name + " is loaded", "script");
    }
    const auto found = panels->find(panel);
    if (found == panels->end()) {
        return refusal(404, name + " has no panel " + panel, "panel");
    }
    if (found->second.layoutKnown && found->second.find(control) == nullptr) {
        return refusal(404, "panel " + panel + " of " + name + " has no control " + control,
                       "control");
    }
    return {};
}

bool serve_session::loadNow(const std::string& name, const std::string& plugin, int workstation,
                            std::string& error) {
    if (!sim_.load(name, plugin, "", false, workstation, error)) {
        return false;
    }
    loaded_.push_back({name, plugin, workstation});
    scriptsChanged_ = true;
    return true;
}

std::vector<std::string> serve_session::pluginNames() const {
    // A plug-in of the build: a panel folder of the source tree with its library built.
    std::vector<std::string> names;
    const fs::path panels = fs::path(sim_.options().layoutRoot) / "panels" / "System";
    std::error_code code;
    for (const auto& entry : fs::directory_iterator(panels, code)) {
        const std::string name = entry.path().filename().string();
        const fs::path library =
            fs::path(sim_.options().pluginDir) / (name + kovo_os::plugin_library::fileSuffix());
        if (entry.is_directory(code) && fs::is_regular_file(library, code)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

api_result serve_session::load(const std::string& name, const std::string& plugin,
                               int workstation) {
    std::lock_guard<std::mutex> lock(model_);
    const std::vector<std::string> known = pluginNames();
    if (std::find(known.begin(), known.end(), plugin) == known.end()) {
        return refusal(404, "no plug-in named " + plugin + " in this build", "plugin");
    }
    if (sim_.isLoaded(name)) {
        return refusal(409, "a script named " + name + " is loaded already", "name");
    }
    const int ws = workstation >= 0
                       ? workstation
                       : (sim_.site() != nullptr ? sim_.site()->firstWorkstation() : 0);
    api_result result = act(
        "load " + name + " " + plugin + " workstation=" + std::to_string(ws),
        [&](std::string& error) { return loadNow(name, plugin, ws, error); }, 500);
    if (result.status == 200) {
        result.body["script"] = {{"name", name}, {"plugin", plugin}, {"workstation", ws}};
    }
    return result;
}

api_result serve_session::unload(const std::string& name) {
    std::lock_guard<std::mutex> lock(model_);
    if (!sim_.isLoaded(name)) {
        return refusal(404, "no script named " + name + " is loaded", "script");
    }
    return act("unload " + name, [&](std::string& error) {
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
    api_result reach = checkReachable(name, panel, control);
    if (reach.status != 200) {
        return reach;
    }
    return act("press " + name + " " + panel + " " + control,
               [&](std::string& error) { return sim_.press(name, panel, control, error); });
}

api_result serve_session::choose(const std::string& name, const std::string& panel,
                                 const std::string& control, int position) {
    std::lock_guard<std::mutex> lock(model_);
    api_result reach = checkReachable(name, panel, control);
    if (reach.status != 200) {
        return reach;
    }
    return act(
        "choose " + name + " " + panel + " " + control + " " + std::to_string(position),
        [&](std::string& error) { return sim_.choose(name, panel, control, position, error); });
}

api_result serve_session::type(const std::string& name, const std::string& panel,
                               const std::string& control, const std::string& text) {
    std::lock_guard<std::mutex> lock(model_);
    api_result reach = checkReachable(name, panel, control);
    if (reach.status != 200) {
        return reach;
    }
    return act("type " + name + " " + panel + " " + control + " " + text,
               [&](std::string& error) { return sim_.type(name, panel, control, text, error); });
}

api_result serve_session::event(const std::string& name, const std::string& panel,
                                const std::string& control, const std::string& text) {
    std::lock_guard<std::mutex> lock(model_);
    if (!sim_.isLoaded(name)) {
        return refusal(404, "no script named " + name + " is loaded", "script");
    }
    return act("event " + name + " " + panel + " " + control + " " + text,
               [&](std::string& error) { return sim_.event(name, panel, control, text, error); });
}

api_result serve_session::query(const std::string& name, const std::string& text, bool hasText) {
    std::lock_guard<std::mutex> lock(model_);
    if (!sim_.isLoaded(name)) {
        return refusal(404, "no script named " + name + " is loaded", "script");
    }
    std::string answer;
    bool answered = false;
    api_result result = act("query " + name + (hasText ? " " + text : ""), [&](std::string& error) {
        if (!sim_.query(name, text, hasText, answer, answered, error)) {
            return false;
        }
        // The answer is checked in the recording too; one with a line end cannot be.
        if (fitsOnLine(answer)) {
            actionChecks_.push_back("expect-answer " + answer);
        }
        return true;
    });
    if (result.status == 200) {
        result.body["answered"] = answered;
        result.body["answer"] = answer;
    }
    return result;
}

api_result serve_session::checkDatabase(int device, int database, int& size) const {
    const kovo_host::site_directory* site = sim_.site();
    if (site == nullptr || site->device(device) == nullptr) {
        return refusal(404, "device " + std::to_string(device) + " is not a device of the site",
                       "device");
    }
    size = site->databaseSize(device, database);
    if (size <= 0) {
        return refusal(
            404,
            "device " + std::to_string(device) + " has no database " + std::to_string(database),
            "database");
    }
    return {};
}

api_result serve_session::rename(int device, int database, int index, const std::string& text) {
    std::lock_guard<std::mutex> lock(model_);
    int size = 0;
    api_result known = checkDatabase(device, database, size);
    if (known.status != 200) {
        return known;
    }
    if (index < 1 || index > size) {
        return refusal(404,
                       "database " + std::to_string(database) + " of device " +
                           std::to_string(device) + " has no index " + std::to_string(index),
                       "index");
    }
    const std::string line = "rename " + std::to_string(device) + " " + std::to_string(database) +
                             " " + std::to_string(index) + " " + text;
    return act(line, [&](std::string& error) {
        namesChanged_ = true;
        return sim_.rename(device, database, index, text, error);
    });
}

api_result serve_session::importNames(const std::string& csv, bool dryRun) {
    std::lock_guard<std::mutex> lock(model_);
    if (recorder_.recording()) {
        // A session script imports from a file, which a recording does not have.
        return refusal(409, "names cannot be imported while recording");
    }
    std::string report;
    const auto print = [&report](const std::string& text) { report += text; };
    api_result result = act("", [&](std::string& error) {
        namesChanged_ = !dryRun;
        return kovo_host::importNamesText(sim_, csv, "the import", dryRun, print, error);
    });
    if (result.status != 200) {
        result.status = 400;
        result.body["field"] = "body";
    }
    result.body["report"] = report;
    return result;
}

// ---- views

api_result serve_session::scripts() {
    std::lock_guard<std::mutex> lock(model_);
    api_result result;
    result.body = {{"scripts", scriptsJson()}};
    return result;
}

api_result serve_session::plugins() {
    std::lock_guard<std::mutex> lock(model_);
    api_result result;
    result.body = {
        {"plugins", pluginNames()},
        {"firstWorkstation", sim_.site() != nullptr ? sim_.site()->firstWorkstation() : 0}};
    return result;
}

api_result serve_session::panel(const std::string& name) {
    std::lock_guard<std::mutex> lock(model_);
    if (!sim_.isLoaded(name)) {
        return refusal(404, "no script named " + name + " is loaded", "script");
    }
    catchUp();
    publishChanges();
    api_result result;
    result.body = {{"script", name}, {"panels", panelsJson(currentView(name))}};
    return result;
}

api_result serve_session::devices() {
    std::lock_guard<std::mutex> lock(model_);
    json list = json::array();
    if (sim_.site() != nullptr) {
        for (const auto& device : sim_.site()->devices()) {
            json sizes = json::object();
            for (const auto& db : device.second.databaseSizes) {
                sizes[std::to_string(db.first)] = db.second;
            }
            list.push_back({{"device", device.first},
                            {"name", device.second.name},
                            {"databases", std::move(sizes)}});
        }
    }
    api_result result;
    result.body = {{"devices", std::move(list)}};
    return result;
}

api_result serve_session::names(int device, int database, const std::string& search) {
    std::lock_guard<std::mutex> lock(model_);
    int size = 0;
    api_result known = checkDatabase(device, database, size);
    if (known.status != 200) {
        return known;
    }
    json list = json::array();
    const kovo_host::name_lookup lookup = nameLookup();
    for (int index = 1; index <= size; ++index) {
        const std::optional<std::string> name = lookup(device, database, index);
        if (!name) {
            continue;
        }
        if (search.empty() || containsFolded(*name, search) || std::to_string(index) == search) {
            list.push_back({{"index", index}, {"name", *name}});
        }
    }
    api_result result;
    result.body = {
        {"device", device}, {"database", database}, {"size", size}, {"names", std::move(list)}};
    return result;
}

api_result serve_session::requests() {
    std::lock_guard<std::mutex> lock(model_);
    json list = json::array();
    for (const kovo_host::px_request& r : sim_.pxRequests()) {
        list.push_back({{"workstation", r.workstation}, {"text", r.text}});
    }
    api_result result;
    result.body = {{"requests", std::move(list)}};
    return result;
}

api_result serve_session::transcript(std::uint64_t since, const std::string& script) {
    std::lock_guard<std::mutex> lock(model_);
    catchUp();
    publishChanges();
    api_result result;
    result.body = {{"last", transcript_.last()},
                   {"first", transcript_.first()},
                   {"entries", transcript_.entries(since, script)}};
    return result;
}

// ---- recording

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
            std::string ignored;
            sim_.unload(s->name, ignored);
        }
        loaded_.clear();
        scriptsChanged_ = true;
        std::string site = sim_.site() != nullptr ? sim_.site()->directory() : "";
        const fs::path root = fs::weakly_canonical(fs::absolute(sim_.options().layoutRoot));
        const fs::path relative = fs::path(site).lexically_relative(root);
        if (!relative.empty() && *relative.begin() != "..") {
            site = relative.generic_string();
        }
        recorder_.start(
            sim_.now(),
            {"# Recorded in the panel emulator (kovo-host serve). Replay it with the",
             "# name store the recording started from, for example:",
             "#   kovo-host run --check --fresh-db --state \"$(mktemp -d)\" FILE", "site " + site});
        for (const loaded_script& s : again) {
            act("load " + s.name + " " + s.plugin + " workstation=" + std::to_string(s.workstation),
                [&](std::string& error) {
                    return loadNow(s.name, s.plugin, s.workstation, error);
                });
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
