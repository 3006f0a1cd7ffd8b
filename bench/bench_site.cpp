#include "bench_site.h"

#include <filesystem>
#include <fstream>
#include <random>

#include "kovo_os_host.h"

namespace fs = std::filesystem;

namespace kovo_bench {

bench_site::bench_site(int names, int objects) {
    std::random_device seed;
    root_ = (fs::temp_directory_path() / ("kovo_bench_" + std::to_string(seed()))).string();
    dir_ = (fs::path(root_) / "site").string();
    std::string settings =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<object_settings>\n"
        "  <object id=\"rtr_area_0\">\n"
        "    <setting id=\"areaname\" value=\"Bench\"/>\n"
        "    <setting id=\"package_levels\" value=\"2\"/>\n"
        "    <setting id=\"driver_ids\" value=\"0,0,301\"/>\n"
        "    <setting id=\"driver_type\" value=\",,Vid\"/>\n"
        "  </object>\n";
    for (int o = 0; o < objects; ++o) {
        settings += "  <object id=\"panel_object_" + std::to_string(o) +
                    "\">\n    <setting id=\"label\" value=\"Object " + std::to_string(o) +
                    "\"/>\n  </object>\n";
    }
    settings += "</object_settings>\n";
    write("config/system/object_settings.xml", settings);
    write("config/system/workstations.xml",
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<workstations>\n"
          "  <workstation id=\"12\">\n    <setting id=\"screenwidth\" value=\"1280\"/>\n"
          "  </workstation>\n</workstations>\n");
    const std::string size = std::to_string(names);
    write("config/system/dev_301.ini",
          "[Device]\nName=Bench Router\nOffset=0\n\n[Database]\n"
          "DatabaseSize_0=" +
              size + "\nDatabaseSize_1=" + size + "\nDatabaseSize_2=" + size +
              "\nDatabaseSize_3=" + size + "\n");
    for (int database = 0; database < 4; ++database) {
        std::string text;
        for (int i = 1; i <= names; ++i) {
            text +=
                std::to_string(i) + (database < 2 ? " Camera " : " Cam") + std::to_string(i) + "\n";
        }
        write("names/dev_301/db_" + std::to_string(database) + ".txt", text);
    }
}

bench_site::~bench_site() {
    std::error_code code;
    fs::remove_all(root_, code);
}

void bench_site::write(const std::string& relative, const std::string& text) const {
    const fs::path path = fs::path(dir_) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

kovo_host::simulator_options simulatorOptions(const std::string& siteDir,
                                              const std::string& store) {
    kovo_host::simulator_options options = kovo_host::defaultOptions();
    options.siteDir = siteDir;
    options.dbFile = store;
    options.freshStore = true;
    return options;
}

void useSite(const std::string& siteDir, int workstation) {
    const fs::path site(siteDir);
    kovo_os::setEnvironment("RX_ROOT", site.parent_path().string());
    kovo_os::setEnvironment("RX_SYSTEM", site.filename().string());
    kovo_os::setEnvironment("RX_WORKSTATION", std::to_string(workstation));
}

std::string sourceDir() {
    return KOVO_BENCH_SOURCE_DIR;
}

std::string pluginPath(const std::string& name) {
    return (fs::path(KOVO_BENCH_PLUGIN_DIR) / (name + kovo_os::plugin_library::fileSuffix()))
        .string();
}

}  // namespace kovo_bench
