// The text of "show": a panel's controls as an operator would see them.
#pragma once

#include <string>

#include "device_map.h"
#include "panel_state.h"

namespace kovo_host {

std::string describePanel(const std::string& script, const panel_state& panel,
                          const name_lookup& names);

}  // namespace kovo_host
