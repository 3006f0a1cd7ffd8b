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

simulator::script_instance* simulator::reachable(const std::string& name,
                                                 const std::string& panelId,
                                                 const std::string& controlId, const char* action,
                                                 control_state*& control, std::string& error) {
    script_instance* found = find(name);
    if (found == nullptr) {
        error = "no script named " + name + " is loaded";
        return nullptr;
    }
    script_instance& s = *found;
    // Built only for a refusal: a press that is carried out should cost no text.
    const auto refused = [&](const char* why) -> script_instance* {
        error = std::string("cannot ") + action + " " + controlId + " on panel " + panelId +
                " of " + s.name + ": " + why;
        return nullptr;
    };
    if (s.stopped || s.callback == nullptr) {
        return refused("the script has stopped");
    }
    auto announced = s.panels.find(panelId);
    if (announced == s.panels.end()) {
        return refused("the panel was never announced");
    }
    if (std::find(s.shown.begin(), s.shown.end(), panelId) == s.shown.end()) {
        return refused("the panel is not shown");
    }
    panel_state& panel = announced->second;
    if (panel.layoutKnown) {
        control = panel.find(controlId);
        if (control == nullptr) {
            return refused("its layout has no such control");
        }
    } else {
        control = &panel.findOrAdd(controlId);
    }
    if (!control->visible) {
        return refused("the control is hidden (send it anyway with an event line)");
    }
    if (!control->enabled) {
        return refused("the control is disabled (send it anyway with an event line)");
    }
    return &s;
}

bool simulator::press(const std::string& name, const std::string& panel,
                      const std::string& controlId, std::string& error) {
    control_state* control = nullptr;
    script_instance* s = reachable(name, panel, controlId, "press", control, error);
    if (s == nullptr) {
        return false;
    }
    if (control->kind != control_kind::button && control->kind != control_kind::label &&
        control->kind != control_kind::unknown) {
        error = "cannot press " + controlId + ": it is a " + kindName(control->kind) +
                (control->kind == control_kind::keyboard ? " (type on it)" : " (choose on it)");
        return false;
    }
    operator_action acting(operatorScript_, s->id);
    deliverControl(*s, panel, controlId, "button=released");
    deliverPending();
    return true;
}

bool simulator::choose(const std::string& name, const std::string& panel,
                       const std::string& controlId, int position, std::string& error) {
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
                error = "list " + controlId + " has no entry at position " +
                        std::to_string(position) + " (it holds " +
                        std::to_string(control->entries.size()) + ")";
                return false;
            }
            control->selectedIndex = position;
            text = "selected=" + control->entries[static_cast<std::size_t>(position)];
            break;
        case control_kind::groupselector: {
            if (position < 1 || position > groupButtons) {
                error = "group selector " + controlId + " has groups 1 to 12, not " +
                        std::to_string(position);
                return false;
            }
            const std::vector<map_button> buttons = groupSelectorButtons(*control, names);
            if (!buttons[static_cast<std::size_t>(position - 1)].enabled) {
                error = "group " + std::to_string(position) + " of " + controlId +
                        " is not enabled (send it anyway with an event line)";
                return false;
            }
            control->chosen = position;
            text = "index=" + std::to_string(position);
            break;
        }
        case control_kind::namemap: {
            if (position < 1 || position > pageButtons) {
                error = "name map " + controlId + " has buttons 1 to 30, not " +
                        std::to_string(position);
                return false;
            }
            const std::vector<map_button> buttons = nameMapButtons(*control, names);
            control->chosen = position;
            text = "index=" + std::to_string(buttons[static_cast<std::size_t>(position - 1)].index);
            break;
        }
        default:
            error = "cannot choose on " + controlId + ": it is a " + kindName(control->kind);
            return false;
    }
    operator_action acting(operatorScript_, s->id);
    deliverControl(*s, panel, controlId, text);
    deliverPending();
    return true;
}

bool simulator::type(const std::string& name, const std::string& panel,
                     const std::string& controlId, const std::string& text, std::string& error) {
    control_state* control = nullptr;
    script_instance* s = reachable(name, panel, controlId, "type on", control, error);
    if (s == nullptr) {
        return false;
    }
    if (control->kind != control_kind::keyboard && control->kind != control_kind::unknown) {
        error = "cannot type on " + controlId + ": it is a " + kindName(control->kind);
        return false;
    }
    control->properties["text"] = text;
    operator_action acting(operatorScript_, s->id);
    deliverControl(*s, panel, controlId, "text=" + text);
    deliverPending();
    return true;
}

bool simulator::event(const std::string& name, const std::string& panel,
                      const std::string& controlId, const std::string& eventText,
                      std::string& error) {
    script_instance* s = find(name);
    if (s == nullptr) {
        error = "no script named " + name + " is loaded";
        return false;
    }
    if (s->stopped || s->callback == nullptr) {
        error = "cannot send an event to " + name + ": the script has stopped";
        return false;
    }
    // An event from a control the operator can reach may well be the operator's.
    control_state* control = nullptr;
    std::string unreachable;
    const bool byOperator =
        reachable(name, panel, controlId, "send", control, unreachable) != nullptr;
    operator_action acting(operatorScript_, byOperator ? s->id : operatorScript_);
    deliverControl(*s, panel, controlId, eventText);
    deliverPending();
    return true;
}

bool simulator::tick(const std::string& name, int id, std::string& error) {
    script_instance* s = find(name);
    if (s == nullptr || s->stopped || s->callback == nullptr) {
        error = "cannot deliver a timer to " + name + ": no such running script";
        return false;
    }
    deliverTimer(*s, id);
    deliverPending();
    return true;
}

bool simulator::databaseEvent(const std::string& name, int device, int database, int index,
                              const std::string& text, std::string& error) {
    script_instance* s = find(name);
    if (s == nullptr || s->stopped || s->callback == nullptr) {
        error = "cannot deliver a database event to " + name + ": no such running script";
        return false;
    }
    queueDatabaseEvent(s->id, device, database, index, text);
    deliverPending();
    return true;
}

bool simulator::query(const std::string& name, const std::string& text, bool hasText,
                      std::string& answer, bool& answered, std::string& error) {
    answer.clear();
    answered = false;
    script_instance* s = find(name);
    if (s == nullptr) {
        error = "no script named " + name + " is loaded";
        return false;
    }
    if (s->stopped || s->callback == nullptr) {
        error = "cannot query " + name + ": the script has stopped";
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
             [&] { reply = s->callback->hostCallback(data, KOVO_EVENT_PARENT_QUERY); });
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

bool simulator::rename(int device, int database, int index, const std::string& name,
                       std::string& error) {
    if (!ensureStore(error)) {
        return false;
    }
    if (site_.device(device) == nullptr) {
        error = "device " + std::to_string(device) + " is not a device of the site";
        return false;
    }
    const int size = site_.databaseSize(device, database);
    if (index < 1 || index > size) {
        error = "database " + std::to_string(database) + " of device " + std::to_string(device) +
                " has " + std::to_string(size) + " entries, no index " + std::to_string(index);
        return false;
    }
    if (!store_.put(device, database, index, name, error)) {
        return false;
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

const std::map<std::string, panel_state>* simulator::announcedPanels(
    const std::string& name) const {
    const script_instance* s = find(name);
    return s == nullptr ? nullptr : &s->panels;
}

const std::vector<std::string>* simulator::shownPanels(const std::string& name) const {
    const script_instance* s = find(name);
    return s == nullptr ? nullptr : &s->shown;
}

bool simulator::show(const std::string& name, std::string& text, std::string& error) {
    script_instance* s = find(name);
    if (s == nullptr) {
        error = "no script named " + name + " is loaded";
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
