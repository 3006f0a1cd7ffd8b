// What an operator (or another editor) does: presses, choices, typing, queries,
// name changes from outside, and looking at the shown panel.
#include <algorithm>

#include "device_map.h"
#include "panel_view.h"
#include "simulator_internal.h"
#include "text.h"

namespace kovo_host {

namespace {

// Marks the script as handling an operator action while it lasts.
class operator_action {
  public:
    operator_action(int& current, int id) : current_(current), previous_(current) { current_ = id; }
    ~operator_action() { current_ = previous_; }
    operator_action(const operator_action&) = delete;
    operator_action& operator=(const operator_action&) = delete;

  private:
    int& current_;
    int previous_;
};

}  // namespace

simulator::script_instance* simulator::found(const std::string& name, host_error& error) const {
    script_instance* s = find(name);
    if (s == nullptr) {
        error.set(error_kind::no_script, "no script named " + name + " is loaded");
    }
    return s;
}

simulator::script_instance* simulator::reachable(const std::string& name,
                                                 const std::string& panelId,
                                                 const std::string& controlId, const char* action,
                                                 control_state*& control, host_error& error) {
    script_instance* s = found(name, error);
    if (s == nullptr) {
        return nullptr;
    }
    // Built only for a refusal: a press that is carried out should cost no text.
    const auto refused = [&](error_kind kind, const char* why) -> script_instance* {
        error.set(kind, std::string("cannot ") + action + " " + controlId + " on panel " + panelId +
                            " of " + s->name + ": " + why);
        return nullptr;
    };
    // What the script does not have is told first, then why the operator cannot
    // reach what it has.
    auto announced = s->panels.find(panelId);
    if (announced == s->panels.end()) {
        return refused(error_kind::no_panel, "the panel was never announced");
    }
    panel_state& panel = announced->second;
    if (panel.layoutKnown && panel.find(controlId) == nullptr) {
        return refused(error_kind::no_control, "its layout has no such control");
    }
    if (s->stopped || s->callback == nullptr) {
        return refused(error_kind::refused, "the script has stopped");
    }
    if (std::find(s->shown.begin(), s->shown.end(), panelId) == s->shown.end()) {
        return refused(error_kind::refused, "the panel is not shown");
    }
    control = panel.layoutKnown ? panel.find(controlId) : &panel.findOrAdd(controlId);
    if (!control->visible) {
        return refused(error_kind::refused,
                       "the control is hidden (send it anyway with an event line)");
    }
    if (!control->enabled) {
        return refused(error_kind::refused,
                       "the control is disabled (send it anyway with an event line)");
    }
    return s;
}

bool simulator::press(const std::string& name, const std::string& panel,
                      const std::string& controlId, host_error& error) {
    control_state* control = nullptr;
    script_instance* s = reachable(name, panel, controlId, "press", control, error);
    if (s == nullptr) {
        return false;
    }
    if (control->kind != control_kind::button && control->kind != control_kind::label &&
        control->kind != control_kind::unknown) {
        return error.set(
            error_kind::refused,
            "cannot press " + controlId + ": it is a " + kindName(control->kind) +
                (control->kind == control_kind::keyboard ? " (type on it)" : " (choose on it)"));
    }
    operator_action acting(operatorScript_, s->id);
    deliverControl(*s, panel, controlId, "button=released");
    deliverPending();
    return true;
}

bool simulator::choose(const std::string& name, const std::string& panel,
                       const std::string& controlId, int position, host_error& error) {
    control_state* control = nullptr;
    script_instance* s = reachable(name, panel, controlId, "choose on", control, error);
    if (s == nullptr) {
        return false;
    }
    const name_lookup names = [this](int d, int b, int i) { return store_.get(d, b, i); };
    std::string text;
    switch (control->kind) {
        case control_kind::list:
        case control_kind::unknown:
            if (position < 0 || position >= static_cast<int>(control->entries.size())) {
                return error.set(error_kind::refused,
                                 "list " + controlId + " has no entry at position " +
                                     std::to_string(position) + " (it holds " +
                                     std::to_string(control->entries.size()) + ")");
            }
            control->selectedIndex = position;
            text = "selected=" + control->entries[static_cast<std::size_t>(position)];
            break;
        case control_kind::groupselector: {
            if (position < 1 || position > groupButtons) {
                return error.set(error_kind::refused, "group selector " + controlId +
                                                          " has groups 1 to 12, not " +
                                                          std::to_string(position));
            }
            const std::vector<map_button> buttons = groupSelectorButtons(*control, names);
            if (!buttons[static_cast<std::size_t>(position - 1)].enabled) {
                return error.set(error_kind::refused,
                                 "group " + std::to_string(position) + " of " + controlId +
                                     " is not enabled (send it anyway with an event line)");
            }
            control->chosen = position;
            text = "index=" + std::to_string(position);
            break;
        }
        case control_kind::namemap: {
            if (position < 1 || position > pageButtons) {
                return error.set(error_kind::refused, "name map " + controlId +
                                                          " has buttons 1 to 30, not " +
                                                          std::to_string(position));
            }
            const std::vector<map_button> buttons = nameMapButtons(*control, names);
            control->chosen = position;
            text = "index=" + std::to_string(buttons[static_cast<std::size_t>(position - 1)].index);
            break;
        }
        default:
            return error.set(error_kind::refused, "cannot choose on " + controlId + ": it is a " +
                                                      kindName(control->kind));
    }
    operator_action acting(operatorScript_, s->id);
    deliverControl(*s, panel, controlId, text);
    deliverPending();
    return true;
}

bool simulator::type(const std::string& name, const std::string& panel,
                     const std::string& controlId, const std::string& text, host_error& error) {
    control_state* control = nullptr;
    script_instance* s = reachable(name, panel, controlId, "type on", control, error);
    if (s == nullptr) {
        return false;
    }
    if (control->kind != control_kind::keyboard && control->kind != control_kind::unknown) {
        return error.set(error_kind::refused,
                         "cannot type on " + controlId + ": it is a " + kindName(control->kind));
    }
    control->properties["text"] = text;
    operator_action acting(operatorScript_, s->id);
    deliverControl(*s, panel, controlId, "text=" + text);
    deliverPending();
    return true;
}

simulator::script_instance* simulator::running(const std::string& name, const char* what,
                                               host_error& error) const {
    script_instance* s = found(name, error);
    if (s != nullptr && (s->stopped || s->callback == nullptr)) {
        error.set(error_kind::refused,
                  std::string("cannot ") + what + " " + name + ": the script has stopped");
        return nullptr;
    }
    return s;
}

bool simulator::event(const std::string& name, const std::string& panel,
                      const std::string& controlId, const std::string& eventText,
                      host_error& error) {
    script_instance* s = running(name, "send an event to", error);
    if (s == nullptr) {
        return false;
    }
    // An event from a control the operator can reach may well be the operator's.
    control_state* control = nullptr;
    host_error unreachable;
    const bool byOperator =
        reachable(name, panel, controlId, "send", control, unreachable) != nullptr;
    operator_action acting(operatorScript_, byOperator ? s->id : operatorScript_);
    deliverControl(*s, panel, controlId, eventText);
    deliverPending();
    return true;
}

bool simulator::tick(const std::string& name, int id, host_error& error) {
    script_instance* s = running(name, "deliver a timer to", error);
    if (s == nullptr) {
        return false;
    }
    deliverTimer(*s, id);
    deliverPending();
    return true;
}

bool simulator::databaseEvent(const std::string& name, int device, int database, int index,
                              const std::string& text, host_error& error) {
    script_instance* s = running(name, "deliver a database event to", error);
    if (s == nullptr) {
        return false;
    }
    queueDatabaseEvent(s->id, device, database, index, text);
    deliverPending();
    return true;
}

bool simulator::query(const std::string& name, const std::string& text, bool hasText,
                      std::string& answer, bool& answered, host_error& error) {
    answer.clear();
    answered = false;
    script_instance* s = running(name, "query", error);
    if (s == nullptr) {
        return false;
    }
    transcript_entry asked;
    asked.kind = entry_kind::event;
    asked.script = s->name;
    asked.text = "query " + (hasText ? quotedText(text) : std::string("(null)"));
    record(std::move(asked));
    char* reply = nullptr;
    void* data = hasText ? const_cast<char*>(text.c_str()) : nullptr;
    callInto(*s, "hostCallback",
             [&] { reply = s->callback.hostCallback(data, KOVO_EVENT_PARENT_QUERY); });
    if (reply != nullptr) {
        answered = true;
        answer = reply;
        transcript_entry handed;
        handed.kind = entry_kind::event;
        handed.script = s->name;
        handed.text = "release of the query answer " + quotedText(answer);
        record(std::move(handed));
        // The answer belongs to the script: only it may free it, on event type 5.
        deliverEvent(*s, reply, KOVO_EVENT_RELEASE);
    }
    transcript_entry shownAnswer;
    shownAnswer.kind = entry_kind::output;
    shownAnswer.text = "  answer: " + (answered ? quotedText(answer) : std::string("(null)"));
    record(std::move(shownAnswer));
    deliverPending();
    return true;
}

bool simulator::checkEntry(int device, int database, int index, host_error& error) const {
    if (site_.device(device) == nullptr) {
        return error.set(error_kind::no_device,
                         "device " + std::to_string(device) + " is not a device of the site");
    }
    const int size = site_.databaseSize(device, database);
    if (index < 1 || index > size) {
        return error.set(size > 0 ? error_kind::no_index : error_kind::no_database,
                         "database " + std::to_string(database) + " of device " +
                             std::to_string(device) + " has " + std::to_string(size) +
                             " entries, no index " + std::to_string(index));
    }
    return true;
}

bool simulator::rename(int device, int database, int index, const std::string& name,
                       host_error& error) {
    std::string failed;
    if (!ensureStore(failed)) {
        return error.set(error_kind::unusable, failed);
    }
    if (!checkEntry(device, database, index, error)) {
        return false;
    }
    if (!store_.put(device, database, index, name, failed)) {
        return error.set(error_kind::unusable, failed);
    }
    note("", "stored " + std::to_string(device) + " " + std::to_string(database) + " " +
                 std::to_string(index) + " " + quotedText(name));
    queueDatabaseEvents(device, database, index, name);
    deliverPending();
    return true;
}

bool simulator::storedName(int device, int database, int index, std::string& name, bool& found,
                           std::string& error) {
    if (!ensureStore(error)) {
        return false;
    }
    const std::optional<std::string> stored = store_.get(device, database, index);
    found = stored.has_value();
    name = stored.value_or("");
    return true;
}

bool simulator::databaseNames(int device, int database,
                              std::vector<std::pair<int, std::string>>& names, host_error& error) {
    names.clear();
    std::string failed;
    if (!ensureStore(failed)) {
        return error.set(error_kind::unusable, failed);
    }
    if (site_.device(device) == nullptr) {
        return error.set(error_kind::no_device,
                         "device " + std::to_string(device) + " is not a device of the site");
    }
    const int size = site_.databaseSize(device, database);
    if (size <= 0) {
        return error.set(
            error_kind::no_database,
            "device " + std::to_string(device) + " has no database " + std::to_string(database));
    }
    for (stored_name& stored : store_.all(device, database)) {
        if (stored.index >= 1 && stored.index <= size) {
            names.emplace_back(stored.index, std::move(stored.name));
        }
    }
    return true;
}

const std::map<std::string, panel_state>* simulator::announcedPanels(
    const std::string& name) const {
    const script_instance* s = find(name);
    return s == nullptr ? nullptr : &s->panels;
}

const std::vector<std::string>* simulator::shownPanels(const std::string& name) const {
    const script_instance* s = find(name);
    return s == nullptr ? nullptr : &s->shown;
}

bool simulator::show(const std::string& name, std::string& text, host_error& error) {
    script_instance* s = found(name, error);
    if (s == nullptr) {
        return false;
    }
    text.clear();
    const name_lookup names = [this](int d, int b, int i) { return store_.get(d, b, i); };
    for (const std::string& id : s->shown) {
        text += describePanel(s->name, s->panels.at(id), names);
    }
    if (text.empty()) {
        text = "== " + s->name + ": no panel is shown\n";
    }
    return true;
}

}  // namespace kovo_host
