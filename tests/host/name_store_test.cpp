#include <gtest/gtest.h>

#include "name_store.h"
#include "site_directory.h"
#include "test_site.h"

using namespace kovo_host;

namespace {
// The site of files, and a store on it seeded from its name files.
bool openOnSite(const test_site& files, site_directory& site, name_store& store,
                std::string& error) {
    return site.open(files.dir(), error) && store.open(files.store(), site, error);
}
}  // namespace

TEST(SiteDirectory, DevicesSizesAndNames) {
    test_site files;
    site_directory site;
    std::string error;
    ASSERT_TRUE(site.open(files.dir(), error)) << error;
    ASSERT_NE(site.device(7), nullptr);
    EXPECT_EQ(site.device(7)->name, "Test Router");
    EXPECT_EQ(site.device(7)->offset, 3);
    EXPECT_EQ(site.databaseSize(7, 0), 4);
    EXPECT_EQ(site.databaseSize(7, 5), 0);
    EXPECT_EQ(site.deviceNamed("Test Router"), site.device(7));
    EXPECT_EQ(site.deviceNamed("test router"), nullptr);
    EXPECT_EQ(site.rxSystem(), "site");
}

TEST(SiteDirectory, OnlyTheFileNamesThePlugInsOpenCount) {
    test_site files;
    // The plug-ins open dev_%03d.ini: these two they would never read.
    files.write("config/system/dev_5.ini", "[Device]\nName=Five\n");
    files.write("config/system/dev_0007.ini", "[Device]\nName=Not Seven\n");
    files.write("config/system/dev_1234.ini", "[Device]\nName=Big\n");
    files.write("names/dev_07/db_1.txt", "1 Hidden\n");
    files.write("names/dev_007/db_01.txt", "1 Hidden\n");
    site_directory site;
    std::string error;
    ASSERT_TRUE(site.open(files.dir(), error)) << error;
    EXPECT_EQ(site.device(5), nullptr);
    ASSERT_NE(site.device(7), nullptr);
    EXPECT_EQ(site.device(7)->name, "Test Router");
    ASSERT_NE(site.device(1234), nullptr);
    EXPECT_EQ(site.nameFiles().size(), 1u);
}

TEST(SiteDirectory, NotASite) {
    test_site files;
    site_directory site;
    std::string error;
    EXPECT_FALSE(site.open(files.dir() + "/names", error));
    EXPECT_NE(error.find("has no config/system folder"), std::string::npos) << error;
    EXPECT_FALSE(site.open(files.dir() + "/missing", error));
    EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
}

TEST(NameStore, SeededOnceThenWritesPersist) {
    test_site files;
    site_directory site;
    std::string error;
    ASSERT_TRUE(site.open(files.dir(), error));
    {
        name_store store;
        ASSERT_TRUE(store.open(files.store(), site, error)) << error;
        EXPECT_EQ(store.get(7, 0, 1).value_or("?"), "Camera 1");
        EXPECT_EQ(store.get(7, 0, 4).value_or("?"), "");  // an empty name is a name
        EXPECT_FALSE(store.get(7, 0, 3).has_value());
        ASSERT_TRUE(store.put(7, 0, 2, "VT 'One'", error)) << error;
    }
    // A changed name file does not overwrite what the store holds.
    files.write("names/dev_007/db_0.txt", "1 Other\n");
    name_store again;
    ASSERT_TRUE(again.open(files.store(), site, error)) << error;
    EXPECT_EQ(again.get(7, 0, 1).value_or("?"), "Camera 1");
    EXPECT_EQ(again.get(7, 0, 2).value_or("?"), "VT 'One'");
}

TEST(NameStore, BadNameFileIsAClearError) {
    test_site files;
    files.write("names/dev_007/db_1.txt", "1 Monitor\nMonitor 2\n");
    site_directory site;
    std::string error;
    ASSERT_TRUE(site.open(files.dir(), error));
    name_store store;
    EXPECT_FALSE(store.open(files.store(), site, error));
    EXPECT_NE(error.find("db_1.txt:2:"), std::string::npos) << error;
}

TEST(NameStore, AStoreBelongsToOneSite) {
    test_site first, second;
    site_directory a, b;
    std::string error;
    ASSERT_TRUE(a.open(first.dir(), error));
    ASSERT_TRUE(b.open(second.dir(), error));
    name_store store;
    ASSERT_TRUE(store.open(first.store(), a, error)) << error;
    store.close();
    EXPECT_FALSE(store.open(first.store(), b, error));
    EXPECT_NE(error.find("belongs to the site"), std::string::npos) << error;
    EXPECT_NE(defaultStorePath("/state", a), defaultStorePath("/state", b));
}

TEST(NameStore, AWriteInsideAReadScopeIsCommittedAtOnceAndSeenByEveryone) {
    test_site files;
    site_directory site;
    name_store store;
    std::string error;
    ASSERT_TRUE(openOnSite(files, site, store, error)) << error;

    store.beginReads();
    store.beginReads();  // nested: the outer scope holds the transaction
    EXPECT_EQ(store.get(7, 0, 1).value_or("?"), "Camera 1");
    ASSERT_TRUE(store.put(7, 0, 1, "Wide", error)) << error;
    // Committed before put returned: a second connection (another host) sees
    // it while this scope is still open, and this scope reads it back too.
    name_store other;
    ASSERT_TRUE(other.open(files.store(), site, error)) << error;
    EXPECT_EQ(other.get(7, 0, 1).value_or("?"), "Wide");
    EXPECT_EQ(store.get(7, 0, 1).value_or("?"), "Wide");
    store.endReads();
    // Once the outer scope ends the reads hold nothing: another connection
    // writes, and this one reads what it wrote.
    store.endReads();
    ASSERT_TRUE(other.put(7, 0, 2, "Tight", error)) << error;
    EXPECT_EQ(store.get(7, 0, 2).value_or("?"), "Tight");
    // Reads outside any scope, and an unbalanced end, change nothing.
    store.endReads();
    EXPECT_EQ(store.get(7, 0, 4).value_or("?"), "");
    EXPECT_FALSE(store.get(7, 0, 3).has_value());
}

// Inside a read scope a database asked for again is read whole: what it then
// answers must be what single lookups would, and a write, by this store or by
// another connection between two scopes, must show in the next read.
TEST(NameStore, ADatabaseReadWholeAnswersAsSingleLookupsAcrossWrites) {
    test_site files;
    files.write("names/dev_007/db_1.txt", "2 Monitor 2\n");
    site_directory site;
    name_store store;
    std::string error;
    ASSERT_TRUE(openOnSite(files, site, store, error)) << error;

    // Single lookups until the database has been asked for often enough.
    const auto askOften = [&store](int device, int database) {
        for (int i = 1; i < name_store::wholeReadAfter; ++i) {
            store.get(device, database, 2);
        }
    };
    store.beginReads();
    askOften(7, 0);
    EXPECT_EQ(store.get(7, 0, 2).value_or("?"), "VT 1");      // the last single lookup
    EXPECT_EQ(store.get(7, 0, 1).value_or("?"), "Camera 1");  // the whole database
    EXPECT_EQ(store.get(7, 0, 4).value_or("?"), "");          // an empty name is a name
    EXPECT_FALSE(store.get(7, 0, 3).has_value());             // a gap
    EXPECT_FALSE(store.get(7, 0, 0).has_value());             // before the first
    EXPECT_FALSE(store.get(7, 0, 5).has_value());             // after the last
    // Another database of the device, and one with no names at all.
    askOften(7, 1);
    askOften(7, 2);
    EXPECT_FALSE(store.get(7, 1, 1).has_value());
    EXPECT_EQ(store.get(7, 1, 2).value_or("?"), "Monitor 2");
    EXPECT_FALSE(store.get(7, 2, 1).has_value());
    EXPECT_FALSE(store.get(7, 2, 2).has_value());
    // A write in the same scope: the names read whole before it are not served again.
    ASSERT_TRUE(store.put(7, 0, 3, "New 3", error)) << error;
    ASSERT_TRUE(store.put(7, 0, 1, "Wide", error)) << error;
    EXPECT_EQ(store.get(7, 0, 3).value_or("?"), "New 3");
    EXPECT_EQ(store.get(7, 0, 1).value_or("?"), "Wide");
    EXPECT_EQ(store.get(7, 0, 2).value_or("?"), "VT 1");
    store.endReads();

    // Another connection writes between two scopes: the next scope reads it.
    name_store other;
    ASSERT_TRUE(other.open(files.store(), site, error)) << error;
    ASSERT_TRUE(other.put(7, 0, 2, "Tight", error)) << error;
    store.beginReads();
    askOften(7, 0);
    EXPECT_EQ(store.get(7, 0, 1).value_or("?"), "Wide");
    EXPECT_EQ(store.get(7, 0, 2).value_or("?"), "Tight");
    store.endReads();
}
