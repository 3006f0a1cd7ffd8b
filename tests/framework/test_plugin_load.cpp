// The test panel built as a real plug-in: loaded with dlopen, driven through
// hostCallback, destroyed, and inspected for its one export and identification.
#include <dlfcn.h>
#include <elf.h>
#include <stdio.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "panel_fixture.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace {
const char* const pluginPath = KOVO_TEST_PANEL_PATH;

const char* const identificationText =
    "KOVO_SIG,name=kovo_script_helper,type=LIB,version=4.8.6.0,date=16/06/2017,"
    "author=kovo_panels";

struct Deliverable {
    const char* name;
    const char* path;  // empty when it is not built
};
const Deliverable deliverables[] = {
    {"Tavisk", KOVO_TAVISK_PATH}, {"Corvane", KOVO_CORVANE_PATH}, {"Lindqar", KOVO_LINDQAR_PATH}};

class Plugin {
  public:
    Plugin() : handle_(dlopen(pluginPath, RTLD_NOW | RTLD_LOCAL)) {}
    ~Plugin() {
        if (handle_ != nullptr) {
            dlclose(handle_);
        }
    }
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    void* handle() const { return handle_; }
    kovo_load_function load() const {
        return reinterpret_cast<kovo_load_function>(dlsym(handle_, KOVO_LOAD_FUNCTION_NAME));
    }

  private:
    void* handle_;
};

std::string fileContent(const char* path) {
    std::ifstream input(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
}

// The bytes of the sections that are loaded into memory, one after the other.
// Debug information holds a copy of constant data that optimisation threw away,
// so a search of the whole file would find a text that is not really kept.
std::string loadedSections(const std::string& file) {
    Elf64_Ehdr header;
    if (file.size() < sizeof header) {
        return std::string();
    }
    std::memcpy(&header, file.data(), sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr)) {
        ADD_FAILURE() << "not a 64-bit ELF file";
        return std::string();
    }
    std::string loaded;
    for (unsigned i = 0; i < header.e_shnum; ++i) {
        Elf64_Shdr section;
        const std::size_t at = header.e_shoff + i * sizeof section;
        if (at + sizeof section > file.size()) {
            break;
        }
        std::memcpy(&section, file.data() + at, sizeof section);
        if ((section.sh_flags & SHF_ALLOC) != 0 && section.sh_type != SHT_NOBITS &&
            section.sh_offset + section.sh_size <= file.size()) {
            loaded.append(file, section.sh_offset, section.sh_size);
        }
    }
    return loaded;
}

// Names of the defined dynamic symbols, as nm reports them.
std::vector<std::string> exportedSymbols(const char* path) {
    const std::string command =
        std::string("'") + KOVO_NM_PATH + "' -D --defined-only '" + path + "'";
    std::vector<std::string> names;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return names;
    }
    char line[1024];
    while (fgets(line, sizeof line, pipe) != nullptr) {
        std::istringstream fields(line);
        std::string field;
        std::string last;
        while (fields >> field) {
            last = field;
        }
        if (!last.empty()) {
            names.push_back(last);
        }
    }
    EXPECT_EQ(pclose(pipe), 0) << command;
    return names;
}
}  // namespace

TEST(Plugin, ExportsOnlyTheLoadFunction) {
    EXPECT_THAT(exportedSymbols(pluginPath), ElementsAre("load_kovo_client_script"));
}

TEST(Plugin, CarriesTheIdentificationText) {
    const std::string file = fileContent(pluginPath);
    ASSERT_FALSE(file.empty()) << pluginPath;
    EXPECT_NE(loadedSections(file).find(identificationText), std::string::npos);
}

TEST(Plugin, EachDeliverableExportsOnlyTheLoadFunctionAndCarriesTheIdentification) {
    for (const Deliverable& plugin : deliverables) {
        SCOPED_TRACE(plugin.name);
        ASSERT_STRNE(plugin.path, "") << "not built";
        EXPECT_THAT(exportedSymbols(plugin.path), ElementsAre("load_kovo_client_script"));
        EXPECT_NE(loadedSections(fileContent(plugin.path)).find(identificationText),
                  std::string::npos);
        // Every symbol it needs resolves, and the export is found by its plain name.
        void* handle = dlopen(plugin.path, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        EXPECT_NE(dlsym(handle, KOVO_LOAD_FUNCTION_NAME), nullptr);
        dlclose(handle);
    }
}

TEST(Plugin, LoadsRunsAndIsDestroyedThroughItsHostInterface) {
    Plugin plugin;
    ASSERT_NE(plugin.handle(), nullptr) << dlerror();
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
    ASSERT_NE(plugin.handle(), nullptr) << dlerror();
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
