// One control of a shown or announced panel, and what "TP" and "TG" do to it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "layout_file.h"

namespace kovo_host {

struct control_state {
    std::string id;
    control_kind kind = control_kind::unknown;
    bool declared = false;  // from the layout; false for controls of a panel without layout
    int x = 0, y = 0, w = 0, h = 0;
    bool enabled = true;
    bool visible = true;
    std::map<std::string, std::string> properties;
    std::vector<std::string> entries;  // lists
    int selectedIndex = -1;            // lists: -1 none
    int chosen = 0;                    // device-map controls: chosen group or button, 0 none

    static control_state fromLayout(const control_declaration& declared);
    std::string property(const std::string& name) const;
};

// What a "TP" text did beyond changing the control.
struct put_result {
    std::string note;     // told in the transcript: an action that did nothing, a bad entry...
    int pressButton = 0;  // device-map "button.NNN=released": the button to choose (1-based)
};

put_result applyPut(control_state& control, const std::string& text);

// The "TG" answer: "property=value".
std::string getAnswer(const control_state& control, const std::string& property);

}  // namespace kovo_host
