#include "plugin_catalog.h"

#include <algorithm>
#include <filesystem>

#include "kovo_os_host.h"
#include "text.h"

namespace fs = std::filesystem;

namespace kovo_serve {

std::vector<std::string> availablePlugins(const std::string& pluginDir) {
    // The build names its panel plug-ins (KOVO_PANEL_PLUGINS, the top CMakeLists);
    // the test plug-ins beside them in the same folder are not offered.
    std::vector<std::string> names;
    std::error_code code;
    for (const std::string& name : kovo_host::splitAt(KOVO_SERVE_PANEL_PLUGINS, ',')) {
        const fs::path library =
            fs::path(pluginDir) / (name + kovo_os::plugin_library::fileSuffix());
        if (!name.empty() && fs::is_regular_file(library, code)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace kovo_serve
