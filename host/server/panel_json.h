// The shown panels of a script as JSON, for the browser emulator, and the
// changes between two such views (so a push resends only what changed).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "device_map.h"
#include "panel_state.h"

namespace kovo_serve {

using nlohmann::json;

using list_entries = std::shared_ptr<const std::vector<std::string>>;

// One control as drawn: everything but a list's entries, and the entries apart.
// A view is taken after every action, and a router's list can hold 16,384
// names: while a list is unchanged its entries are shared with the view before.
struct control_view {
    json head;
    list_entries entries;  // null: no list
};

struct panel_view_state {
    std::string id;
    json head;  // id, layout, size
    std::vector<std::string> controlOrder;
    std::map<std::string, control_view> controls;
};

// What a script shows, in showing order.
using script_view = std::vector<panel_view_state>;

// `before` (may be null): the view taken last, whose unchanged lists are shared.
script_view viewOf(const std::vector<const kovo_host::panel_state*>& shown,
                   const kovo_host::name_lookup& names, const script_view* before = nullptr);

// The whole view, as sent when a page connects or asks for a panel.
json panelsJson(const script_view& view);
json controlJson(const control_view& control);

// The controls of `now` that differ from `before` (same panels shown, in the
// same order): each with its head, and for lists only the entries that changed
// ("set": [[position, text]...]) or, when the length changed, the entries from
// the first difference on ("from", "tail") with the new "length".
json controlChanges(const script_view& before, const script_view& now);

// True when the two views show the same panels in the same order.
bool samePanels(const script_view& a, const script_view& b);

}  // namespace kovo_serve
