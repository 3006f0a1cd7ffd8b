// The test panel built as a real plug-in: loaded through the platform layer,
// driven through hostCallback and destroyed; and the three deliverables found
// loadable with their export. What the files themselves hold (the one export,
// the identification text, the libraries they need) is checked on the binary:
// test_plugin_binary_elf.cpp, and the objdump check of the Windows build.
#include <string>

#include "kovo_os_host.h"
#include "panel_fixture.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace {
const char* const pluginPath = KOVO_TEST_PANEL_PATH;

struct Deliverable {
    const char* name;
    const char* path;  // empty when it is not built
};
const Deliverable deliverables[] = {
    {"Tavisk", KOVO_TAVISK_PATH}, {"Corvane", KOVO_CORVANE_PATH}, {"Lindqar", KOVO_LINDQAR_PATH}};

class Plugin {
  public:
    Plugin() { opened_ = library_.open(pluginPath, error_); }
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    bool opened() const { return opened_; }
    const std::string& error() const { return error_; }
    kovo_load_function load() const {
        return reinterpret_cast<kovo_load_function>(library_.symbol(KOVO_LOAD_FUNCTION_NAME));
    }

  private:
    kovo_os::plugin_library library_;
    std::string error_;
    bool opened_ = false;
};
}  // namespace

TEST(Plugin, EachDeliverableLoadsAndHasTheExportUnderItsPlainName) {
    for (const Deliverable& plugin : deliverables) {
        SCOPED_TRACE(plugin.name);
        ASSERT_STRNE(plugin.path, "") << "not built";
        // Every library it needs is found and every symbol resolves.
        kovo_os::plugin_library library;
        std::string error;
        ASSERT_TRUE(library.open(plugin.path, error)) << error;
        EXPECT_NE(library.symbol(KOVO_LOAD_FUNCTION_NAME), nullptr);
    }
}

TEST(Plugin, LoadsRunsAndIsDestroyedThroughItsHostInterface) {
    Plugin plugin;
    ASSERT_TRUE(plugin.opened()) << plugin.error();
    const kovo_load_function load = plugin.load();
    ASSERT_NE(load, nullptr);

    RecordingHostLink link;
    link.status("PI", true);
    kovo_client_callback* script = load(&link, "panels/System/Test");
    ASSERT_NE(script, nullptr);

    kovo_key_value text("button=released");
    kovo_control_record control{nullptr, nullptr, "2", "Save", &text};
    EXPECT_EQ(script->hostCallback(&control, KOVO_EVENT_CONTROL), nullptr);

    char* events = script->hostCallback(const_cast<char*>("_events"), KOVO_EVENT_PARENT_QUERY);
    ASSERT_NE(events, nullptr);
    EXPECT_STREQ(events, "notify=*");
    char* instance = script->hostCallback(const_cast<char*>("instance"), KOVO_EVENT_PARENT_QUERY);
    ASSERT_NE(instance, nullptr);
    EXPECT_STREQ(instance, "panels/System/Test");
    EXPECT_EQ(script->hostCallback(events, KOVO_EVENT_RELEASE), nullptr);
    EXPECT_EQ(script->hostCallback(instance, KOVO_EVENT_RELEASE), nullptr);
    EXPECT_EQ(script->hostCallback(const_cast<char*>("other"), KOVO_EVENT_PARENT_QUERY), nullptr);

    EXPECT_EQ(script->hostCallback(reinterpret_cast<void*>(std::uintptr_t{7}), KOVO_EVENT_TIMER),
              nullptr);
    kovo_database_record database{5, 0, 12, 0, "Cam 1"};
    int hostRecord = 0;
    const std::string written = debugOutputOf([&] {
        EXPECT_EQ(script->hostCallback(&database, KOVO_EVENT_DATABASE), nullptr);
        EXPECT_EQ(script->hostCallback(&hostRecord, KOVO_EVENT_REVERTIVE), nullptr);
    });
    EXPECT_EQ(written, "RM 5 0 12 'Cam 1' 0\nrevertive\n");
    EXPECT_EQ(script->hostCallback(&hostRecord, KOVO_EVENT_HOST_NOTICE), nullptr);
    EXPECT_EQ(script->hostCallback(&hostRecord, 9), nullptr);

    delete script;
    EXPECT_THAT(link.commands(), ElementsAre("PI '1' 'panels/System/Test/1280.kovo_ui'",
                                             "TP 'button=released' '2' 'Save'", "ET 7",
                                             "RM 5 0 12 'Cam 1' 0", "ET 1", "AS"));
    EXPECT_THAT(link.problems(), IsEmpty());
}

TEST(Plugin, AlarmButtonsAreHandledInsideThePlugin) {
    Plugin plugin;
    ASSERT_TRUE(plugin.opened()) << plugin.error();
    RecordingHostLink link;
    link.reply("XI '1' 'alm_'", "alm_1");
    link.reply("TG '1' 'alm_1' 'value'", "value=1");
    kovo_client_callback* script = plugin.load()(&link, "alarms");
    ASSERT_NE(script, nullptr);
    kovo_key_value text("button=released");
    kovo_control_record ackAll{nullptr, nullptr, "1", "AckAll", &text};
    script->hostCallback(&ackAll, KOVO_EVENT_CONTROL);
    delete script;
    EXPECT_THAT(link.commands(), ElementsAre("PI '1' 'alarms/1280.kovo_ui'", "XI '1' 'alm_'",
                                             "TP 'alarm=4' '1' 'alm_1'", "TG '1' 'alm_1' 'value'",
                                             "TP 'value=4' '1' 'alm_1'", "ET 1", "AS"));
    EXPECT_THAT(link.problems(), IsEmpty());
}
