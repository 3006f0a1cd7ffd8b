// check-site on small sites made to hold one fault each, and all of them at once.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "kovo_script_test.h"
#include "site_check.h"

using namespace kovo_host;

namespace {

const char workstations[] =
    "<?xml version=\"1.0\"?>\n"
    "<workstations>\n"
    "  <workstation id=\"12\">\n"
    "    <setting id=\"screenwidth\" value=\"1280\"/>\n"
    "    <setting id=\"myarea\" value=\"STC-Gallery\"/>\n"
    "  </workstation>\n"
    "</workstations>\n";

const char objects[] =
    "<?xml version=\"1.0\"?>\n"
    "<object_settings>\n"
    "  <object id=\"ws_shutdown\">\n"
    "    <setting id=\"stc\" value=\"12,W10,13,XP\"/>\n"
    "  </object>\n"
    "  <object id=\"rtr_area_0\">\n"
    "    <setting id=\"areaname\" value=\"Studio\"/>\n"
    "    <setting id=\"package_levels\" value=\"2\"/>\n"
    "    <setting id=\"driver_ids\" value=\"0,0,101,0,0\"/>\n"
    "    <setting id=\"driver_type\" value=\",,SDI,,\"/>\n"
    "  </object>\n"
    "</object_settings>\n";

const char router[] =
    "[Device]\nName=Router\n\n[Database]\nDatabaseSize_0=4\nDatabaseSize_1=4\n"
    "DatabaseSize_2=4\nDatabaseSize_3=4\n";

const char names[] = "1 Cam 1\n2 Cam 2\n";

// A clean site in a temporary folder; each test breaks one part of it.
class fault_site {
  public:
    fault_site() : dir_((std::filesystem::path(temp_.path()) / "site").string()) {
        write("config/system/workstations.xml", workstations);
        write("config/system/object_settings.xml", objects);
        write("config/system/dev_101.ini", router);
        write("names/dev_101/db_0.txt", names);
    }
    void write(const std::string& relative, const std::string& text) const {
        const std::filesystem::path path = std::filesystem::path(dir_) / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    // Replaces `from` (which must be there) by `to` in a file of the site.
    void edit(const std::string& relative, const std::string& from, const std::string& to) const {
        const std::filesystem::path path = std::filesystem::path(dir_) / relative;
        std::ifstream in(path, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        std::ofstream(path, std::ios::binary) << text;
    }
    // "file:line: severity: problem" for every finding.
    std::vector<std::string> findings() const {
        const site_check_result result = checkSite(dir_);
        std::vector<std::string> lines;
        for (const site_finding& f : result.findings) {
            lines.push_back(f.file + ":" + std::to_string(f.line) + ": " +
                            (f.severity == finding_severity::error ? "error" : "warning") + ": " +
                            f.problem);
        }
        return lines;
    }
    std::string effectOf(const std::string& problemPart) const {
        for (const site_finding& f : checkSite(dir_).findings) {
            if (f.problem.find(problemPart) != std::string::npos) {
                return f.effect;
            }
        }
        return "(no such finding)";
    }

    kovo_host_testing::temp_directory temp_;
    std::string dir_;
};

class SiteCheck : public ::testing::Test, public fault_site {};

const std::string ws = "config/system/workstations.xml";
const std::string obj = "config/system/object_settings.xml";
const std::string dev = "config/system/dev_101.ini";
const std::string db0 = "names/dev_101/db_0.txt";

// The faults, one at a time: the edit that makes it and the findings it gives.
struct fault {
    const char* name;
    std::string file, from, to;
    std::vector<std::string> expected;
};

std::vector<fault> faults() {
    return {
        {"xml",
         obj,
         "<object id=\"ws_shutdown\">",
         "<object id=\"ws_shutdown\">\n<oops",
         {obj + ":5: error: the XML does not parse (Error parsing start element tag)",
          ws + ":5: warning: workstation 12: \"myarea\" \"STC-Gallery\" is area \"stc\", which "
               "has no \"ws_shutdown\" list"}},
        {"repeated setting",
         obj,
         "<setting id=\"package_levels\" value=\"2\"/>",
         "<setting id=\"package_levels\" value=\"2\"/>\n<setting id=\"package_levels\" "
         "value=\"3\"/>",
         {obj + ":9: warning: setting \"package_levels\" again in group \"rtr_area_0\" (first at "
                "line 8)"}},
        {"repeated group",
         obj,
         "</object_settings>",
         "<object id=\"rtr_area_0\"/>\n</object_settings>",
         {obj + ":12: warning: group \"rtr_area_0\" again (first at line 6)"}},
        {"odd list",
         obj,
         "12,W10,13,XP",
         "12,W10,13",
         {obj + ":4: warning: area \"stc\": \"ws_shutdown\" has an odd number of entries (3)"}},
        {"not a workstation",
         obj,
         "12,W10,13,XP",
         "12,W10,l3,XP",
         {obj + ":4: error: area \"stc\": \"l3\" is not a workstation number"}},
        {"unknown type",
         obj,
         "12,W10,13,XP",
         "12,W10,13,w10",
         {obj + ":4: error: area \"stc\": workstation 13 has the unknown type \"w10\" (XPE, XP, "
                "W7 or W10, exact case)"}},
        {"more than ten",
         obj,
         "12,W10,13,XP",
         "1,XP,2,XP,3,XP,4,XP,5,XP,6,XP,7,XP,8,XP,9,XP,10,XP,11,XP,12,W10",
         {obj + ":4: error: area \"stc\": \"ws_shutdown\" lists 12 workstations"}},
        {"two areas",
         obj,
         "value=\"12,W10,13,XP\"/>",
         "value=\"12,W10,13,XP\"/>\n<setting id=\"sta\" value=\"13,XP\"/>",
         {obj + ":5: warning: area \"sta\": workstation 13 is also listed in area \"stc\""}},
        {"unread area",
         obj,
         "<setting id=\"stc\"",
         "<setting id=\"stc\" value=\"12,W10\"/>\n<setting id=\"studio\"",
         {obj +
          ":5: warning: \"ws_shutdown\" lists area \"studio\", which is not \"stc\" or \"sta\""}},
        {"gap",
         obj,
         "</object_settings>",
         "<object id=\"rtr_area_2\"><setting id=\"areaname\" value=\"Late\"/></object>\n"
         "</object_settings>",
         {obj + ":12: warning: area rtr_area_2 \"Late\" comes after the gap at rtr_area_1"}},
        {"list lengths",
         obj,
         "value=\",,SDI,,\"",
         "value=\",,SDI\"",
         {obj + ":10: error: area rtr_area_0: \"driver_ids\" has 5 entries but \"driver_type\" 3"}},
        {"no device file",
         obj,
         "0,0,101,0,0",
         "0,0,101,102,0",
         {obj + ":9: error: area rtr_area_0: driver id 102 (router 2) has no device file "
                "(config/system/dev_102.ini)"}},
        {"label without device",
         obj,
         ",,SDI,,",
         ",,SDI,Audio,",
         {obj + ":9: error: area rtr_area_0: router 2 is labelled \"Audio\" but has no device"}},
        {"screenwidth",
         ws,
         "value=\"1280\"",
         "value=\"800\"",
         {ws + ":4: warning: workstation 12: \"screenwidth\" \"800\" is neither 1024 nor 1280"}},
        {"myarea",
         ws,
         "STC-Gallery",
         "Studio A",
         {ws + ":5: warning: workstation 12: \"myarea\" \"Studio A\" names no gallery (a "
               "gallery's area begins with \"stc\" or \"sta\")"}},
        {"missing size",
         dev,
         "DatabaseSize_2=4\n",
         "",
         {dev + ":0: error: DatabaseSize_2 is missing, but area rtr_area_0 (names editor, router "
                "1) reads database 2"}},
        {"short names",
         dev,
         "DatabaseSize_2=4",
         "DatabaseSize_2=3",
         {dev + ":7: warning: DatabaseSize_2 is 3, smaller than DatabaseSize_0 (4)"}},
        {"offset",
         dev,
         "Name=Router",
         "Name=Router\nOffset=3x",
         {dev + ":3: error: Offset \"3x\" is not a whole number"}},
        {"negative size",
         dev,
         "DatabaseSize_3=4",
         "DatabaseSize_3=4\nDatabaseSize_9=-4",
         {dev + ":9: error: DatabaseSize_9 is negative (-4)"}},
        {"huge size",
         dev,
         "DatabaseSize_3=4",
         "DatabaseSize_3=4\nDatabaseSize_9=1000000",
         {dev + ":9: warning: DatabaseSize_9 is 1000000, above 16384"}},
        {"overflowing size",
         dev,
         "DatabaseSize_3=4",
         "DatabaseSize_3=4\nDatabaseSize_9=99999999999",
         {dev + ":9: warning: DatabaseSize_9 is 99999999999, above 16384"}},
        {"size at the bound",
         dev,
         "DatabaseSize_3=4",
         "DatabaseSize_3=4\nDatabaseSize_9=16384",
         {}},
        {"absurd size",
         dev,
         "DatabaseSize_3=4",
         "DatabaseSize_3=4\nDatabaseSize_9=lots",
         {dev + ":9: error: DatabaseSize_9 \"lots\" is not a whole number"}},
        {"index outside",
         db0,
         "2 Cam 2\n",
         "2 Cam 2\n5 Cam 5\n",
         {db0 + ":3: error: index 5 is outside database 0 (1 to 4)"}},
        {"long name",
         db0,
         "2 Cam 2",
         "2 Camera number two!",
         {db0 + ":2: warning: index 2: the name \"Camera number two!\" is 18 bytes long"}},
        {"quote",
         db0,
         "2 Cam 2",
         "2 Guest's Cam",
         {db0 + ":2: warning: index 2: the name \"Guest's Cam\" holds a '"}},
        {"control character",
         db0,
         "2 Cam 2",
         "2 Cam\t2",
         {db0 + ":2: warning: index 2: the name holds a control character"}},
        {"repeated index",
         db0,
         "2 Cam 2\n",
         "2 Cam 2\n2 Cam two\n",
         {db0 + ":3: warning: index 2 again (first at line 2)"}},
    };
}

}  // namespace

TEST_F(SiteCheck, TheCleanSiteHasNoFindings) {
    EXPECT_EQ(findings(), std::vector<std::string>{});
    EXPECT_EQ(checkExitStatus(checkSite(dir_), true), 0);
}

TEST_F(SiteCheck, EachFaultAloneGivesExactlyItsFindings) {
    for (const fault& f : faults()) {
        fault_site fresh;
        fresh.edit(f.file, f.from, f.to);
        EXPECT_EQ(fresh.findings(), f.expected) << f.name;
    }
}

TEST_F(SiteCheck, AllFaultsTogetherAreAllFound) {
    // The name file faults on lines of their own, so that none hides another.
    write(db0, "1 Cam 1\n2 Camera number two!\n3 Guest's Cam\n5 Cam 5\n");
    edit(ws, "value=\"1280\"", "value=\"800\"");
    edit(dev, "DatabaseSize_2=4\n", "");
    edit(obj, "12,W10,13,XP", "12,W10,l3,XP,14");
    edit(obj, "</object_settings>",
         "<object id=\"rtr_area_2\"><setting id=\"areaname\" value=\"Late\"/></object>\n"
         "</object_settings>");
    EXPECT_EQ(
        findings(),
        (std::vector<std::string>{
            dev + ":0: error: DatabaseSize_2 is missing, but area rtr_area_0 (names editor, "
                  "router 1) reads database 2",
            obj + ":4: warning: area \"stc\": \"ws_shutdown\" has an odd number of entries (5)",
            obj + ":4: error: area \"stc\": \"l3\" is not a workstation number",
            obj + ":12: warning: area rtr_area_2 \"Late\" comes after the gap at rtr_area_1",
            ws + ":4: warning: workstation 12: \"screenwidth\" \"800\" is neither 1024 nor 1280",
            db0 + ":2: warning: index 2: the name \"Camera number two!\" is 18 bytes long",
            db0 + ":3: warning: index 3: the name \"Guest's Cam\" holds a '",
            db0 + ":4: error: index 5 is outside database 0 (1 to 4)",
        }));
    EXPECT_EQ(checkExitStatus(checkSite(dir_), false), 1);
}

TEST_F(SiteCheck, EffectsSayWhatThePlugInDoes) {
    edit(obj, "12,W10,13,XP", "12,W10,l3,XP");
    EXPECT_EQ(effectOf("is not a workstation number"),
              "WS_02 is not configured: Confirm never sends it anything");
    edit(ws, "value=\"1280\"", "value=\"wide\"");
    // "wide" reads as 0, which the plug-ins take for a missing setting.
    EXPECT_EQ(effectOf("screenwidth"),
              "the plug-ins use the 1024 layouts and write \"No screenwidth parameter\" to the "
              "debug output");
}

// A size the editors list from, and sizes they never read: check-site says
// what the editor shows and what the host keeps, never that the plug-in
// refuses a write.
TEST_F(SiteCheck, SizeEffectsSayWhatTheEditorListsAndTheHostKeeps) {
    edit(dev, "DatabaseSize_0=4\n", "");
    edit(dev, "DatabaseSize_2=4\n", "");
    edit(dev, "DatabaseSize_3=4", "DatabaseSize_3=2");
    EXPECT_EQ(effectOf("DatabaseSize_0 is missing"),
              "the editor reads the size as 0 and lists nothing of the database, and the host "
              "stores no name in it");
    EXPECT_EQ(effectOf("DatabaseSize_2 is missing"),
              "the editor does not read the size and writes there all the same, but the host "
              "stores no name in it");
    EXPECT_EQ(effectOf("DatabaseSize_3 is 2, smaller"),
              "the names editor writes the short name of every entry it lists at the entry's "
              "index, but the host stores none above 2: those of entries 3 to 4 are never saved");
}

TEST_F(SiteCheck, PackageAreasNeedThePageDatabases) {
    edit(obj, "0,0,101,0,0", "110,0,101,0,0");
    edit(obj, "value=\"2\"", "value=\"4\"");
    write("config/system/dev_110.ini",
          "[Database]\nDatabaseSize_0=9\nDatabaseSize_1=9\n"
          "DatabaseSize_4=12\nDatabaseSize_5=12\nDatabaseSize_8=200\n");
    const std::vector<std::string> found = findings();
    const std::vector<std::string> expected = {
        dev +
            ":0: error: DatabaseSize_4 is missing, but area rtr_area_0 (package contents, "
            "router 1) reads database 4",
        dev +
            ":0: error: DatabaseSize_5 is missing, but area rtr_area_0 (package contents, "
            "router 1) reads database 5",
        dev +
            ":0: error: DatabaseSize_8 is missing, but area rtr_area_0 (package contents, "
            "router 1) reads database 8",
        "config/system/dev_110.ini:6: error: DatabaseSize_8 is 200, but area rtr_area_0 (package "
        "names) uses indices up to 251",
        obj + ":8: error: area rtr_area_0: \"package_levels\" \"4\" is neither 2 nor 3",
    };
    EXPECT_EQ(found, expected);
}

TEST_F(SiteCheck, FilesThePlugInsNeverOpen) {
    write("config/system/dev_5.ini", router);
    write("config/system/dev_0101.ini", router);
    write("names/dev_7/db_0.txt", names);
    write("names/dev_102/db_0.txt", names);
    EXPECT_EQ(findings(),
              (std::vector<std::string>{
                  "config/system/dev_0101.ini:0: warning: dev_0101.ini is not a device "
                  "file name",
                  "config/system/dev_5.ini:0: warning: dev_5.ini is not a device file name",
                  "names/dev_102/db_0.txt:0: error: names of device 102, which has no "
                  "device file",
                  "names/dev_7:0: warning: dev_7 is not a device's names folder",
              }));
}

TEST_F(SiteCheck, OtherSettingsFilesAreReadByTheSameRules) {
    write("config/system/panel_settings.xml", "<p>\n<g id=\"a\"/>\n<g id=\"a\"/>\n</p>\n");
    write("config/system/broken.xml", "<p>\n<g id=\"a\">\n</p>\n");
    EXPECT_EQ(
        findings(),
        (std::vector<std::string>{
            "config/system/broken.xml:3: error: the XML does not parse (Start-end tags "
            "mismatch)",
            "config/system/panel_settings.xml:3: warning: group \"a\" again (first at line 2)",
        }));
}

TEST_F(SiteCheck, NamesOfADatabaseWithoutSizeAreOneFinding) {
    write("names/dev_101/db_5.txt", "1 Group 1\n2 Group 2\n3 Group 3\n");
    EXPECT_EQ(findings(), std::vector<std::string>{"names/dev_101/db_5.txt:0: error: database 5 of "
                                                   "device 101 has no size (DatabaseSize_5 in "
                                                   "dev_101.ini)"});
}

TEST_F(SiteCheck, ABrokenNameFileNamesItsLine) {
    write(db0, "1 Cam 1\nCam 2\n");
    EXPECT_EQ(findings(), std::vector<std::string>{db0 + ":2: error: a line does not start with "
                                                         "its index (\"<index> <name>\")"});
}

TEST_F(SiteCheck, ExitStatusAndJson) {
    EXPECT_EQ(checkExitStatus(checkSite(dir_ + "/nowhere"), false), 2);
    edit(ws, "value=\"1280\"", "value=\"800\"");
    const site_check_result result = checkSite(dir_);
    EXPECT_EQ(checkExitStatus(result, false), 0);  // warnings only
    EXPECT_EQ(checkExitStatus(result, true), 1);
    std::ostringstream out;
    printFindingsJson(result, out);
    const nlohmann::json json = nlohmann::json::parse(out.str());
    EXPECT_EQ(json["errors"], 0);
    EXPECT_EQ(json["warnings"], 1);
    ASSERT_EQ(json["findings"].size(), 1u);
    EXPECT_EQ(json["findings"][0]["file"], ws);
    EXPECT_EQ(json["findings"][0]["line"], 4);
    EXPECT_EQ(json["findings"][0]["severity"], "warning");
}
