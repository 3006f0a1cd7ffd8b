// The settings reader of check-site sees the groups and entries exactly as the
// configuration store that the plug-ins use: the same first group of an id,
// the same entries in the same order, the same values.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "kovo_config.h"
#include "kovo_os_host.h"
#include "settings_file.h"

using namespace kovo_host;

namespace {

using entries = std::vector<std::pair<std::string, std::string>>;

entries throughStore(const std::string& group) {
    entries found;
    kovo_config config{kovo_string(group.c_str())};
    for (; config.isChildValid(); config.nextChild()) {
        found.emplace_back(config.childAttr("id").c_str(), config.childAttr("value").c_str());
    }
    return found;
}

entries throughReader(const settings_group& group) {
    entries found;
    for (const settings_entry& e : group.entries) {
        found.emplace_back(e.id, e.value);
    }
    return found;
}

void compareSite(const std::filesystem::path& site) {
    kovo_os::setEnvironment("RX_ROOT", site.parent_path().string());
    kovo_os::setEnvironment("RX_SYSTEM", site.filename().string());
    const std::pair<const char*, const char*> files[] = {
        {"workstation_settings", "workstations.xml"}, {"object_settings", "object_settings.xml"}};
    int groups = 0;
    for (const auto& file : files) {
        const settings_file read =
            readSettingsFile((site / "config" / "system" / file.second).string());
        for (const settings_group& group : read.groups) {
            if (read.group(group.id) != &group) {
                continue;  // a later group of the same id: the store never opens it
            }
            EXPECT_EQ(throughReader(group), throughStore(std::string(file.first) + "." + group.id))
                << site << " " << file.second << " " << group.id;
            ++groups;
        }
    }
    EXPECT_GT(groups, 0) << site;
}

}  // namespace

TEST(SettingsFile, ReadsTheSitesAsTheConfigurationStoreDoes) {
    const std::filesystem::path root(KOVO_HOST_TEST_DIR "/../..");
    for (const char* site : {"sites/demo", "tests/corvane/sites/odd", "tests/tavisk/sites/lists",
                             "tests/lindqar/sites/basic"}) {
        compareSite(std::filesystem::canonical(root / site));
    }
}

TEST(SettingsFile, AParseErrorGivesItsLineAndNoGroups) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "kovo-settings-file-test.xml";
    { std::ofstream(file) << "<a>\n<b id=\"x\">\n<c id=\"1\" value=\"v\"\n</b></a>\n"; }
    const settings_file read = readSettingsFile(file.string());
    std::filesystem::remove(file);
    EXPECT_TRUE(read.exists);
    EXPECT_FALSE(read.parsed);
    EXPECT_EQ(read.errorLine, 4);
    EXPECT_TRUE(read.groups.empty());
    EXPECT_FALSE(readSettingsFile(file.string()).exists);
}
