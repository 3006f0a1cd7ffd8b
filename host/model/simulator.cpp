#include "simulator.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "simulator_internal.h"
#include "text.h"

namespace fs = std::filesystem;

namespace kovo_host {

simulator_options defaultOptions() {
    simulator_options options;
    options.layoutRoot = KOVO_HOST_SOURCE_DIR;
    options.siteDir = (fs::path(KOVO_HOST_SOURCE_DIR) / "sites" / "demo").string();
    options.pluginDir = KOVO_HOST_PLUGIN_DIR;
    return options;
}

char* script_link::sendCommand(const char* text, int code) {
    simulator::script_instance* script = owner_.findId(scriptId_);
    return script == nullptr ? nullptr : owner_.onCommand(*script, text, code);
}

simulator::simulator(simulator_options options)
    : options_(std::move(options)), capture_(new kovo_os::debug_capture) {}

simulator::~simulator() {
    unloadAll();
}

void simulator::record(transcript_entry&& entry) {
    if (entry.kind == entry_kind::breach) {
        ++breaches_;
    } else if (entry.kind == entry_kind::failure) {
        ++failures_;
    }
    log_.add(std::move(entry));
}

void simulator::note(const std::string& script, const std::string& text) {
    transcript_entry entry;
    entry.kind = entry_kind::note;
    entry.script = script;
    entry.text = text;
    record(std::move(entry));
}

void simulator::failure(const std::string& text) {
    transcript_entry entry;
    entry.kind = entry_kind::failure;
    entry.text = text;
    record(std::move(entry));
}

simulator::script_instance* simulator::find(const std::string& name) const {
    for (const auto& script : scripts_) {
        if (script->name == name) {
            return script.get();
        }
    }
    return nullptr;
}

simulator::script_instance* simulator::findId(int id) const {
    for (const auto& script : scripts_) {
        if (script->id == id) {
            return script.get();
        }
    }
    return nullptr;
}

bool simulator::isLoaded(const std::string& name) const {
    return find(name) != nullptr;
}

std::vector<std::string> simulator::scriptNames() const {
    std::vector<std::string> names;
    for (const auto& script : scripts_) {
        names.push_back(script->name);
    }
    return names;
}

bool simulator::useSite(const std::string& dir, std::string& error) {
    if (!scripts_.empty()) {
        error = "the site can only change while no script is loaded";
        return false;
    }
    site_directory next;
    if (!next.open(dir, error)) {
        return false;
    }
    store_.close();
    site_ = std::move(next);
    siteOpen_ = true;
    siteRoot_ = site_.rxRoot();
    siteSystem_ = site_.rxSystem();
    environmentFor_ = 0;  // the next call sets the new site's paths
    return true;
}

bool simulator::ensureStore(std::string& error) {
    if (!siteOpen_ && !useSite(options_.siteDir, error)) {
        return false;
    }
    if (store_.isOpen()) {
        return true;
    }
    std::string path = options_.dbFile;
    if (path.empty()) {
        path = defaultStorePath(
            options_.stateDir.empty() ? defaultStateDirectory() : options_.stateDir, site_);
    }
    if (options_.freshStore) {
        std::error_code code;
        fs::remove(path, code);
        fs::remove(path + "-journal", code);
        options_.freshStore = false;
    }
    return store_.open(path, site_, error);
}

std::string simulator::resolvePlugin(const std::string& plugin) const {
    const std::string suffix = kovo_os::plugin_library::fileSuffix();
    const bool isPath = plugin.find('/') != std::string::npos ||
                        plugin.find('\\') != std::string::npos ||
                        (plugin.size() > suffix.size() &&
                         plugin.compare(plugin.size() - suffix.size(), suffix.size(), suffix) == 0);
    if (isPath) {
        return plugin;
    }
    return (fs::path(options_.pluginDir) / (plugin + suffix)).string();
}

namespace {

// Sets a variable the plug-ins read only when it differs, as it mostly does
// not between two calls: setting it anew costs an allocation each time.
void setForPlugins(const char* name, const std::string& value) {
    const char* current = std::getenv(name);
    if (current == nullptr || value != current) {
        kovo_os::setEnvironment(name, value);
    }
}

}  // namespace

bool simulator::callInto(script_instance& s, const char* what, const call_ref& fn) {
    // Still as the last call left it when the same script runs again and nothing
    // changed the environment since: then there is nothing to look at.
    if (environmentFor_ != s.id || environmentChanges_ != kovo_os::environmentChanges()) {
        if (siteOpen_) {
            setForPlugins("RX_ROOT", siteRoot_);
            setForPlugins("RX_SYSTEM", siteSystem_);
        }
        setForPlugins("RX_WORKSTATION", s.workstationText);
        environmentFor_ = s.id;
        environmentChanges_ = kovo_os::environmentChanges();
    }
    // The reads of the whole call share one read transaction of the store.
    store_.beginReads();
    script_instance* previous = active_;
    active_ = &s;
    s.inCall = true;
    const bool capturing = options_.captureDebugOutput && capture_->begin();
    // An exception must not cross into the host: it would leave the debug
    // capture running and end the session.
    bool escaped = false;
    try {
        fn();
    } catch (...) {
        escaped = true;
    }
    flushDebug(s);
    if (capturing) {
        capture_->end();
    }
    s.inCall = false;
    active_ = previous;
    store_.endReads();
    for (const std::string& command : s.buffers.endCallback()) {
        record(breachEntry(s.name, command,
                           "the reply buffer was not given back (code 5) before the call into "
                           "the script returned"));
    }
    if (escaped) {
        record(breachEntry(s.name, "", std::string("an exception escaped ") + what));
    }
    return !escaped;
}

void simulator::deliverEvent(script_instance& s, void* data, int type) {
    char* returned = nullptr;
    if (!callInto(s, "hostCallback", [&] { returned = s.callback.hostCallback(data, type); })) {
        return;
    }
    if (returned != nullptr) {
        record(breachEntry(s.name, "",
                           "hostCallback returned a pointer for an event of type " +
                               std::to_string(type) + " (only parent queries, type 3, answer)"));
    }
}

void simulator::flushDebug(script_instance& s) {
    if (!capture_->maybeWritten()) {
        return;
    }
    std::string text = capture_->drain();
    transcript_entry entry;
    entry.kind = entry_kind::debug;
    entry.script = s.name;
    entry.text = std::move(text);
    record(std::move(entry));
}

const char scriptNameRule[] = "a script name is 1 to 64 letters, digits, _ and -";

bool isScriptName(const std::string& name) {
    return !name.empty() && name.size() <= 64 &&
           std::all_of(name.begin(), name.end(), [](unsigned char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-';
           });
}

bool simulator::load(const std::string& name, const std::string& plugin,
                     const std::string& instance, bool hasInstance, int workstation,
                     host_error& error) {
    if (!isScriptName(name)) {
        return error.set(error_kind::bad_name,
                         quotedStart(name) + " is no script name: " + scriptNameRule);
    }
    if (find(name) != nullptr) {
        return error.set(error_kind::name_taken, "a script named " + name + " is already loaded");
    }
    std::string unusable;
    if (!ensureStore(unusable)) {
        return error.set(error_kind::unusable, unusable);
    }
    auto script = std::make_unique<script_instance>();
    script->id = nextScriptId_++;
    script->name = name;
    script->pluginPath = resolvePlugin(plugin);
    std::string detail;
    if (!script->library.open(script->pluginPath, detail)) {
        return error.set(error_kind::unusable,
                         "cannot open the plug-in " + script->pluginPath + ": " + detail);
    }
    auto entry =
        reinterpret_cast<kovo_load_function>(script->library.symbol(KOVO_LOAD_FUNCTION_NAME));
    if (entry == nullptr) {
        return error.set(error_kind::unusable, "the plug-in " + script->pluginPath +
                                                   " lacks the export " KOVO_LOAD_FUNCTION_NAME);
    }
    const bool bare = script->pluginPath != plugin;
    script->instance = hasInstance ? instance : bare ? "panels/System/" + plugin : std::string();
    script->workstation = workstation < 0 ? site_.firstWorkstation() : workstation;
    script->workstationText = std::to_string(script->workstation);
    script->link = std::make_unique<script_link>(*this, script->id);
    scripts_.push_back(std::move(script));
    script_instance& s = *scripts_.back();

    transcript_entry loaded;
    loaded.kind = entry_kind::event;
    loaded.script = s.name;
    loaded.text = "load " + s.pluginPath + " instance " + quotedText(s.instance) + " workstation " +
                  std::to_string(s.workstation);
    record(std::move(loaded));
    kovo_client_callback* created = nullptr;
    const bool returned = callInto(s, KOVO_LOAD_FUNCTION_NAME,
                                   [&] { created = entry(s.link.get(), s.instance.c_str()); });
    if (created == nullptr) {
        stopScript(s);
        const std::string path = s.pluginPath;
        scripts_.pop_back();
        return error.set(error_kind::unusable,
                         "the export of " + path +
                             (returned ? " returned null" : " threw an exception") +
                             ": no script was created");
    }
    s.callback = script_object(created, s.library.abi());
    deliverPending();
    return true;
}

void simulator::stopScript(script_instance& s) {
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                 [&](const timer_entry& t) { return t.scriptId == s.id; }),
                  timers_.end());
    s.registered.clear();
}

bool simulator::unload(const std::string& name, host_error& error) {
    script_instance* s = find(name);
    if (s == nullptr) {
        return error.set(error_kind::no_script, "no script named " + name + " is loaded");
    }
    transcript_entry destroyed;
    destroyed.kind = entry_kind::event;
    destroyed.script = s->name;
    destroyed.text = "destroy";
    record(std::move(destroyed));
    script_object callback = s->callback;
    s->callback = script_object();
    callInto(*s, "the destructor", [&] { callback.destroy(); });
    stopScript(*s);
    const int id = s->id;
    pending_.erase(std::remove_if(pending_.begin(), pending_.end(),
                                  [&](const pending_event& e) { return e.scriptId == id; }),
                   pending_.end());
    scripts_.erase(std::find_if(scripts_.begin(), scripts_.end(),
                                [&](const auto& script) { return script->id == id; }));
    deliverPending();
    return true;
}

void simulator::unloadAll() {
    while (!scripts_.empty()) {
        host_error ignored;
        unload(scripts_.back()->name, ignored);
    }
}

void simulator::deliverControl(script_instance& s, const std::string& panel,
                               const std::string& control, const std::string& text) {
    transcript_entry delivered;
    delivered.kind = entry_kind::event;
    delivered.script = s.name;
    // Built in place: every press and choice makes one.
    delivered.text = log_.spareText();
    delivered.text.reserve(14 + panel.size() + control.size() + text.size());
    delivered.text += "control ";
    delivered.text += panel;
    delivered.text += ' ';
    delivered.text += control;
    delivered.text += ' ';
    appendQuotedText(text, delivered.text);
    record(std::move(delivered));
    auto announced = s.panels.find(panel);
    if (announced != s.panels.end() && announced->second.layoutKnown &&
        announced->second.find(control) == nullptr) {
        s.hostNamed.emplace(panel, control);
    }
    kovo_key_value eventText(text.c_str());
    kovo_control_record record{nullptr, nullptr, panel.c_str(), control.c_str(), &eventText};
    deliverEvent(s, &record, KOVO_EVENT_CONTROL);
}

void simulator::deliverDatabase(script_instance& s, const pending_event& e) {
    transcript_entry delivered;
    delivered.kind = entry_kind::event;
    delivered.script = s.name;
    delivered.text = "database " + std::to_string(e.device) + " " + std::to_string(e.database) +
                     " " + std::to_string(e.index) + " " + quotedText(e.name);
    record(std::move(delivered));
    kovo_database_record record{e.device, e.database, e.index, 0, e.name.c_str()};
    deliverEvent(s, &record, KOVO_EVENT_DATABASE);
}

void simulator::deliverTimer(script_instance& s, int id) {
    transcript_entry delivered;
    delivered.kind = entry_kind::event;
    delivered.script = s.name;
    delivered.text = "timer " + std::to_string(id) + " at " + std::to_string(clock_) + " ms";
    record(std::move(delivered));
    void* data = reinterpret_cast<void*>(static_cast<std::intptr_t>(id));
    deliverEvent(s, data, KOVO_EVENT_TIMER);
}

void simulator::queueDatabaseEvent(int scriptId, int device, int database, int index,
                                   const std::string& name) {
    pending_event e;
    e.scriptId = scriptId;
    e.type = KOVO_EVENT_DATABASE;
    e.device = device;
    e.database = database;
    e.index = index;
    e.name = name;
    pending_.push_back(std::move(e));
}

void simulator::queueDatabaseEvents(int device, int database, int index, const std::string& name) {
    for (const auto& script : scripts_) {
        if (!script->stopped && script->registered.count(device) != 0) {
            queueDatabaseEvent(script->id, device, database, index, name);
        }
    }
}

void simulator::deliverPending() {
    int delivered = 0;
    while (!pending_.empty()) {
        if (++delivered > options_.maxEventsPerAction) {
            failure("more than " + std::to_string(options_.maxEventsPerAction) +
                    " events caused by one action: the scripts keep provoking each other; the "
                    "rest is dropped");
            pending_.clear();
            return;
        }
        pending_event e = std::move(pending_.front());
        pending_.pop_front();
        script_instance* s = findId(e.scriptId);
        if (s == nullptr || s->callback == nullptr || s->stopped) {
            continue;
        }
        if (e.type == KOVO_EVENT_CONTROL) {
            deliverControl(*s, e.panel, e.control, e.text);
        } else {
            // A name change reaches a script as news, not as its operator's action.
            const int acting = operatorScript_;
            operatorScript_ = 0;
            deliverDatabase(*s, e);
            operatorScript_ = acting;
        }
    }
}

long long simulator::nextTimerDue() const {
    long long due = -1;
    for (const timer_entry& t : timers_) {
        if (due < 0 || t.due < due) {
            due = t.due;
        }
    }
    return due;
}

void simulator::advance(long long ms) {
    const long long target = clock_ + std::max(0LL, ms);
    int delivered = 0;
    while (true) {
        auto next = timers_.end();
        for (auto t = timers_.begin(); t != timers_.end(); ++t) {
            if (t->due <= target && (next == timers_.end() || t->due < next->due ||
                                     (t->due == next->due && t->order < next->order))) {
                next = t;
            }
        }
        if (next == timers_.end()) {
            break;
        }
        if (++delivered > options_.maxEventsPerAction) {
            failure("more than " + std::to_string(options_.maxEventsPerAction) +
                    " timer expiries in one advance of the clock: the rest of the time is "
                    "skipped, the timers keep running");
            for (timer_entry& t : timers_) {
                if (t.due <= target) {
                    t.due += ((target - t.due) / t.interval + 1) * t.interval;
                }
            }
            break;
        }
        clock_ = next->due;
        const int scriptId = next->scriptId;
        const int id = next->id;
        // Re-armed before the call, so a stop or restart inside it wins.
        next->due += next->interval;
        script_instance* s = findId(scriptId);
        if (s != nullptr && s->callback != nullptr && !s->stopped) {
            deliverTimer(*s, id);
            deliverPending();
        }
    }
    clock_ = target;
}

}  // namespace kovo_host
