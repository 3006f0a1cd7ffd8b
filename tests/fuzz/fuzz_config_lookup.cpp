// Configuration lookups: the group name on the first line, the settings file
// after it, read through the configuration library from a site folder.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fuzz_input.h"
#include "kovo_config.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fs::path root =
        fs::temp_directory_path() / ("kovo_fuzz_config_" + std::to_string(getpid()));
    static const bool ready = [] {
        fs::create_directories(root / "site" / "config" / "system");
        setenv("RX_ROOT", root.string().c_str(), 1);
        setenv("RX_SYSTEM", "site", 1);
        return true;
    }();
    (void)ready;
    std::string rest = kovo_fuzz::text(data, size);
    const std::string group = kovo_fuzz::cText(kovo_fuzz::takeLine(rest));
    std::ofstream(root / "site" / "config" / "system" / "fuzz.xml",
                  std::ios::binary | std::ios::trunc)
        << rest;
    for (const std::string& name : {"fuzz." + group, group}) {
        kovo_config config(name.c_str());
        for (int i = 0; i < 64 && config.isChildValid(); ++i, config.nextChild()) {
            config.childAttr("id");
            config.childAttr("value");
        }
    }
    return 0;
}
