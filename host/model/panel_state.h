// A panel of one script: announced by "PI" or "PS", with the controls of its layout.
#pragma once

#include <string>
#include <vector>

#include "control_state.h"

namespace kovo_host {

struct panel_state {
    std::string id;
    std::string layoutPath;  // as given in the command
    std::string extra;       // the optional third argument of "PI"/"PS"
    bool layoutKnown = false;
    int width = 0;
    int height = 0;
    std::vector<control_state> controls;  // layout order

    control_state* find(const std::string& controlId);
    const control_state* find(const std::string& controlId) const;
    // A control of a panel without layout springs into being at its first use.
    control_state& findOrAdd(const std::string& controlId);
};

}  // namespace kovo_host
