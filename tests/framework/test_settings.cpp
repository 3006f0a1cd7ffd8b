// Object and workstation settings, database sizes and the workstation number,
// read from a temporary site.
#include <stdlib.h>

#include <algorithm>
#include <climits>

#include "panel_fixture.h"
#include "site_directory.h"

namespace {
std::string str(const kovo_string& s) {
    return s.c_str();
}

const char* const objectSettings = R"(<?xml version="1.0"?>
<object_settings>
  <object id="rtr_area_1"><setting id="areaname" value="Wrong area"/></object>
  <object id="rtr_area_0">
    <setting id="areaname" value="Studio A"/>
    <setting id="areaname" value="Studio B"/>
    <setting id="novalue"/>
    <setting id="novalue" value="later"/>
    <setting value="no id"/>
  </object>
</object_settings>
)";

const char* const workstations = R"(<workstations>
  <workstation id="0"><setting id="screenwidth" value="1024"/></workstation>
  <workstation id="12"><setting id="screenwidth" value="1280"/><setting id="myarea" value="2"/></workstation>
</workstations>
)";
}  // namespace

class Settings : public testing::Test {
  protected:
    SiteDirectory site;
    TestPanel panel{nullptr, ""};
};

TEST_F(Settings, ObjectSettingIsTheValueOfTheFirstMatchingEntry) {
    site.writeConfig("object_settings.xml", objectSettings);
    EXPECT_EQ(str(panel.getObjectSetting("rtr_area_0", "areaname")), "Studio A");
    EXPECT_EQ(str(panel.getObjectSetting("rtr_area_1", "areaname")), "Wrong area");
    // An entry without a value ends the search: the later one is never seen.
    EXPECT_EQ(str(panel.getObjectSetting("rtr_area_0", "novalue")), "");
    EXPECT_EQ(str(panel.getObjectSetting("rtr_area_0", "missing")), "");
    EXPECT_EQ(str(panel.getObjectSetting("rtr_area_9", "areaname")), "");
    EXPECT_EQ(str(panel.getObjectSetting("rtr_area_0", "AreaName")), "");  // ids are exact
}

TEST_F(Settings, NoStoreMeansNoSettings) {
    EXPECT_EQ(str(panel.getObjectSetting("rtr_area_0", "areaname")), "");
    EXPECT_EQ(str(panel.getWorkstationSetting("screenwidth")), "");
}

TEST_F(Settings, WorkstationSettingFollowsRxWorkstation) {
    site.writeConfig("workstations.xml", workstations);
    kovo_os::setEnvironment("RX_WORKSTATION", "12");
    EXPECT_EQ(panel.workstationNumber(), 12);
    EXPECT_EQ(str(panel.getWorkstationSetting("screenwidth")), "1280");
    EXPECT_EQ(str(panel.getWorkstationSetting("myarea")), "2");
    kovo_os::setEnvironment("RX_WORKSTATION", "12a");
    EXPECT_EQ(panel.workstationNumber(), 12);
    EXPECT_EQ(str(panel.getWorkstationSetting("screenwidth")), "1280");
    // Empty, non-numeric or unset: workstation 0.
    for (const char* number : {"", "ws12"}) {
        kovo_os::setEnvironment("RX_WORKSTATION", number);
        EXPECT_EQ(panel.workstationNumber(), 0) << number;
        EXPECT_EQ(str(panel.getWorkstationSetting("screenwidth")), "1024") << number;
    }
    kovo_os::unsetEnvironment("RX_WORKSTATION");
    EXPECT_EQ(panel.workstationNumber(), 0);
    EXPECT_EQ(str(panel.getWorkstationSetting("screenwidth")), "1024");
    kovo_os::setEnvironment("RX_WORKSTATION", "99999999999");
    EXPECT_EQ(panel.workstationNumber(), INT_MAX);
}

TEST_F(Settings, DatabaseSizeComesFromTheDeviceIniFile) {
    site.writeConfig("dev_005.ini",
                     "[Device]\nDatabaseSize_0=1\n"
                     "[database]\n  databasesize_0 = 4096  \nDatabaseSize_1=abc\n"
                     "DatabaseSize_2=\nDatabaseSize_3=99999999999\nDatabaseSize_-1=7\n");
    site.writeConfig("dev_1234.ini", "[Database]\nDatabaseSize_8=300\n");
    EXPECT_EQ(panel.getDatabaseSize(5, 0), 4096);
    EXPECT_EQ(panel.getDatabaseSize(5, 1), 0);  // not a number
    EXPECT_EQ(panel.getDatabaseSize(5, 2), 0);  // no characters read
    EXPECT_EQ(panel.getDatabaseSize(5, -1), 7);
    EXPECT_EQ(panel.getDatabaseSize(5, 4), 0);  // missing key: the default "0"
    EXPECT_EQ(panel.getDatabaseSize(1234, 8), 300);
    EXPECT_EQ(panel.getDatabaseSize(6, 0), 0);  // missing file
}

// An editor asks the host for every entry: an absurd size must not freeze it.
TEST_F(Settings, DatabaseSizeIsBoundedAndNeverNegative) {
    site.writeConfig("dev_005.ini",
                     "[Database]\nDatabaseSize_0=99999999999\nDatabaseSize_1=16384\n"
                     "DatabaseSize_2=16385\nDatabaseSize_3=-4\n");
    int size = 0;
    const std::string written = debugOutputOf([&] { size = panel.getDatabaseSize(5, 0); });
    EXPECT_EQ(size, kovo_script_helper::maxDatabaseSize);
    EXPECT_EQ(kovo_script_helper::maxDatabaseSize, 16384);
    // One line, naming the device file and the key.
    EXPECT_THAT(written, testing::StartsWith("\nkovo_script_helper:: "));
    EXPECT_THAT(written, testing::HasSubstr("dev_005.ini: DatabaseSize_0=99999999999 is above "
                                            "16384; 16384 entries are used.\n"));
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 2);
    EXPECT_EQ(debugOutputOf([&] { size = panel.getDatabaseSize(5, 1); }), "");
    EXPECT_EQ(size, 16384);
    EXPECT_EQ(panel.getDatabaseSize(5, 2), 16384);
    EXPECT_EQ(debugOutputOf([&] { size = panel.getDatabaseSize(5, 3); }), "");
    EXPECT_EQ(size, 0);
}

TEST_F(Settings, NegativeDeviceGivesAWellFormedFileName) {
    site.writeConfig("dev_-05.ini", "[Database]\nDatabaseSize_0=12\n");
    EXPECT_EQ(panel.getDatabaseSize(-5, 0), 12);
    EXPECT_EQ(panel.getDatabaseSize(INT_MIN, 0), 0);
}

TEST_F(Settings, DatabaseSizeNeedsBothRxRootAndRxSystem) {
    site.writeConfig("dev_005.ini", "[Database]\nDatabaseSize_0=64\n");
    // Where an empty RX_SYSTEM would lead: never read, unset or empty.
    site.write(site.root() / "config" / "system" / "dev_005.ini", "[Database]\nDatabaseSize_0=9\n");
    EXPECT_EQ(panel.getDatabaseSize(5, 0), 64);
    kovo_os::unsetEnvironment("RX_SYSTEM");
    EXPECT_EQ(panel.getDatabaseSize(5, 0), 0);
    kovo_os::setEnvironment("RX_SYSTEM", "");
    EXPECT_EQ(panel.getDatabaseSize(5, 0), 0);
    kovo_os::setEnvironment("RX_SYSTEM", "main_system");
    kovo_os::unsetEnvironment("RX_ROOT");
    EXPECT_EQ(panel.getDatabaseSize(5, 0), 0);
    kovo_os::setEnvironment("RX_ROOT", "");  // would be a path at the file system's root
    EXPECT_EQ(panel.getDatabaseSize(5, 0), 0);
}

TEST_F(Settings, LayoutWidthIsTheScreenWidthOr1024WithOneDebugLine) {
    site.writeConfig("workstations.xml", R"(<workstations>
  <workstation id="1"><setting id="screenwidth" value="1024"/></workstation>
  <workstation id="2"><setting id="screenwidth" value="1280"/></workstation>
  <workstation id="3"><setting id="screenwidth" value="800"/></workstation>
  <workstation id="4"><setting id="screenwidth" value="-1280"/></workstation>
  <workstation id="5"><setting id="screenwidth" value=""/></workstation>
  <workstation id="6"><setting id="myarea" value="stc"/></workstation>
</workstations>
)");
    const std::string foundIn = " parameter found in workstations.xml for workstation ";
    struct Case {
        const char* workstation;
        const char* script;
        const char* width;
        std::string line;
    } cases[] = {
        {"1", "Corvane", "1024", ""},
        {"2", "Lindqar", "1280", ""},
        {"3", "Corvane", "1024", "\nCorvane:: Unsupported screenwidth" + foundIn + "3.\n"},
        {"4", "Lindqar", "1024", "\nLindqar:: Unsupported screenwidth" + foundIn + "4.\n"},
        {"5", "Tavisk", "1024", "\nTavisk:: No screenwidth" + foundIn + "5.\n"},
        {"6", "Corvane", "1024", "\nCorvane:: No screenwidth" + foundIn + "6.\n"},
    };
    for (const Case& c : cases) {
        kovo_os::setEnvironment("RX_WORKSTATION", c.workstation);
        std::string width;
        const std::string written =
            debugOutputOf([&] { width = str(panel.layoutWidthText(c.script)); });
        EXPECT_EQ(width, c.width) << c.workstation;
        EXPECT_EQ(written, c.line) << c.workstation;
    }
    // No workstation number and no store at all: workstation 0, the missing-width line.
    kovo_os::unsetEnvironment("RX_WORKSTATION");
    std::filesystem::remove(site.configDir() / "workstations.xml");
    std::string width;
    const std::string written =
        debugOutputOf([&] { width = str(panel.layoutWidthText("Corvane")); });
    EXPECT_EQ(width, "1024");
    EXPECT_EQ(written, "\nCorvane:: No screenwidth" + foundIn + "0.\n");
}
