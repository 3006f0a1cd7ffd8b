// The plug-in invariants, checked command by command on the demo site, and the
// session line that turns them on.
#include <gtest/gtest.h>

#include "kovo_script_test.h"
#include "plugin_invariants.h"
#include "test_site.h"

using kovo_host::observed_command;
using kovo_host::plugin_invariants;
using kovo_host_testing::kovo_script_test;

namespace {

class Invariants : public kovo_script_test {
  protected:
    Invariants() : sim_(options()) {
        std::string error;
        EXPECT_TRUE(sim_.useSite(options().siteDir, error)) << error;
    }

    // The rules the command breaks, sent by the plug-in on workstation 12.
    std::vector<std::string> broken(const std::string& plugin, const std::string& text,
                                    bool byOperator = true, int workstation = 12) {
        const std::string script = "p";
        const std::string path = "/build/lib/" + plugin + ".so";
        std::vector<std::string> breaches;
        checks_.check(observed_command{script, path, workstation, text, byOperator}, breaches);
        return breaches;
    }
    // The one rule broken, "" for none; a second breach fails the test.
    std::string rule(const std::string& plugin, const std::string& text, bool byOperator = true,
                     int workstation = 12) {
        const std::vector<std::string> breaches = broken(plugin, text, byOperator, workstation);
        EXPECT_LE(breaches.size(), 1u) << breaches[0] << " / " << breaches[1];
        return breaches.empty() ? "" : breaches[0];
    }

    kovo_host::simulator sim_;
    plugin_invariants checks_{sim_};
};

bool startsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

const std::string map30 =
    "000,017,000,000,000,000,000,000,000,000,000,000,000,000,000,"
    "000,000,000,000,000,000,000,000,000,000,000,000,000,000,259";
const std::string enables = "001,000,003,000,000,000,000,000,000,000,000,012";

}  // namespace

TEST(StoredTexts, MapAndEnablesTexts) {
    EXPECT_TRUE(kovo_host::isMapText(map30));
    EXPECT_FALSE(kovo_host::isMapText(map30.substr(4)));               // 29 fields
    EXPECT_FALSE(kovo_host::isMapText(map30 + ","));                   // a comma at the end
    EXPECT_FALSE(kovo_host::isMapText("17," + map30.substr(4)));       // not three digits
    EXPECT_TRUE(kovo_host::isMapText("1500," + map30.substr(4)));      // a large router
    EXPECT_FALSE(kovo_host::isMapText("-17," + map30.substr(4)));      // not a number
    EXPECT_FALSE(kovo_host::isMapText(map30.substr(0, 118) + "x59"));  // not a number
    EXPECT_TRUE(kovo_host::isEnablesText(enables));
    EXPECT_FALSE(kovo_host::isEnablesText("002" + enables.substr(3)));  // group 2 at field 1
    EXPECT_FALSE(kovo_host::isEnablesText(enables.substr(4)));          // 11 fields
}

TEST_F(Invariants, QuotingOfEveryText) {
    EXPECT_EQ(rule("Tavisk", "TP 'statesheet=alarm_ignore' '1' 'WS_01'"), "");
    EXPECT_TRUE(startsWith(rule("Tavisk", "TP x '1' 'WS_01'"), "invariant quoting: the text "))
        << rule("Tavisk", "TP x '1' 'WS_01'");
    EXPECT_TRUE(startsWith(rule("Tavisk", "TP 'a'  '1' 'WS_01'"), "invariant quoting"));
    EXPECT_EQ(rule("Tavisk", "TP 'a\x01z' '1' 'WS_01'"),
              "invariant quoting: word 1 holds a control character");
    EXPECT_EQ(rule("Tavisk", "TP 'a' '1' 'WS\x7f'"),
              "invariant quoting: word 3 holds a control character");
    // Malformed texts are the simulator's own breach; nothing is added.
    EXPECT_EQ(rule("Tavisk", "TP 'a'b' '1' 'WS_01'"), "");
}

TEST_F(Invariants, WritesOnlyOnAnOperatorActionNeverToDeviceZero) {
    EXPECT_EQ(rule("Corvane", "RM 101 0 1 'Cam 1' 0"), "");
    EXPECT_TRUE(startsWith(rule("Corvane", "RM 101 0 1 'Cam 1' 0", false),
                           "invariant operator-action: RM sent while not handling"));
    EXPECT_TRUE(
        startsWith(rule("Tavisk", "IW 998 'PX x' 13 1", false), "invariant operator-action: IW"));
    EXPECT_EQ(rule("Lindqar", "RM 0 8 201 '" + enables + "' 0"),
              "invariant device-zero: RM to device 0 (a device no setting or lookup resolved)");
    EXPECT_EQ(rule("Corvane", "RM 0 0 1 'Pkg' 0"),
              "invariant device-zero: RM to device 0 (a device no setting or lookup resolved)");
    // No plug-in's write is bound by a database's size but the names list's:
    // package names (device 110 holds 90) and the map store go where they go.
    EXPECT_EQ(rule("Corvane", "RM 110 0 500 'Pkg 500' 0"), "");
    EXPECT_EQ(rule("Corvane", "RM 111 1 500 '1,2,3' 0"), "");
    EXPECT_EQ(rule("Lindqar", "RM 103 8 251 '" + enables + "' 0"), "");
    // Other commands may go out at any time.
    EXPECT_EQ(rule("Corvane", "RN 101 0 1", false), "");
}

TEST_F(Invariants, CorvaneRouterNamesOnlyAtEntriesOfTheNamesList) {
    // Router 101 lists 64 sources and 64 destinations.
    EXPECT_EQ(rule("Corvane", "RM 101 0 64 'Cam' 0"), "");
    EXPECT_EQ(rule("Corvane", "RM 101 0 65 'Cam' 0"),
              "invariant names-list: index 65 is no entry of the names list of device 101 "
              "(database 0: 64 entries)");
    EXPECT_TRUE(startsWith(rule("Corvane", "RM 101 1 0 'Cam' 0"), "invariant names-list"));
    // A short name goes to its entry's index: bound by the long names' list.
    EXPECT_EQ(rule("Corvane", "RM 101 3 64 'Cam' 0"), "");
    EXPECT_EQ(rule("Corvane", "RM 101 3 65 'Cam' 0"),
              "invariant names-list: index 65 is no entry of the names list of device 101 "
              "(database 1: 64 entries)");
}

TEST_F(Invariants, LindqarStorageLayout) {
    EXPECT_EQ(rule("Lindqar", "RM 101 8 12 '" + map30 + "' 1"), "");
    EXPECT_EQ(rule("Lindqar", "RM 101 8 101 '" + map30 + "' 1"), "");
    EXPECT_EQ(rule("Lindqar", "RM 101 8 251 '" + enables + "' 0"), "");
    EXPECT_EQ(rule("Lindqar", "RM 101 4 12 'Group 12' 0"), "");
    EXPECT_EQ(rule("Lindqar", "RM 101 8 13 '" + map30 + "' 1"),
              "invariant lindqar-layout: database 8 is written only at 1-12, 101-112, 201 and "
              "251, not at 13");
    EXPECT_EQ(rule("Lindqar", "RM 101 8 200 '" + enables + "' 0"),
              "invariant lindqar-layout: database 8 is written only at 1-12, 101-112, 201 and "
              "251, not at 200");
    EXPECT_TRUE(startsWith(rule("Lindqar", "RM 101 8 3 '" + enables + "' 1"),
                           "invariant lindqar-map-text: a group map"));
    EXPECT_TRUE(startsWith(rule("Lindqar", "RM 101 8 201 '" + map30 + "' 0"),
                           "invariant lindqar-map-text: the enables"));
    EXPECT_TRUE(startsWith(rule("Lindqar", "RM 101 0 1 'x' 0"), "invariant lindqar-layout"));
    // The same write by another plug-in is no breach of Lindqar's layout.
    EXPECT_EQ(rule("Corvane", "RM 101 8 13 '" + map30 + "' 0"), "");
}

TEST_F(Invariants, TaviskOnlyItsAreasWorkstations) {
    // Workstation 12 is in area STC, whose list is 12, 13, 14, 15, 16.
    EXPECT_EQ(rule("Tavisk", "IW 998 'PX c:\\windows\\system32\\shutdown.exe /s /t 2' 16 1"), "");
    EXPECT_EQ(rule("Tavisk", "IW 998 'PX x' 20 1"),
              "invariant tavisk-workstations: workstation 20 is not configured for the area of "
              "workstation 12");
    // Workstation 20 has no area: nothing may be sent from it.
    EXPECT_TRUE(startsWith(rule("Tavisk", "IW 998 'PX x' 12 1", true, 20),
                           "invariant tavisk-workstations"));
}

TEST_F(Invariants, CorvaneNameRules) {
    EXPECT_EQ(rule("Corvane", "RM 101 0 1 '0123456789abcdef' 0"), "");
    EXPECT_EQ(rule("Corvane", "RM 101 1 1 '0123456789abcdefg' 0"),
              "invariant corvane-name-length: 17 bytes in a long name (at most 16)");
    EXPECT_EQ(rule("Corvane", "RM 101 3 1 '123456789' 0"),
              "invariant corvane-name-length: 9 bytes in a short name (at most 8)");
    // Device 110 holds package names: no length limit there.
    EXPECT_EQ(rule("Corvane", "RM 110 0 1 'A package name of any length' 0"), "");
    const std::vector<std::string> both = broken("Corvane", "RM 110 0 1 'tab\there' 0");
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[1], "invariant corvane-name-rule: a name holds a quote or a control character");
}

// A site whose settings leave routers and workstations that no panel can reach.
class InvariantsOnASite : public kovo_script_test {
  protected:
    InvariantsOnASite() {
        // Area 0 labels router 1 (201) and router 3 (203) but not router 2
        // (202); area 1 has no name, so area 2 (router 204) is never offered.
        files_.write("config/system/object_settings.xml",
                     "<object_settings>\n"
                     "  <object id=\"rtr_area_0\">\n"
                     "    <setting id=\"areaname\" value=\"A\"/>\n"
                     "    <setting id=\"driver_ids\" value=\"0,0,201,202,203\"/>\n"
                     "    <setting id=\"driver_type\" value=\",,R1,,R3\"/>\n"
                     "  </object>\n"
                     "  <object id=\"rtr_area_2\">\n"
                     "    <setting id=\"areaname\" value=\"C\"/>\n"
                     "    <setting id=\"driver_ids\" value=\"0,0,204\"/>\n"
                     "    <setting id=\"driver_type\" value=\",,R4\"/>\n"
                     "  </object>\n"
                     "  <object id=\"ws_shutdown\">\n"
                     "    <setting id=\"sta\" value=\"" +
                         shutdownList() +
                         "\"/>\n"
                         "  </object>\n"
                         "</object_settings>\n");
        files_.write(
            "config/system/workstations.xml",
            "<workstations>\n"
            "  <workstation id=\"30\"><setting id=\"myarea\" value=\"sTa 2\"/></workstation>\n"
            "  <workstation id=\"31\"><setting id=\"myarea\" value=\"st\"/></workstation>\n"
            "</workstations>\n");
        for (const char* device : {"201", "202", "203", "204"}) {
            files_.write(std::string("config/system/dev_") + device + ".ini",
                         "[Device]\nName=R" + std::string(device) +
                             "\n\n[Database]\nDatabaseSize_0=4\nDatabaseSize_1=4\n"
                             "DatabaseSize_2=4\nDatabaseSize_3=4\n");
        }
        std::string error;
        EXPECT_TRUE(sim_.useSite(files_.dir(), error)) << error;
    }

    // Eleven pairs, 40 to 50: the eleventh has no button; "41x" and "0" are no
    // workstation numbers.
    static std::string shutdownList() {
        std::string list = "40,W10,41x,XP,0,XP";
        for (int ws = 43; ws <= 49; ++ws) {
            list += "," + std::to_string(ws) + ",W7";
        }
        return list + ",50,W7";
    }

    std::vector<std::string> broken(const std::string& plugin, const std::string& text,
                                    int workstation = 30) {
        std::vector<std::string> breaches;
        checks_.check(
            observed_command{"p", "/build/lib/" + plugin + ".so", workstation, text, true},
            breaches);
        return breaches;
    }

    test_site files_;
    kovo_host::simulator sim_{options()};
    plugin_invariants checks_{sim_};
};

TEST_F(InvariantsOnASite, CorvaneNameLimitsBindOnlyTheRoutersTheHomePanelOffers) {
    const std::string longName = "'0123456789abcdefg'";
    EXPECT_EQ(broken("Corvane", "RM 201 0 1 " + longName + " 0"),
              std::vector<std::string>{
                  "invariant corvane-name-length: 17 bytes in a long name (at most 16)"});
    EXPECT_EQ(broken("Corvane", "RM 203 2 5 '12345678' 0"),
              std::vector<std::string>{"invariant names-list: index 5 is no entry of the names "
                                       "list of device 203 (database 0: 4 entries)"});
    // Router 2 has no label, so its button is never enabled; area 2 comes after
    // the gap. Neither router's names are written by the names editor.
    EXPECT_TRUE(broken("Corvane", "RM 202 0 9 " + longName + " 0").empty());
    EXPECT_TRUE(broken("Corvane", "RM 204 3 9 " + longName + " 0").empty());
}

TEST_F(InvariantsOnASite, TaviskOnlyTheWorkstationsItsButtonsHold) {
    const auto sendTo = [&](int target, int from) {
        return broken("Tavisk", "IW 998 'PX x' " + std::to_string(target) + " 1", from);
    };
    // "sTa 2" is in gallery sta whatever its case.
    EXPECT_TRUE(sendTo(40, 30).empty());
    EXPECT_TRUE(sendTo(49, 30).empty());
    // The eleventh workstation has no button; "41x" is not read as 41.
    EXPECT_EQ(sendTo(50, 30),
              std::vector<std::string>{"invariant tavisk-workstations: workstation 50 is not "
                                       "configured for the area of workstation 30"});
    EXPECT_EQ(sendTo(41, 30).size(), 1u);
    EXPECT_EQ(sendTo(0, 30).size(), 1u);
    // "st" names no gallery: its panel stays blank and sends nothing.
    EXPECT_EQ(sendTo(40, 31).size(), 1u);
}

TEST_F(Invariants, SessionLineTurnsThemOnAndOff) {
    const std::string load = "load p kovo_host_probe instance=tests/host/layouts\n";
    // Panel 2 is not shown: the probe relays the write all the same.
    const std::string write = "event p 2 Relay send=RM 101 0 1 'x' 0\n";
    EXPECT_EQ(runText(load + write).status, 0);
    const auto outcome = runText(load + "invariants on\n" + write);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.failure.find("inline.kovo:3: protocol breach by p: RM 101 0 1 'x' 0: "
                                   "invariant operator-action"),
              std::string::npos)
        << outcome.failure;
    // From a control the operator can reach, the same write is an operator's.
    EXPECT_EQ(runText(load + "invariants on\nevent p 1 Relay send=RM 101 0 1 'x' 0\n").status, 0);
    EXPECT_EQ(runText(load + "invariants on\ninvariants off\n" + write).status, 0);
}
