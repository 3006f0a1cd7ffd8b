// The site variants a validation runs on, written from the demo site and the
// plug-ins' own layouts: every variant in run order, the sizes the unsized
// variant leaves, and the layouts of the site's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "kovo_script_test.h"
#include "layout_file.h"
#include "validator_sites.h"

namespace fs = std::filesystem;

namespace {

const std::string sourceRoot = KOVO_HOST_TEST_DIR "/../..";

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class SiteVariants : public ::testing::Test {
  protected:
    SiteVariants() {
        std::string error;
        EXPECT_TRUE(kovo_host::writeSiteVariants(sourceRoot + "/sites/demo", sourceRoot,
                                                 out_.path(), variants_, error))
            << error;
    }
    fs::path variant(const std::string& name) const {
        for (const kovo_host::site_variant& v : variants_) {
            if (v.name == name) {
                return v.dir;
            }
        }
        ADD_FAILURE() << "no variant " << name;
        return {};
    }
    // The control ids of a layout file.
    static std::vector<std::string> controls(const fs::path& file) {
        kovo_host::layout_file layout;
        std::string error;
        EXPECT_EQ(kovo_host::readLayout(file.string(), layout, error), kovo_host::layout_status::ok)
            << error;
        std::vector<std::string> ids;
        for (const auto& control : layout.controls) {
            ids.push_back(control.id);
        }
        return ids;
    }

    kovo_host_testing::temp_directory out_;
    std::vector<kovo_host::site_variant> variants_;
};

bool has(const std::vector<std::string>& ids, const std::string& id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

TEST_F(SiteVariants, EveryVariantInRunOrder) {
    const std::vector<std::string> names = kovo_host::siteVariantNames();
    ASSERT_EQ(names.size(), 11u);
    EXPECT_EQ(names.front(), "base");
    EXPECT_EQ(names[9], "unsized-stores");
    EXPECT_EQ(names[10], "site-layouts");
    ASSERT_EQ(variants_.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(variants_[i].name, names[i]);
    }
}

TEST_F(SiteVariants, UnsizedStoresKeepOnlyTheRoutersLongNames) {
    const fs::path system = variant("unsized-stores") / "config" / "system";
    // A router of the names editor: its long names only.
    const std::string router = readFile(system / "dev_101.ini");
    EXPECT_NE(router.find("DatabaseSize_0=64"), std::string::npos) << router;
    EXPECT_NE(router.find("DatabaseSize_1=64"), std::string::npos) << router;
    for (const char* gone : {"DatabaseSize_2", "DatabaseSize_3", "DatabaseSize_4", "DatabaseSize_5",
                             "DatabaseSize_8"}) {
        EXPECT_EQ(router.find(gone), std::string::npos) << gone << "\n" << router;
    }
    // The package names and contents devices of Studio C: no size at all.
    for (const char* device : {"dev_110.ini", "dev_111.ini"}) {
        const std::string file = readFile(system / device);
        EXPECT_NE(file.find("[Device]"), std::string::npos) << file;
        EXPECT_EQ(file.find("DatabaseSize_"), std::string::npos) << device << "\n" << file;
    }
}

TEST_F(SiteVariants, SiteLayoutsOfTheSitesOwn) {
    const fs::path site = variant("site-layouts");
    const std::vector<std::string> tavisk = controls(site / "layouts/Tavisk/1280.kovo_ui");
    EXPECT_TRUE(has(tavisk, "WS_1"));
    EXPECT_TRUE(has(tavisk, "WS_9"));
    EXPECT_TRUE(has(tavisk, "WS_10"));
    EXPECT_FALSE(has(tavisk, "WS_01"));
    const std::vector<std::string> home = controls(site / "layouts/Lindqar/HomePage1024.kovo_ui");
    EXPECT_TRUE(has(home, "XPT_map_5"));
    EXPECT_TRUE(has(home, "XPT_map_40"));
    EXPECT_TRUE(has(home, "XPT_map_41"));
    // The other panels come along unchanged.
    EXPECT_EQ(controls(site / "layouts/Corvane/HomePanel1280.kovo_ui"),
              controls(sourceRoot + "/panels/System/Corvane/HomePanel1280.kovo_ui"));
    EXPECT_EQ(kovo_host::siteLayoutFolder(site.string(), "Tavisk"),
              (fs::absolute(site) / "layouts" / "Tavisk").generic_string());
    EXPECT_EQ(kovo_host::siteLayoutFolder(site.string(), ""), "");
    EXPECT_EQ(kovo_host::siteLayoutFolder(variant("base").string(), "Tavisk"), "");
}
