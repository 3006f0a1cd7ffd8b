#include "panel_json.h"

#include <algorithm>

namespace kovo_serve {

namespace {

json buttonsJson(const std::vector<kovo_host::map_button>& buttons) {
    json out = json::array();
    for (const kovo_host::map_button& b : buttons) {
        out.push_back(
            {{"number", b.number}, {"index", b.index}, {"label", b.label}, {"enabled", b.enabled}});
    }
    return out;
}

// The control of the same id on the same panel of the view before, if any.
const control_view* earlier(const script_view* before, const std::string& panel,
                            const std::string& id) {
    if (before == nullptr) {
        return nullptr;
    }
    for (const panel_view_state& p : *before) {
        if (p.id == panel) {
            const auto found = p.controls.find(id);
            return found == p.controls.end() ? nullptr : &found->second;
        }
    }
    return nullptr;
}

list_entries entriesOf(const kovo_host::control_state& c, const control_view* before) {
    if (before != nullptr && before->entries && *before->entries == c.entries) {
        return before->entries;
    }
    return std::make_shared<const std::vector<std::string>>(c.entries);
}

bool sameEntries(const list_entries& a, const list_entries& b) {
    if (a == b) {
        return true;
    }
    return a && b && *a == *b;
}

control_view controlView(const kovo_host::control_state& c, const kovo_host::name_lookup& names,
                         const control_view* before) {
    using kovo_host::control_kind;
    control_view view;
    json properties = json::object();
    for (const auto& property : c.properties) {
        properties[property.first] = property.second;
    }
    view.head = {{"id", c.id},
                 {"kind", kovo_host::kindName(c.kind)},
                 {"declared", c.declared},
                 {"x", c.x},
                 {"y", c.y},
                 {"w", c.w},
                 {"h", c.h},
                 {"text", c.property("text")},
                 {"look", c.property("statesheet")},
                 {"enabled", c.enabled},
                 {"visible", c.visible},
                 {"properties", std::move(properties)}};
    if (c.kind == control_kind::list || !c.entries.empty()) {
        view.head["selected"] = c.selectedIndex;
        view.head["length"] = c.entries.size();
        view.entries = entriesOf(c, before);
    }
    if (c.kind == control_kind::groupselector) {
        view.head["chosen"] = c.chosen;
        view.head["buttons"] = buttonsJson(kovo_host::groupSelectorButtons(c, names));
    } else if (c.kind == control_kind::namemap) {
        view.head["chosen"] = c.chosen;
        view.head["buttons"] = buttonsJson(kovo_host::nameMapButtons(c, names));
    }
    return view;
}

json entriesChange(const std::vector<std::string>& before, const std::vector<std::string>& now) {
    json change = json::object();
    if (before.size() == now.size()) {
        json set = json::array();
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (before[i] != now[i]) {
                set.push_back(json::array({i, now[i]}));
            }
        }
        change["set"] = std::move(set);
        return change;
    }
    const auto differ = std::mismatch(before.begin(), before.end(), now.begin(), now.end());
    const std::size_t from = static_cast<std::size_t>(differ.second - now.begin());
    change["from"] = from;
    change["tail"] =
        json(std::vector<std::string>(now.begin() + static_cast<long>(from), now.end()));
    return change;
}

const std::vector<std::string>& entriesOrNone(const list_entries& entries) {
    static const std::vector<std::string> none;
    return entries ? *entries : none;
}

}  // namespace

script_view viewOf(const std::vector<const kovo_host::panel_state*>& shown,
                   const kovo_host::name_lookup& names, const script_view* before) {
    script_view view;
    for (const kovo_host::panel_state* panel : shown) {
        panel_view_state p;
        p.id = panel->id;
        p.head = {{"id", panel->id},
                  {"layout", panel->layoutPath},
                  {"layoutKnown", panel->layoutKnown},
                  {"width", panel->width},
                  {"height", panel->height}};
        for (const kovo_host::control_state& control : panel->controls) {
            p.controlOrder.push_back(control.id);
            p.controls[control.id] =
                controlView(control, names, earlier(before, panel->id, control.id));
        }
        view.push_back(std::move(p));
    }
    return view;
}

json controlJson(const control_view& control) {
    json out = control.head;
    if (control.entries) {
        out["entries"] = *control.entries;
    }
    return out;
}

json panelsJson(const script_view& view) {
    json panels = json::array();
    for (const panel_view_state& panel : view) {
        json p = panel.head;
        p["controls"] = json::array();
        for (const std::string& id : panel.controlOrder) {
            p["controls"].push_back(controlJson(panel.controls.at(id)));
        }
        panels.push_back(std::move(p));
    }
    return panels;
}

bool samePanels(const script_view& a, const script_view& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const panel_view_state& x, const panel_view_state& y) {
                          return x.id == y.id && x.head == y.head &&
                                 x.controlOrder == y.controlOrder;
                      });
}

json controlChanges(const script_view& before, const script_view& now) {
    json changes = json::array();
    for (std::size_t p = 0; p < now.size() && p < before.size(); ++p) {
        for (const std::string& id : now[p].controlOrder) {
            const control_view& after = now[p].controls.at(id);
            const auto old = before[p].controls.find(id);
            const bool headChanged =
                old == before[p].controls.end() || old->second.head != after.head;
            const bool entriesChanged =
                old != before[p].controls.end() && !sameEntries(old->second.entries, after.entries);
            if (old == before[p].controls.end()) {
                json full = controlJson(after);
                full["panel"] = now[p].id;
                changes.push_back(std::move(full));
                continue;
            }
            if (!headChanged && !entriesChanged) {
                continue;
            }
            json change = after.head;
            change["panel"] = now[p].id;
            if (entriesChanged) {
                change["entriesChange"] =
                    entriesChange(entriesOrNone(old->second.entries), entriesOrNone(after.entries));
            }
            changes.push_back(std::move(change));
        }
    }
    return changes;
}

}  // namespace kovo_serve
