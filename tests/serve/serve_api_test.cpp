// Every endpoint of the emulator's API: what it does, and what it refuses.
#include "serve_fixture.h"

#include <filesystem>
#include <fstream>

namespace {

using json = nlohmann::json;

const std::string shutdown12 = "IW 998 'PX c:\\windows\\system32\\shutdown.exe /s /t 2' 12 1";
const std::string shutdown14 = "IW 998 'PX c:\\windows\\system32\\XpePM.exe -Shutdown' 14 1";

TEST_F(serve_test, LoadsListsAndUnloadsScriptsOfTheBuild) {
    const auto plugins = get("/api/plugins");
    ASSERT_EQ(plugins.status, 200);
    EXPECT_EQ(plugins.body["plugins"], json({"Corvane", "Lindqar", "Tavisk"}));
    EXPECT_EQ(plugins.body["firstWorkstation"], 12);

    const auto loaded = load("ws", "Tavisk");
    ASSERT_EQ(loaded.status, 200) << loaded.text;
    EXPECT_EQ(loaded.body["commands"], json({"PS '1' 'panels/System/Tavisk/1280.kovo_ui'",
                                             "CD '1' 'Confirm'", "XI '1' 'WS_'"}));
    const auto listed = get("/api/scripts");
    ASSERT_EQ(listed.body["scripts"].size(), 1u);
    EXPECT_EQ(listed.body["scripts"][0]["name"], "ws");
    EXPECT_EQ(listed.body["scripts"][0]["workstation"], 12);
    EXPECT_EQ(listed.body["scripts"][0]["shown"], json({"1"}));

    // Taken names, unknown plug-ins and paths are refused without loading anything.
    EXPECT_EQ(load("ws", "Corvane").status, 409);
    const auto unknown = load("x", "NoSuch");
    EXPECT_EQ(unknown.status, 404);
    EXPECT_EQ(unknown.body["field"], "plugin");
    EXPECT_EQ(load("y", "../../build/default/lib/Tavisk").status, 404);
    EXPECT_EQ(load("z", "/tmp/Tavisk.so").status, 404);
    EXPECT_EQ(post("/api/scripts", json{{"name", "a b"}, {"plugin", "Tavisk"}}).body["field"],
              "name");
    EXPECT_EQ(post("/api/scripts", json{{"name", "w2"}, {"plugin", "Tavisk"}, {"workstation", -3}})
                  .body["field"],
              "workstation");
    EXPECT_EQ(get("/api/scripts").body["scripts"].size(), 1u);

    EXPECT_EQ(del("/api/scripts/ws").status, 200);
    EXPECT_EQ(del("/api/scripts/ws").status, 404);
    EXPECT_TRUE(get("/api/scripts").body["scripts"].empty());
}

TEST_F(serve_test, OperatorActionsSendTheirCommandsAndReachTheWorkstations) {
    ASSERT_EQ(load("ws", "Tavisk").status, 200);
    EXPECT_EQ(press("ws", "1", "WS_01").body["commands"],
              json({"TP 'statesheet=alarm_alarm' '1' 'WS_01'", "CD '1' 'Confirm'"}));
    ASSERT_EQ(press("ws", "1", "WS_03").status, 200);
    EXPECT_EQ(press("ws", "1", "Shutdown").body["commands"],
              json({"TP 'statesheet=alarm_alarm' '1' 'Shutdown'",
                    "TP 'statesheet=alarm_ignore' '1' 'Restart'", "CE '1' 'Confirm'"}));
    EXPECT_EQ(press("ws", "1", "Confirm").body["commands"],
              json({shutdown12, shutdown14, "ET 1 250"}));

    const auto requests = get("/api/requests").body["requests"];
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0]["workstation"], 12);
    EXPECT_EQ(requests[0]["text"], "PX c:\\windows\\system32\\shutdown.exe /s /t 2");
    EXPECT_EQ(requests[1]["workstation"], 14);

    // The shown panel as the model holds it.
    const auto panel = get("/api/scripts/ws/panel");
    ASSERT_EQ(panel.status, 200);
    const json& shown = panel.body["panels"][0];
    EXPECT_EQ(shown["id"], "1");
    EXPECT_EQ(shown["width"], 1280);
    bool sawConfirm = false;
    for (const json& control : shown["controls"]) {
        if (control["id"] == "WS_01") {
            EXPECT_EQ(control["look"], "alarm_alarm");
            EXPECT_EQ(control["kind"], "button");
        }
        if (control["id"] == "Confirm") {
            sawConfirm = true;
            EXPECT_EQ(control["enabled"], true);
        }
    }
    EXPECT_TRUE(sawConfirm);
    EXPECT_EQ(get("/api/scripts/nope/panel").status, 404);
}

TEST_F(serve_test, ActionsTheOperatorCannotReachAreRefusedAndChangeNothing) {
    ASSERT_EQ(load("ws", "Tavisk").status, 200);
    const auto before = lastEntry();

    const auto disabled = press("ws", "1", "Confirm");
    EXPECT_EQ(disabled.status, 409);
    EXPECT_NE(disabled.body["error"].get<std::string>().find("disabled"), std::string::npos);
    EXPECT_EQ(press("ws", "9", "WS_01").body["field"], "panel");
    EXPECT_EQ(press("ws", "9", "WS_01").status, 404);
    EXPECT_EQ(press("ws", "1", "Nope").body["field"], "control");
    EXPECT_EQ(press("nobody", "1", "WS_01").body["field"], "script");
    // A button cannot be chosen on, nor typed on.
    EXPECT_EQ(
        post("/api/scripts/ws/choose", json{{"panel", "1"}, {"control", "WS_01"}, {"position", 0}})
            .status,
        409);
    EXPECT_EQ(
        post("/api/scripts/ws/type", json{{"panel", "1"}, {"control", "WS_01"}, {"text", "x"}})
            .status,
        409);
    EXPECT_EQ(lastEntry(), before) << "a refused action left entries in the transcript";

    // A raw event goes through whatever the control shows.
    const auto raw =
        post("/api/scripts/ws/event",
             json{{"panel", "1"}, {"control", "Confirm"}, {"text", "button=released"}});
    EXPECT_EQ(raw.status, 200);
}

TEST_F(serve_test, MalformedRequestsAreRefusedNamingTheField) {
    ASSERT_EQ(load("ws", "Tavisk").status, 200);
    const auto before = lastEntry();
    struct bad {
        std::string path, body, field;
    };
    const bad cases[] = {
        {"/api/scripts/ws/press", "{not json", "body"},
        {"/api/scripts/ws/press", "[1,2]", "body"},
        {"/api/scripts/ws/press", R"({"control":"WS_01"})", "panel"},
        {"/api/scripts/ws/press", R"({"panel":1,"control":"WS_01"})", "panel"},
        {"/api/scripts/ws/choose", R"({"panel":"1","control":"L","position":"2"})", "position"},
        {"/api/scripts/ws/choose", R"({"panel":"1","control":"L","position":1e30})", "position"},
        {"/api/scripts/ws/choose", R"({"panel":"1","control":"L","position":99999999999})",
         "position"},
        {"/api/scripts/ws/choose", R"({"panel":"1","control":"L","position":18446744073709551615})",
         "position"},
        {"/api/scripts", R"({"name":"w","plugin":"Tavisk","workstation":18446744073709551615})",
         "workstation"},
        {"/api/scripts/ws/type", R"({"panel":"1","control":"K","text":"two\nlines"})", "text"},
        {"/api/scripts/ws/query", R"({"text":7})", "text"},
        {"/api/rename", R"({"device":101,"database":0,"index":1})", "name"},
        {"/api/record", R"({"on":"yes"})", "on"},
    };
    for (const bad& c : cases) {
        const auto r = post(c.path, c.body);
        EXPECT_EQ(r.status, 400) << c.path << " " << c.body;
        EXPECT_EQ(r.body["field"], c.field) << c.path << " " << c.body;
    }
    // Not JSON at all, and too large.
    EXPECT_EQ(
        read(client_->Post("/api/scripts/ws/press", "panel=1", "application/x-www-form-urlencoded"))
            .status,
        415);
    const auto large = post(
        "/api/rename",
        json{{"device", 101}, {"database", 0}, {"index", 1}, {"name", std::string(5000, 'a')}});
    EXPECT_EQ(large.status, 413);
    EXPECT_EQ(get("/api/names?device=abc").status, 400);
    EXPECT_EQ(get("/api/transcript?since=-1").status, 400);
    EXPECT_EQ(lastEntry(), before);
}

TEST_F(serve_test, RenamesReachTheStoreAndTheNamesView) {
    const auto renamed = post(
        "/api/rename", json{{"device", 101}, {"database", 0}, {"index", 2}, {"name", "Guest Cam"}});
    ASSERT_EQ(renamed.status, 200) << renamed.text;
    const auto found = get("/api/names?device=101&database=0&search=guest");
    ASSERT_EQ(found.status, 200);
    EXPECT_EQ(found.body["size"], 64);
    ASSERT_EQ(found.body["names"].size(), 1u);
    EXPECT_EQ(found.body["names"][0], json({{"index", 2}, {"name", "Guest Cam"}}));
    EXPECT_EQ(get("/api/names?device=101&database=0").body["names"][0]["name"], "Camera 1");

    EXPECT_EQ(
        post("/api/rename", json{{"device", 101}, {"database", 0}, {"index", 65}, {"name", "x"}})
            .body["field"],
        "index");
    EXPECT_EQ(post("/api/rename", json{{"device", 5}, {"database", 0}, {"index", 1}, {"name", "x"}})
                  .status,
              404);
    EXPECT_EQ(get("/api/names?device=101&database=63").body["field"], "database");
    const auto devices = get("/api/devices").body["devices"];
    ASSERT_FALSE(devices.empty());
    EXPECT_EQ(devices[0]["device"], 101);
    EXPECT_EQ(devices[0]["name"], "StC SDI Router");
}

TEST_F(serve_test, TranscriptSinceANumberAndByScript) {
    ASSERT_EQ(load("ws", "Tavisk").status, 200);
    ASSERT_EQ(load("cv", "Corvane").status, 200);
    const auto mark = lastEntry();
    ASSERT_EQ(press("ws", "1", "WS_02").status, 200);
    const auto since = get("/api/transcript?since=" + std::to_string(mark) + "&script=ws");
    ASSERT_EQ(since.status, 200);
    std::vector<std::string> texts;
    for (const json& e : since.body["entries"]) {
        EXPECT_GT(e["seq"].get<unsigned long long>(), mark);
        EXPECT_EQ(e["script"], "ws");
        texts.push_back(e["text"]);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"  [ws] <- control 1 WS_02 'button=released'",
                                               "  [ws] 0 TP 'statesheet=alarm_alarm' '1' 'WS_02'",
                                               "  [ws] 0 CD '1' 'Confirm'"}));
    const auto all = get("/api/transcript?script=cv").body["entries"];
    ASSERT_FALSE(all.empty());
    for (const json& e : all) {
        EXPECT_EQ(e["script"], "cv");
    }
}

TEST_F(serve_test, AMinimalAnswerCountsTheCommandsInsteadOfListingThem) {
    ASSERT_EQ(load("ws", "Tavisk").status, 200);
    const std::string body = json{{"panel", "1"}, {"control", "WS_01"}}.dump();
    const auto result = client_->Post("/api/scripts/ws/press", {{"Prefer", "return=minimal"}}, body,
                                      "application/json");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->get_header_value("Preference-Applied"), "return=minimal");
    const json minimal = json::parse(result->body);
    EXPECT_EQ(minimal, json({{"commandCount", 2}}));
    // The press was carried out all the same, and without the header the list comes back.
    EXPECT_EQ(press("ws", "1", "WS_01").body["commands"],
              json({"TP 'statesheet=alarm_ignore' '1' 'WS_01'", "CD '1' 'Confirm'"}));
    // A refusal says why, whatever the client prefers.
    const auto refused = read(client_->Post("/api/scripts/ws/press", {{"Prefer", "return=minimal"}},
                                            json{{"panel", "1"}, {"control", "Confirm"}}.dump(),
                                            "application/json"));
    EXPECT_EQ(refused.status, 409);
    EXPECT_NE(refused.body["error"].get<std::string>().find("disabled"), std::string::npos);
}

TEST_F(serve_test, TranscriptNumbersStartAtOneWithTheSession) {
    ASSERT_EQ(load("ws", "Tavisk").status, 200);
    const auto all = get("/api/transcript").body;
    ASSERT_FALSE(all["entries"].empty());
    EXPECT_EQ(all["first"], 1);
    EXPECT_EQ(all["entries"][0]["seq"], 1);
    EXPECT_EQ(all["entries"].back()["seq"], all["last"]);
    EXPECT_NE(all["entries"][0]["text"].get<std::string>().find("[ws] <- load "), std::string::npos)
        << all["entries"][0];
}

TEST_F(serve_test, QueriesAreAnswered) {
    ASSERT_EQ(load("ws", "Tavisk").status, 200);
    const auto asked = post("/api/scripts/ws/query", json{{"text", "return=all"}});
    ASSERT_EQ(asked.status, 200) << asked.text;
    EXPECT_TRUE(asked.body.contains("answered"));
    EXPECT_EQ(post("/api/scripts/none/query", json::object()).status, 404);
}

TEST_F(serve_test, HostAndOriginChecks) {
    ASSERT_EQ(load("ws", "Tavisk").status, 200);
    // DNS rebinding: a page whose own name now points here.
    EXPECT_EQ(
        read(client_->Get("/api/scripts", {{"Host", "attacker.example:" + std::to_string(port())}}))
            .status,
        403);
    EXPECT_EQ(read(client_->Get("/", {{"Host", "attacker.example"}})).status, 403);
    EXPECT_EQ(read(client_->Get("/api/scripts", {{"Host", "localhost:" + std::to_string(port())}}))
                  .status,
              200);

    const std::string body = json{{"panel", "1"}, {"control", "WS_01"}}.dump();
    const auto foreign =
        post("/api/scripts/ws/press", body, {{"Origin", "http://attacker.example"}});
    EXPECT_EQ(foreign.status, 403);
    EXPECT_EQ(foreign.body["field"], "Origin");
    EXPECT_EQ(post("/api/scripts/ws/press", body, {{"Origin", "http://127.0.0.1:1"}}).status, 403);
    EXPECT_EQ(post("/api/scripts/ws/press", body, {{"Origin", "null"}}).status, 403);
    EXPECT_EQ(post("/api/scripts/ws/press", body, {{"Sec-Fetch-Site", "cross-site"}}).status, 403);
    EXPECT_EQ(
        read(client_->Delete("/api/scripts/ws", {{"Origin", "http://attacker.example"}})).status,
        403);
    EXPECT_EQ(get("/api/scripts").body["scripts"].size(), 1u) << "a refused unload unloaded";
    const auto requests = get("/api/transcript").body["entries"];
    for (const json& e : requests) {
        EXPECT_EQ(e["text"].get<std::string>().find("control 1 WS_01"), std::string::npos)
            << "a refused press reached the script";
    }
    // The page's own origin, under either loopback name.
    EXPECT_EQ(post("/api/scripts/ws/press", body, {{"Origin", origin()}}).status, 200);
    EXPECT_EQ(post("/api/scripts/ws/press", body,
                   {{"Origin", "http://localhost:" + std::to_string(port())}})
                  .status,
              200);
}

TEST_F(serve_test, ServesOnlyThePagesFiles) {
    const auto page = client_->Get("/");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("data-ready"), std::string::npos);
    EXPECT_EQ(client_->Get("/app.js")->status, 200);
    EXPECT_EQ(client_->Get("/style.css")->status, 200);
    for (const char* path :
         {"/../CMakeLists.txt", "/%2e%2e/CMakeLists.txt", "/index.html/../../README.md",
          "/host/web/app.js", "/api/../../etc/passwd"}) {
        const auto r = client_->Get(path);
        ASSERT_TRUE(r) << path;
        EXPECT_EQ(r->status, 404) << path;
    }
}

TEST_F(serve_test, ARecordedSessionReplaysGreen) {
    ASSERT_EQ(load("ws", "Tavisk").status, 200);
    ASSERT_EQ(press("ws", "1", "WS_02").status, 200);  // before the recording: started afresh
    const auto on = post("/api/record", json{{"on", true}});
    ASSERT_EQ(on.status, 200);
    EXPECT_TRUE(on.body["on"]);
    ASSERT_EQ(press("ws", "1", "WS_01").status, 200);
    ASSERT_EQ(press("ws", "1", "Confirm").status, 409);  // refused: not recorded
    ASSERT_EQ(press("ws", "1", "WS_03").status, 200);
    ASSERT_EQ(press("ws", "1", "Shutdown").status, 200);
    ASSERT_EQ(press("ws", "1", "Confirm").status, 200);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));  // the panel returns to idle
    ASSERT_EQ(
        post("/api/rename", json{{"device", 101}, {"database", 0}, {"index", 3}, {"name", "VT 9"}})
            .status,
        200);
    ASSERT_EQ(post("/api/record", json{{"on", false}}).status, 200);
    const auto recorded = client_->Get("/api/record");
    ASSERT_TRUE(recorded);
    const std::string text = recorded->body;
    EXPECT_NE(recorded->get_header_value("Content-Disposition").find(".kovo"), std::string::npos);

    EXPECT_NE(text.find("load ws Tavisk workstation=12\nexpect PS '1' "
                        "'panels/System/Tavisk/1280.kovo_ui'\nexpect CD '1' 'Confirm'\n"
                        "expect XI '1' 'WS_'\nexpect-none\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("press ws 1 Confirm\nexpect " + shutdown12 + "\nexpect " + shutdown14 +
                        "\nexpect ET 1 250\nexpect-none\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("expect-px 12 PX c:\\windows\\system32\\shutdown.exe /s /t 2"),
              std::string::npos);
    EXPECT_NE(text.find("\nexpect ET 1\n"), std::string::npos) << "the timer's return to idle";
    EXPECT_EQ(text.find("WS_02"), std::string::npos) << "what came before the recording";
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n') > 0, true);

    kovo_host_testing::temp_directory replayState;
    const auto replay = kovo_host_testing::runCheckedText(
        text, "recorded.kovo", kovo_host_testing::testOptions(replayState.path()));
    EXPECT_EQ(replay.status, 0) << replay.failure << "\n" << text;

    // A replay that meets another panel fails: the expectations check something.
    std::string changed = text;
    const std::string wrong = "expect CE '1' 'Confirm'";
    const std::size_t at = changed.find(wrong);
    ASSERT_NE(at, std::string::npos);
    changed.replace(at, wrong.size(), "expect CE '1' 'Restart'");
    EXPECT_EQ(kovo_host_testing::runCheckedText(changed, "changed.kovo",
                                                kovo_host_testing::testOptions(replayState.path()))
                  .status,
              1);
}

}  // namespace

namespace {

TEST_F(serve_test, NamesImportIsCheckedWholeAndReachesTheStore) {
    const auto post_csv = [this](const std::string& csv, const std::string& query = "") {
        return read(client_->Post(("/api/names/import" + query).c_str(), csv, "text/csv"));
    };
    const auto dry = post_csv("device,database,index,name\n101,0,1,Cam One\n", "?dry-run=1");
    ASSERT_EQ(dry.status, 200) << dry.text;
    EXPECT_EQ(get("/api/names?device=101&database=0&search=1").body["names"][0]["name"],
              "Camera 1");

    // One bad row: nothing is stored.
    const auto bad = post_csv("device,database,index,name\n101,0,1,Cam One\n101,0,999,Too far\n");
    EXPECT_EQ(bad.status, 400);
    EXPECT_EQ(bad.body["field"], "body");
    EXPECT_EQ(get("/api/names?device=101&database=0&search=Cam One").body["names"].size(), 0u);

    const auto good = post_csv("device,database,index,name\n101,0,1,Cam One\n101,0,2,Cam Two\n");
    ASSERT_EQ(good.status, 200) << good.text;
    EXPECT_NE(good.body["report"].get<std::string>().find("stored 2 names"), std::string::npos);
    EXPECT_EQ(get("/api/names?device=101&database=0&search=cam t").body["names"][0]["index"], 2);

    EXPECT_EQ(post("/api/names/import", std::string("device,database,index,name\n")).status, 415);
    ASSERT_EQ(post("/api/record", json{{"on", true}}).status, 200);
    EXPECT_EQ(post_csv("device,database,index,name\n101,0,3,X\n").status, 409);
}

}  // namespace

namespace {

// A site whose name file holds a name in another code page than UTF-8.
class serve_latin_site_test : public serve_test {
  protected:
    void configure(kovo_host::simulator_options& options) override {
        const std::filesystem::path site = std::filesystem::path(siteDir_.path()) / "site";
        std::filesystem::create_directories(site / "config" / "system");
        std::filesystem::create_directories(site / "names" / "dev_007");
        std::ofstream(site / "config" / "system" / "dev_007.ini")
            << "[Device]\nName=Test Router\n[Database]\nDatabaseSize_0=4\n";
        std::ofstream(site / "names" / "dev_007" / "db_0.txt", std::ios::binary)
            << "1 Caf\xe9\n2 Plain\n";
        options.siteDir = site.string();
    }
    kovo_host_testing::temp_directory siteDir_;
};

TEST_F(serve_latin_site_test, NamesThatAreNotUtf8StillRead) {
    const auto names = get("/api/names?device=7&database=0");
    ASSERT_EQ(names.status, 200) << names.text;
    EXPECT_EQ(names.body["names"][0]["name"], "Caf\xef\xbf\xbd");
    EXPECT_EQ(names.body["names"][1]["name"], "Plain");
    EXPECT_EQ(get("/api/state").status, 200);
}

}  // namespace
