#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "debug_output_capture.h"
#include "kovo_config.h"
#include "kovo_os.h"
#include "temp_dir.h"

namespace {

const char* const kObjects =
    "<?xml version=\"1.0\"?>\n"
    "<object_settings>\n"
    "  <!-- a comment between groups -->\n"
    "  <object id=\"rtr_area_0\">\n"
    "    <setting id=\"areaname\" value=\"Studio A\"/>\n"
    "    text between entries\n"
    "    <setting id=\"areaname\" value=\"later duplicate\"/>\n"
    "    <setting id=\"novalue\"/>\n"
    "  </object>\n"
    "  <object id=\"rtr_area_0\"><setting id=\"areaname\" value=\"second group\"/></object>\n"
    "  <object><setting id=\"x\" value=\"no id\"/></object>\n"
    "  <object id=\"empty\"/>\n"
    "  <object id=\"a.b\"><setting id=\"dotted\" value=\"yes\"/></object>\n"
    "</object_settings>\n";

// Restores an environment variable to what it was.
class saved_env {
  public:
    explicit saved_env(const char* name) : name_(name) {
        wasSet_ = kovo_os::environmentValue(name, value_);
    }
    ~saved_env() {
        if (wasSet_) {
            kovo_os::setEnvironment(name_, value_);
        } else {
            kovo_os::unsetEnvironment(name_);
        }
    }

  private:
    const char* name_;
    bool wasSet_ = false;
    std::string value_;
};

struct entry {
    std::string id;
    std::string value;
    bool operator==(const entry& other) const { return id == other.id && value == other.value; }
};

std::ostream& operator<<(std::ostream& out, const entry& e) {
    return out << e.id << '=' << e.value;
}

std::vector<entry> entriesOf(kovo_config& config) {
    std::vector<entry> out;
    for (; config.isChildValid(); config.nextChild()) {
        out.push_back({config.childAttr("id").c_str(), config.childAttr("value").c_str()});
    }
    return out;
}

std::vector<entry> entriesOf(const char* group) {
    kovo_config config(group);
    return entriesOf(config);
}

class KovoConfig : public ::testing::Test {
  protected:
    void SetUp() override {
        kovo_os::setEnvironment("RX_ROOT", site_.path().string());
        kovo_os::setEnvironment("RX_SYSTEM", "sys");
    }
    std::filesystem::path write(const std::string& file, const std::string& text) {
        return site_.write("sys/config/system/" + file, text);
    }

    saved_env root_{"RX_ROOT"};
    saved_env system_{"RX_SYSTEM"};
    temp_dir site_;
};

using Entries = std::vector<entry>;

TEST_F(KovoConfig, ReadsEntriesOfTheFirstGroupInStoredOrder) {
    write("object_settings.xml", kObjects);
    EXPECT_EQ((Entries{{"areaname", "Studio A"}, {"areaname", "later duplicate"}, {"novalue", ""}}),
              entriesOf("object_settings.rtr_area_0"));
    EXPECT_EQ((Entries{{"dotted", "yes"}}), entriesOf("object_settings.a.b"));
    EXPECT_EQ(Entries{}, entriesOf("object_settings.empty"));
    EXPECT_EQ(Entries{}, entriesOf("object_settings.unknown"));
    EXPECT_EQ(Entries{}, entriesOf("object_settings.RTR_AREA_0"));  // ids are exact
}

TEST_F(KovoConfig, EntryWithoutTheAttributeAndNoCurrentEntryGiveEmpty) {
    write("object_settings.xml", kObjects);
    kovo_config config("object_settings.rtr_area_0");
    EXPECT_STREQ("", config.childAttr("missing").c_str());
    config.nextChild();
    config.nextChild();
    ASSERT_TRUE(config.isChildValid());
    EXPECT_STREQ("novalue", config.childAttr("id").c_str());
    EXPECT_STREQ("", config.childAttr("value").c_str());
    config.nextChild();
    EXPECT_FALSE(config.isChildValid());
    config.nextChild();  // stays past the end
    EXPECT_FALSE(config.isChildValid());
    EXPECT_STREQ("", config.childAttr("id").c_str());
}

TEST_F(KovoConfig, PrefixNamesTheFile) {
    write("workstations.xml",
          "<workstations><workstation id=\"12\"><setting id=\"screenwidth\" value=\"1280\"/>"
          "</workstation></workstations>");
    write("panels.xml", "<panels><panel id=\"7\"><item id=\"k\" value=\"v\"/></panel></panels>");
    EXPECT_EQ((Entries{{"screenwidth", "1280"}}), entriesOf("workstation_settings.12"));
    EXPECT_EQ((Entries{{"k", "v"}}), entriesOf("panels.7"));
}

TEST_F(KovoConfig, GroupNamesThatNameNoGroup) {
    write("object_settings.xml", kObjects);
    write("x.xml", "<x><g id=\"\"><s id=\"a\" value=\"b\"/></g></x>");
    for (const char* name : {"", "object_settings", ".rtr_area_0", "object_settings.", "x.",
                             "../sys/config/system/object_settings.rtr_area_0"}) {
        EXPECT_EQ(Entries{}, entriesOf(name)) << name;
    }
}

TEST_F(KovoConfig, NoEntriesWithoutTheEnvironment) {
    write("object_settings.xml", kObjects);
    ASSERT_EQ(3u, entriesOf("object_settings.rtr_area_0").size());
    kovo_os::unsetEnvironment("RX_SYSTEM");
    EXPECT_EQ(Entries{}, entriesOf("object_settings.rtr_area_0"));
    kovo_os::setEnvironment("RX_SYSTEM", "sys");
    kovo_os::unsetEnvironment("RX_ROOT");
    EXPECT_EQ(Entries{}, entriesOf("object_settings.rtr_area_0"));
    kovo_os::setEnvironment("RX_ROOT", "");
    EXPECT_EQ(Entries{}, entriesOf("object_settings.rtr_area_0"));
}

TEST_F(KovoConfig, MissingFileGivesNoEntriesSilently) {
    debug_output_capture capture;
    EXPECT_EQ(Entries{}, entriesOf("object_settings.rtr_area_0"));
    EXPECT_EQ("", capture.text());
}

TEST_F(KovoConfig, MalformedFileGivesNoEntriesAndOneDebugLine) {
    const auto file = write("object_settings.xml", "<object_settings><object id=\"a\">");
    for (int open = 0; open < 2; ++open) {  // the same line again from the cached parse
        debug_output_capture capture;
        EXPECT_EQ(Entries{}, entriesOf("object_settings.a"));
        const std::string line = capture.text();
        EXPECT_NE(std::string::npos, line.find(file.string())) << line;
        EXPECT_NE(std::string::npos, line.find("at offset")) << line;
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.size() - 1, line.find('\n')) << line;
    }
    // An empty file has no root element: malformed too.
    write("object_settings.xml", "");
    debug_output_capture capture;
    EXPECT_EQ(Entries{}, entriesOf("object_settings.a"));
    EXPECT_NE(std::string::npos, capture.text().find(file.string()));
}

TEST_F(KovoConfig, ChangeOnDiskIsSeenAtTheNextLoad) {
    const auto file =
        write("object_settings.xml", "<o><object id=\"a\"><s id=\"k\" value=\"1\"/></object></o>");
    EXPECT_EQ((Entries{{"k", "1"}}), entriesOf("object_settings.a"));

    // Same size, later modification time.
    write("object_settings.xml", "<o><object id=\"a\"><s id=\"k\" value=\"2\"/></object></o>");
    std::filesystem::last_write_time(
        file, std::filesystem::last_write_time(file) + std::chrono::seconds(2));
    EXPECT_EQ((Entries{{"k", "2"}}), entriesOf("object_settings.a"));

    // Different size, modification time unchanged.
    const auto stamp = std::filesystem::last_write_time(file);
    write("object_settings.xml", "<o><object id=\"a\"><s id=\"k\" value=\"333\"/></object></o>");
    std::filesystem::last_write_time(file, stamp);
    EXPECT_EQ((Entries{{"k", "333"}}), entriesOf("object_settings.a"));

    // Broken, then removed, then back.
    write("object_settings.xml", "<o>");
    {
        debug_output_capture quiet;
        EXPECT_EQ(Entries{}, entriesOf("object_settings.a"));
    }
    std::filesystem::remove(file);
    EXPECT_EQ(Entries{}, entriesOf("object_settings.a"));
    write("object_settings.xml", "<o><object id=\"a\"><s id=\"k\" value=\"4\"/></object></o>");
    EXPECT_EQ((Entries{{"k", "4"}}), entriesOf("object_settings.a"));
}

TEST_F(KovoConfig, ObjectsAliveAtOnceAcrossAChange) {
    const auto file =
        write("object_settings.xml",
              "<o><object id=\"a\"><s id=\"k\" value=\"old\"/><s id=\"m\"/></object></o>");
    kovo_config before("object_settings.a");
    kovo_config same("object_settings.a");
    write("object_settings.xml", "<o><object id=\"a\"><s id=\"k\" value=\"newer\"/></object></o>");
    std::filesystem::last_write_time(
        file, std::filesystem::last_write_time(file) + std::chrono::seconds(2));
    kovo_config after("object_settings.a");
    // Each reads the version it opened; the old document lives on for them.
    EXPECT_EQ((Entries{{"k", "newer"}}), entriesOf(after));
    EXPECT_EQ((Entries{{"k", "old"}, {"m", ""}}), entriesOf(before));
    EXPECT_EQ((Entries{{"k", "old"}, {"m", ""}}), entriesOf(same));
}

TEST_F(KovoConfig, DemoSiteSettings) {
    const char* source = std::getenv("KOVO_SOURCE_DIR");
    if (source == nullptr) {
        GTEST_SKIP() << "KOVO_SOURCE_DIR is not set";
    }
    kovo_os::setEnvironment("RX_ROOT", source);
    kovo_os::setEnvironment("RX_SYSTEM", "sites/demo");
    EXPECT_EQ((Entries{{"screenwidth", "1280"}, {"myarea", "STC-Gallery"}}),
              entriesOf("workstation_settings.12"));
    const Entries area = entriesOf("object_settings.rtr_area_0");
    ASSERT_FALSE(area.empty());
    EXPECT_EQ((entry{"areaname", "Studio C"}), area.front());
}

}  // namespace
