// The names tools: CSV reading and writing, the checks of an import, the one
// transaction, and the database events the loaded scripts get.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "csv_text.h"
#include "names_transfer.h"
#include "simulator.h"
#include "test_site.h"
#include "transcript.h"

using namespace kovo_host;

namespace {

std::vector<std::vector<std::string>> fieldsOf(const std::vector<csv_record>& records) {
    std::vector<std::vector<std::string>> fields;
    for (const csv_record& r : records) {
        fields.push_back(r.fields);
    }
    return fields;
}

}  // namespace

TEST(Csv, ReadsQuotingEmbeddedLineEndsByteOrderMarkAndCrlf) {
    const std::string text =
        "\xEF\xBB\xBF"
        "a,b\r\n"
        "\"x, y\",\"say \"\"hi\"\"\"\r\n"
        "\r\n"
        "\"two\nlines\", kept blank \n"
        "last,\"\"";
    std::vector<csv_record> records;
    std::string error;
    ASSERT_TRUE(parseCsv(text, records, error)) << error;
    EXPECT_EQ(fieldsOf(records), (std::vector<std::vector<std::string>>{
                                     {"a", "b"},
                                     {"x, y", "say \"hi\""},
                                     {"two\nlines", " kept blank "},
                                     {"last", ""},
                                 }));
    // Each record knows its first line; the quoted line end moves the next one down.
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].line, 1);
    EXPECT_EQ(records[1].line, 2);
    EXPECT_EQ(records[2].line, 4);
    EXPECT_EQ(records[3].line, 6);
}

TEST(Csv, MalformedQuotingIsAnErrorWithItsLine) {
    std::vector<csv_record> records;
    std::string error;
    EXPECT_FALSE(parseCsv("a,b\nx,y\"z\n", records, error));
    EXPECT_EQ(error.compare(0, 7, "line 2:"), 0) << error;
    records.clear();
    EXPECT_FALSE(parseCsv("a,\"never closed\n", records, error));
}

TEST(Csv, WritesQuotesOnlyWhereNeededAndReadsBackTheSame) {
    const std::vector<std::string> fields = {"plain", "a,b", "say \"hi\"", "two\nlines", " blank",
                                             "Grüße", ""};
    const std::string line = csvRecord(fields);
    EXPECT_EQ(line, "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\" blank\",Grüße,\r\n");
    std::vector<csv_record> records;
    std::string error;
    ASSERT_TRUE(parseCsv(line, records, error)) << error;
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].fields, fields);
}

namespace {

// The test site with device 7 as router 1 of an area: its long names (database
// 0) are limited to 16 bytes, its short names (2) to 8.
class NamesImport : public kovo_host_testing::kovo_script_test {
  protected:
    void SetUp() override {
        site_.write("config/system/object_settings.xml",
                    "<object_settings><object id=\"rtr_area_0\">"
                    "<setting id=\"areaname\" value=\"A\"/>"
                    "<setting id=\"driver_ids\" value=\"0,0,7\"/>"
                    "<setting id=\"driver_type\" value=\",,SDI\"/>"
                    "</object></object_settings>");
        site_.write("config/system/dev_007.ini",
                    "[Device]\nName=Test Router\n\n[Database]\nDatabaseSize_0=4\n"
                    "DatabaseSize_1=2\nDatabaseSize_2=4\n");
        sim_ = makeSimulator(site_.store());
    }
    std::unique_ptr<simulator> makeSimulator(const std::string& store) const {
        simulator_options o = options();
        o.siteDir = site_.dir();
        o.dbFile = store;
        auto sim = std::make_unique<simulator>(o);
        std::string error;
        EXPECT_TRUE(sim->useSite(o.siteDir, error)) << error;
        return sim;
    }
    std::string csvFile(const std::string& text) const {
        const std::string path = site_.dir() + "/import.csv";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string stored(int device, int database, int index) const {
        std::string name, error;
        bool found = false;
        EXPECT_TRUE(sim_->storedName(device, database, index, name, found, error)) << error;
        return found ? name : "(none)";
    }
    bool import(const std::string& text, bool dryRun, std::string& report, std::string& error) {
        report.clear();
        host_error failed;
        const bool stored = sim_->importNamesFile(
            csvFile(text), dryRun, [&report](const std::string& t) { report += t; }, failed);
        error = failed.message;
        return stored;
    }

    test_site site_;
    std::unique_ptr<simulator> sim_;
};

}  // namespace

TEST_F(NamesImport, OneBadRowStoresNothingAndEveryBadRowIsNamed) {
    std::string report, error;
    EXPECT_FALSE(
        import("device,database,index,name\r\n"
               "7,0,1,Good\r\n"
               "7,0,5,Beyond the size\r\n"
               "8,0,1,No such device\r\n"
               "7,0,1,Twice\r\n"
               "7,0,2,Seventeen bytes!!\r\n"
               "7,2,2,NineByte\r\n"
               "7,x,1,Bad number\r\n"
               "7,0,3\r\n",
               false, report, error));
    EXPECT_NE(error.find("nothing stored"), std::string::npos);
    const std::vector<std::string> rows = {
        "row 3 (line 3): index 5 is outside database 0 of device 7 (1 to 4)",
        "row 4 (line 4): device 8 is not a device of the site",
        "row 5 (line 5): gives device 7 database 0 index 1 again (row 2)",
        "row 6 (line 6): the name 'Seventeen bytes!!' is 17 bytes long; the names editor keeps "
        "at most 16 in database 0",
        "row 8 (line 8): the database 'x' is not a whole number",
        "row 9 (line 9): has 3 fields, not 4 (device,database,index,name)",
    };
    for (const std::string& row : rows) {
        EXPECT_NE(error.find("\n  " + row), std::string::npos) << row << "\n" << error;
    }
    // Short names: 8 bytes is the limit, so "NineByte" (8) passes.
    EXPECT_EQ(error.find("row 7"), std::string::npos) << error;
    EXPECT_EQ(stored(7, 0, 1), "Camera 1");
    EXPECT_EQ(stored(7, 2, 2), "(none)");
}

TEST_F(NamesImport, ErrorsQuoteAtMostTheStartOfWhatTheyRefuse) {
    std::string report, error;
    EXPECT_FALSE(
        import("device,database,index,name\n"
               "7,0,1," +
                   std::string(100000, 'n') + "\n" + std::string(50000, '9') +
                   "x,0,2,Fine\n"
                   "7,0,3,Caf\xe9\n",
               false, report, error));
    EXPECT_LT(error.size(), 600u) << error.substr(0, 600);
    EXPECT_NE(error.find("row 2 (line 2): the name '" + std::string(80, 'n') +
                         "'\xe2\x80\xa6 (100000 bytes) is 100000 bytes long"),
              std::string::npos)
        << error.substr(0, 600);
    EXPECT_NE(error.find("row 3 (line 3): the device '" + std::string(80, '9') +
                         "'\xe2\x80\xa6 (50001 bytes) is not a whole number"),
              std::string::npos)
        << error.substr(0, 600);
    EXPECT_NE(error.find("row 4 (line 4): the name is not UTF-8 text (byte 4 of 4)"),
              std::string::npos)
        << error;
}

TEST_F(NamesImport, DryRunShowsOldAndNewNamesAndTheTypedTextRule) {
    std::string report, error;
    ASSERT_TRUE(
        import("device,database,index,name\n"
               "7,0,1,\"Guest's \"\"Cam\"\"\"\n"
               "7,0,2,VT 1\n"
               "7,1,2,\"Grüße\nZwei\"\n",
               true, report, error))
        << error;
    EXPECT_EQ(report,
              "row 2: 7 0 1: 'Camera 1' -> 'Guest`s \"Cam\"'\n"
              "  given as 'Guest's \"Cam\"': as typed on a panel, a ' is stored as a backtick and "
              "a control character as a space\n"
              "row 4: 7 1 2: (none) -> 'Grüße Zwei'\n"
              "  given as 'Grüße\\nZwei': as typed on a panel, a ' is stored as a backtick and a "
              "control character as a space\n"
              "would store 2 names, 1 unchanged\n");
    EXPECT_EQ(stored(7, 0, 1), "Camera 1");  // a dry run stores nothing
    ASSERT_TRUE(
        import("device,database,index,name\n7,0,1,\"Guest's \"\"Cam\"\"\"\n", false, report, error))
        << error;
    EXPECT_EQ(stored(7, 0, 1), "Guest`s \"Cam\"");
}

TEST_F(NamesImport, ExportAndImportRoundTrip) {
    std::string report, error;
    ASSERT_TRUE(
        import("device,database,index,name\n7,0,2,\"a, b \"\"c\"\"\"\n7,1,1,Ünïcødé\n"
               "7,0,3,\n",
               false, report, error))
        << error;
    const name_store* store = sim_->openStore(error);
    ASSERT_NE(store, nullptr) << error;
    std::ostringstream exported;
    writeNamesCsv(store->all(), exported);
    EXPECT_EQ(exported.str(),
              "device,database,index,name\r\n"
              "7,0,1,Camera 1\r\n"
              "7,0,2,\"a, b \"\"c\"\"\"\r\n"
              "7,0,3,\r\n"
              "7,0,4,\r\n"
              "7,1,1,Ünïcødé\r\n");
    std::ostringstream onlyDatabase1;
    writeNamesCsv(store->all(7, 1), onlyDatabase1);
    EXPECT_EQ(onlyDatabase1.str(), "device,database,index,name\r\n7,1,1,Ünïcødé\r\n");

    // Into a store of its own, seeded from the name files: the same names come out.
    kovo_host_testing::temp_directory other;
    sim_ = makeSimulator(other.path() + "/other.sqlite");
    ASSERT_TRUE(import(exported.str(), false, report, error)) << error;
    EXPECT_EQ(report.substr(report.rfind("stored")), "stored 3 names, 2 unchanged\n");
    std::ostringstream again;
    writeNamesCsv(sim_->openStore(error)->all(), again);
    EXPECT_EQ(again.str(), exported.str());
}

TEST_F(NamesImport, LoadedScriptsGetADatabaseEventPerChangedName) {
    host_error failed;
    ASSERT_TRUE(sim_->load("p", "kovo_host_probe", "tests/host/layouts", true, -1, failed))
        << failed;
    ASSERT_TRUE(sim_->event("p", "1", "Relay", "send=RR 7 1 1", failed)) << failed;
    std::string error;
    const std::size_t from = sim_->log().entries().size();
    std::string report;
    ASSERT_TRUE(import("device,database,index,name\n7,0,1,Camera 1\n7,0,2,New 2\n7,1,1,New 3\n",
                       false, report, error))
        << error;
    std::vector<std::string> events;
    const auto& entries = sim_->log().entries();
    for (std::size_t i = from; i < entries.size(); ++i) {
        if (entries[i].kind == entry_kind::event) {
            events.push_back(transcript::format(entries[i]));
        }
    }
    // The unchanged name 1 sends nothing.
    EXPECT_EQ(events, (std::vector<std::string>{"  [p] <- database 7 0 2 'New 2'",
                                                "  [p] <- database 7 1 1 'New 3'"}));
}
