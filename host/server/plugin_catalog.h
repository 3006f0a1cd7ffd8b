// The plug-ins the emulator offers: the panel plug-ins of this build whose
// library lies in the plug-in folder. A page names one of them; it never
// gives a path.
#pragma once

#include <string>
#include <vector>

namespace kovo_serve {

// In name order.
std::vector<std::string> availablePlugins(const std::string& pluginDir);

}  // namespace kovo_serve
