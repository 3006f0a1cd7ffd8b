// What a plug-in file holds, on ELF systems: exactly one dynamic export and the
// framework's identification text in its loaded data.
#include <elf.h>
#include <stdio.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;

namespace {
const char* const pluginPath = KOVO_TEST_PANEL_PATH;

const char* const identificationText = KOVO_IDENTIFICATION_TEXT;

struct Deliverable {
    const char* name;
    const char* path;
};
const Deliverable deliverables[] = {
    {"Tavisk", KOVO_TAVISK_PATH}, {"Corvane", KOVO_CORVANE_PATH}, {"Lindqar", KOVO_LINDQAR_PATH}};

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

TEST(PluginBinary, ExportsOnlyTheLoadFunction) {
    EXPECT_THAT(exportedSymbols(pluginPath), ElementsAre("load_kovo_client_script"));
}

TEST(PluginBinary, CarriesTheIdentificationText) {
    const std::string file = fileContent(pluginPath);
    ASSERT_FALSE(file.empty()) << pluginPath;
    EXPECT_NE(loadedSections(file).find(identificationText), std::string::npos);
}

TEST(PluginBinary, EachDeliverableExportsOnlyTheLoadFunctionAndCarriesTheIdentification) {
    for (const Deliverable& plugin : deliverables) {
        SCOPED_TRACE(plugin.name);
        EXPECT_THAT(exportedSymbols(plugin.path), ElementsAre("load_kovo_client_script"));
        EXPECT_NE(loadedSections(fileContent(plugin.path)).find(identificationText),
                  std::string::npos);
    }
}
