// The model as JSON: the views a page asks for, the snapshot it starts from,
// and the messages that tell it what changed since.
#include <algorithm>

#include "plugin_catalog.h"
#include "serve_session.h"
#include "text.h"

namespace kovo_serve {

namespace {

constexpr std::size_t snapshotTranscript = 500;
constexpr std::size_t pushedTranscript = 1000;

}  // namespace

json serve_session::requestsJson(std::size_t from) const {
    json list = json::array();
    const std::vector<kovo_host::px_request>& requests = sim_.pxRequests();
    for (std::size_t i = from; i < requests.size(); ++i) {
        list.push_back({{"workstation", requests[i].workstation}, {"text", requests[i].text}});
    }
    return list;
}

std::vector<std::string> serve_session::pluginNames() const {
    return availablePlugins(sim_.options().pluginDir);
}

int serve_session::firstWorkstation() const {
    return sim_.site() != nullptr ? sim_.site()->firstWorkstation() : 0;
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
    if (sim_.pxRequests().size() > requestsSeen_) {
        json list = requestsJson(requestsSeen_);
        requestsSeen_ = sim_.pxRequests().size();
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
    return {{"type", "snapshot"},
            {"site", sim_.site() != nullptr ? sim_.site()->directory() : ""},
            {"scripts", std::move(scripts)},
            {"requests", requestsJson(0)},
            {"transcript", transcript_.newest(snapshotTranscript)},
            {"plugins", pluginNames()},
            {"firstWorkstation", firstWorkstation()},
            {"record", {{"on", recorder_.recording()}, {"lines", recorder_.lineCount()}}}};
}

api_result serve_session::scripts() {
    std::lock_guard<std::mutex> lock(model_);
    api_result result;
    result.body = {{"scripts", scriptsJson()}};
    return result;
}

api_result serve_session::plugins() {
    std::lock_guard<std::mutex> lock(model_);
    api_result result;
    result.body = {{"plugins", pluginNames()}, {"firstWorkstation", firstWorkstation()}};
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
    std::vector<std::pair<int, std::string>> stored;
    kovo_host::host_error error;
    if (!sim_.databaseNames(device, database, stored, error)) {
        return refusalOf(error);
    }
    json list = json::array();
    for (const auto& name : stored) {
        if (search.empty() || kovo_host::containsIgnoringCase(name.second, search) ||
            std::to_string(name.first) == search) {
            list.push_back({{"index", name.first}, {"name", name.second}});
        }
    }
    api_result result;
    result.body = {{"device", device},
                   {"database", database},
                   {"size", sim_.site()->databaseSize(device, database)},
                   {"names", std::move(list)}};
    return result;
}

api_result serve_session::requests() {
    std::lock_guard<std::mutex> lock(model_);
    api_result result;
    result.body = {{"requests", requestsJson(0)}};
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

}  // namespace kovo_serve
