#include "panel_view.h"

#include "text.h"

namespace kovo_host {

namespace {

std::string states(bool enabled, bool visible) {
    return std::string(enabled ? "enabled" : "disabled") + (visible ? "" : " hidden");
}

// Properties other than text and look, which have their own columns.
std::string otherProperties(const control_state& control) {
    std::string out;
    for (const auto& property : control.properties) {
        if (property.first == "text" || property.first == "statesheet") {
            continue;
        }
        out += " " + property.first + "=" + quotedText(property.second);
    }
    return out;
}

void describeButtons(std::string& out, const std::vector<map_button>& buttons, int chosen,
                     bool showIndex) {
    for (const map_button& button : buttons) {
        out += "      " + std::string(button.number < 10 ? " " : "") +
               std::to_string(button.number) + (button.number == chosen ? "*" : " ");
        if (showIndex) {
            out += button.index > 0 ? " [" + std::to_string(button.index) + "] " : " [-] ";
        } else {
            out += button.enabled ? " " : " (disabled) ";
        }
        out += quotedText(button.label) + "\n";
    }
}

}  // namespace

std::string describePanel(const std::string& script, const panel_state& panel,
                          const name_lookup& names) {
    std::string out = "== " + script + " panel " + panel.id + ": " + panel.layoutPath;
    if (panel.layoutKnown) {
        out += " (" + std::to_string(panel.width) + "x" + std::to_string(panel.height) + ")";
    } else {
        out += " (no layout)";
    }
    out += "\n";
    for (const control_state& control : panel.controls) {
        out += "  " + control.id + "  " + kindName(control.kind) + "  " +
               quotedText(control.property("text"));
        const std::string look = control.property("statesheet");
        if (!look.empty()) {
            out += "  look=" + look;
        }
        out += "  " + states(control.enabled, control.visible) + otherProperties(control);
        if (control.declared) {
            out += "  @" + std::to_string(control.x) + "," + std::to_string(control.y);
        }
        out += "\n";
        if (control.kind == control_kind::list ||
            (control.kind == control_kind::unknown && !control.entries.empty())) {
            out += "    " + std::to_string(control.entries.size()) + " entries, selected " +
                   std::to_string(control.selectedIndex) + "\n";
            for (std::size_t i = 0; i < control.entries.size(); ++i) {
                out += "      " +
                       std::string(static_cast<int>(i) == control.selectedIndex ? "*" : " ") +
                       std::to_string(i) + " " + quotedText(control.entries[i]) + "\n";
            }
        } else if (control.kind == control_kind::groupselector) {
            describeButtons(out, groupSelectorButtons(control, names), control.chosen, false);
        } else if (control.kind == control_kind::namemap) {
            describeButtons(out, nameMapButtons(control, names), control.chosen, true);
        }
    }
    return out;
}

}  // namespace kovo_host
