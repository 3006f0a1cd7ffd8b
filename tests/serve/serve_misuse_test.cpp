// The server under misuse: a second server on its port, bodies past the limit
// (chunked or announced), names no import would take, script names that are
// no words, many event feeds, slow and half-closed clients, bytes that are not
// UTF-8, requests it does not take; each refused saying what is wrong, and
// nothing of it stopping the API from answering.
#include <algorithm>
#include <memory>
#include <vector>

#include "raw_http.h"
#include "serve_fixture.h"

namespace {

using json = nlohmann::json;
using std::chrono::milliseconds;
using clock_type = std::chrono::steady_clock;

std::string request(const std::string& method, const std::string& path,
                    const std::string& headers = "", const std::string& body = "") {
    return method + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n" + body;
}

std::string jsonPost(const std::string& path, const std::string& body) {
    return request(
        "POST", path,
        "Content-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) + "\r\n",
        body);
}

std::string chunk(const std::string& data) {
    char size[20];
    std::snprintf(size, sizeof size, "%zx\r\n", data.size());
    return size + data + "\r\n";
}

const std::string chunkedHeaders =
    "Content-Type: application/json\r\nTransfer-Encoding: chunked\r\n";

// A rename's body up to the name's first byte.
const std::string renameStart = R"({"device":101,"database":0,"index":1,"name":")";

long long millisecondsSince(clock_type::time_point start) {
    return std::chrono::duration_cast<milliseconds>(clock_type::now() - start).count();
}

class serve_misuse_test : public serve_test {
  protected:
    // The stored name, through the API.
    std::string storedName(int device, int database, int index) {
        const auto names = get("/api/names?device=" + std::to_string(device) +
                               "&database=" + std::to_string(database));
        for (const json& n : names.body["names"]) {
            if (n["index"] == index) {
                return n["name"];
            }
        }
        return "(none)";
    }
    // Index 4 of device 101's database 0 renamed from another editor.
    response rename(const std::string& name) {
        return post("/api/rename",
                    json{{"device", 101}, {"database", 0}, {"index", 4}, {"name", name}});
    }
    // Whether the API answers a GET within `within`, on a connection of its own.
    bool apiAnswers(milliseconds within) {
        httplib::Client fresh("127.0.0.1", port());
        fresh.set_connection_timeout(std::chrono::duration_cast<std::chrono::seconds>(within));
        fresh.set_read_timeout(within);
        const auto answer = fresh.Get("/api/scripts");
        return answer && answer->status == 200;
    }
};

TEST_F(serve_misuse_test, ASecondServerOnAPortInUseIsRefusedNamingWhy) {
    kovo_serve::server_settings settings;
    settings.port = port();
    settings.webRoot = kovo_serve::defaultWebRoot();
    kovo_serve::http_api second(*session_, settings);
    std::string error;
    EXPECT_FALSE(second.bind(error)) << "a second server shares the port";
    EXPECT_NE(error.find("in use"), std::string::npos) << error;
    // Every request still reaches the one server.
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(get("/api/scripts").status, 200);
    }
}

TEST_F(serve_misuse_test, AChunkedBodyPastTheLimitIsRefusedAndNotStored) {
    // Under the limit, a chunked body is a body like any other.
    raw_http small(port());
    ASSERT_TRUE(small.send(request("POST", "/api/rename", chunkedHeaders) +
                           chunk(R"({"device":101,"database":0,)") +
                           chunk(R"("index":2,"name":"Chunked"})") + chunk("")));
    EXPECT_EQ(raw_http::statusOf(small.readAnswer()), 200);
    EXPECT_EQ(storedName(101, 0, 2), "Chunked");

    // Past it (the limit is 4096 here), a body of 64 KiB is refused and not stored.
    raw_http large(port());
    ASSERT_TRUE(large.send(request("POST", "/api/rename", chunkedHeaders) +
                           chunk(renameStart + std::string(65536, 'a') + "\"}") + chunk("")));
    const std::string answer = large.readAnswer();
    EXPECT_EQ(raw_http::statusOf(answer), 413) << answer;
    EXPECT_NE(raw_http::errorOf(answer).find("4096"), std::string::npos) << answer;
    EXPECT_EQ(storedName(101, 0, 1), "Camera 1");
}

TEST_F(serve_misuse_test, AChunkedBodyIsReadNoFurtherThanTheLimit) {
    // The refusal comes once the limit is passed, not once the client has sent
    // the rest (which here never comes).
    raw_http endless(port());
    ASSERT_TRUE(endless.send(request("POST", "/api/rename", chunkedHeaders) + "100000\r\n" +
                             renameStart + std::string(5000, 'b')));
    const auto sent = clock_type::now();
    EXPECT_EQ(raw_http::statusOf(endless.readAnswer(milliseconds(3000))), 413);
    EXPECT_LT(millisecondsSince(sent), 2000);
    EXPECT_TRUE(endless.closedWithin(milliseconds(2000)));
}

TEST_F(serve_misuse_test, ABodyAnnouncedPastTheLimitIsRefusedUnread) {
    raw_http client(port());
    ASSERT_TRUE(client.send(request(
        "POST", "/api/rename", "Content-Type: application/json\r\nContent-Length: 100000000\r\n")));
    const auto sent = clock_type::now();
    const std::string answer = client.readAnswer(milliseconds(3000));
    EXPECT_EQ(raw_http::statusOf(answer), 413) << answer;
    EXPECT_LT(millisecondsSince(sent), 2000) << "the server waited for the body it refuses";
    EXPECT_TRUE(client.closedWithin(milliseconds(2000)));
}

TEST_F(serve_misuse_test, APostThatAnnouncesNoBodyHasNone) {
    raw_http client(port());
    ASSERT_TRUE(client.send(request("POST", "/api/record")));
    const auto sent = clock_type::now();
    const std::string answer = client.readAnswer(milliseconds(3000));
    EXPECT_EQ(raw_http::statusOf(answer), 400) << answer;
    EXPECT_EQ(raw_http::bodyOf(answer)["field"], "on");
    EXPECT_LT(millisecondsSince(sent), 2000) << "the server read on, waiting for a body";
}

TEST_F(serve_misuse_test, ARenameHoldingAZeroByteIsRefused) {
    const auto zero = rename(std::string("Cam\0era", 7));
    EXPECT_EQ(zero.status, 400);
    EXPECT_EQ(zero.body.value("field", std::string()), "name");
    EXPECT_NE(zero.text.find("zero byte"), std::string::npos) << zero.text;
    EXPECT_EQ(storedName(101, 0, 4), "Camera 4");
}

TEST_F(serve_misuse_test, ARenameThatIsNotUtf8IsRefusedAsSuch) {
    const auto latin = post("/api/rename", renameStart + "Cam\xe9ra\"}");
    EXPECT_EQ(latin.status, 400);
    EXPECT_NE(latin.text.find("not UTF-8 text (byte 49 of"), std::string::npos) << latin.text;
    EXPECT_EQ(storedName(101, 0, 1), "Camera 1");
}

TEST_F(serve_misuse_test, ARenameLongerThanTheEditorKeepsIsRefusedQuotingOnlyItsStart) {
    const auto longName = rename(std::string(3000, 'x'));
    EXPECT_EQ(longName.status, 400);
    EXPECT_EQ(longName.body.value("field", std::string()), "name");
    const std::string said = longName.body.value("error", std::string());
    EXPECT_NE(said.find("at most 16 in database 0"), std::string::npos) << said;
    // The first 80 bytes, then that there is more and how much.
    EXPECT_NE(said.find("'" + std::string(80, 'x') + "'\xe2\x80\xa6 (3000 bytes)"),
              std::string::npos)
        << said;
    EXPECT_EQ(said.find(std::string(81, 'x')), std::string::npos) << said;
    EXPECT_EQ(storedName(101, 0, 4), "Camera 4");
}

TEST_F(serve_misuse_test, ARenameIsStoredAsTypedOnAPanelSayingSo) {
    // A ' becomes a backtick and a control character a space, and the answer
    // says what was given and why it was changed.
    const auto quoted = rename("Guest's\tCam\x01");
    ASSERT_EQ(quoted.status, 200) << quoted.text;
    EXPECT_EQ(quoted.body.value("stored", std::string()), "Guest`s Cam ");
    EXPECT_NE(quoted.body.value("note", std::string())
                  .find("given as 'Guest's\\tCam\\x01': as typed on a panel, a ' is stored as a "
                        "backtick and a control character as a space"),
              std::string::npos)
        << quoted.body;
    EXPECT_EQ(storedName(101, 0, 4), "Guest`s Cam ");
    const auto plain = rename("Jib");
    ASSERT_EQ(plain.status, 200);
    EXPECT_EQ(plain.body.value("stored", std::string()), "Jib");
    EXPECT_FALSE(plain.body.contains("note"));
}

TEST_F(serve_misuse_test, ABodyThatIsNotUtf8IsRefusedAsSuch) {
    ASSERT_EQ(load("ws", "Tavisk").status, 200);
    const auto latin =
        post("/api/scripts/ws/press", std::string("{\"panel\":\"\xe9\",\"control\":\"WS_01\"}"));
    EXPECT_EQ(latin.status, 400);
    EXPECT_NE(latin.body.value("error", std::string()).find("not UTF-8 text (byte 11 of"),
              std::string::npos)
        << latin.text;
    EXPECT_NE(post("/api/scripts/ws/press", std::string("[1,2]")).text.find("object, not array"),
              std::string::npos);
    EXPECT_NE(post("/api/scripts/ws/press", std::string("{not json")).text.find("is not JSON"),
              std::string::npos);
}

TEST_F(serve_misuse_test, ScriptNamesAreLettersDigitsUnderscoresAndDashes) {
    for (const char* bad : {"../../x", "a.b", "ws/1", "%2e%2e", "w\xc3\xa9"}) {
        const auto refused = load(bad, "Tavisk");
        EXPECT_EQ(refused.status, 400) << bad;
        EXPECT_EQ(refused.body["field"], "name") << bad;
        EXPECT_NE(refused.text.find("letters, digits, _ and -"), std::string::npos) << refused.text;
    }
    EXPECT_EQ(load(std::string(65, 'w'), "Tavisk").status, 400);
    EXPECT_TRUE(get("/api/scripts").body["scripts"].empty());
    // A name of the pattern is pressed and unloaded through its address.
    ASSERT_EQ(load("Work_station-2", "Tavisk").status, 200);
    EXPECT_EQ(press("Work_station-2", "1", "WS_01").status, 200);
    EXPECT_EQ(del("/api/scripts/Work_station-2").status, 200);
}

TEST_F(serve_misuse_test, EventFeedsOfManyPagesLeaveTheApiAnswering) {
    std::vector<std::unique_ptr<raw_http>> feeds;
    for (int i = 0; i < 40; ++i) {
        feeds.push_back(std::make_unique<raw_http>(port()));
        ASSERT_TRUE(feeds.back()->send(request("GET", "/api/events")));
    }
    EXPECT_TRUE(apiAnswers(milliseconds(2000))) << "40 open feeds held the API";
    for (auto& feed : feeds) {
        const std::string answer = feed->readAnswer(milliseconds(2000));
        EXPECT_EQ(raw_http::statusOf(answer), 200);
        EXPECT_NE(answer.find("text/event-stream"), std::string::npos);
    }
}

TEST_F(serve_misuse_test, SlowClientsCannotHoldTheApi) {
    // Forty clients that send the start of a request and then nothing.
    std::vector<std::unique_ptr<raw_http>> slow;
    for (int i = 0; i < 40; ++i) {
        slow.push_back(std::make_unique<raw_http>(port()));
        ASSERT_TRUE(slow.back()->send("GET /api/scripts HTTP/1.1\r\nHost: 127.0.0.1\r\n"));
    }
    EXPECT_TRUE(apiAnswers(milliseconds(2000))) << "40 slow clients held the API";
}

TEST_F(serve_misuse_test, AKeptOpenConnectionGetsEachAnswerAtOnce) {
    ASSERT_EQ(load("ws", "Tavisk").status, 200);
    httplib::Client kept("127.0.0.1", port());
    kept.set_keep_alive(true);
    kept.set_tcp_nodelay(true);  // what the client sends goes out at once too
    ASSERT_TRUE(kept.Get("/api/scripts"));
    std::vector<long long> times;
    for (int i = 0; i < 15; ++i) {
        const auto start = clock_type::now();
        const auto answer = kept.Get("/api/scripts");
        ASSERT_TRUE(answer);
        times.push_back(
            std::chrono::duration_cast<std::chrono::microseconds>(clock_type::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    // An answer in two writes waits for the client's delayed acknowledgement
    // (40 ms and more); one that goes out at once takes a fraction of that.
    EXPECT_LT(times[times.size() / 2], 25000) << "median in microseconds";
}

TEST_F(serve_misuse_test, AHalfClosedRequestIsAnsweredAndCarriedOut) {
    ASSERT_EQ(load("ws", "Tavisk").status, 200);
    raw_http client(port());
    ASSERT_TRUE(
        client.send(jsonPost("/api/scripts/ws/press", R"({"panel":"1","control":"WS_01"})")));
    client.finishSending();
    const std::string answer = client.readAnswer();
    ASSERT_EQ(raw_http::statusOf(answer), 200) << answer;
    EXPECT_EQ(raw_http::bodyOf(answer)["commands"][0], "TP 'statesheet=alarm_alarm' '1' 'WS_01'");
    EXPECT_TRUE(client.closedWithin(milliseconds(2000)));

    // Every time: whether the close arrives before the server has answered or
    // after is the scheduler's choice, and neither may lose the answer.
    for (int i = 0; i < 8; ++i) {
        raw_http again(port());
        ASSERT_TRUE(again.send(request("GET", "/api/scripts")));
        again.finishSending();
        EXPECT_EQ(raw_http::statusOf(again.readAnswer()), 200) << "request " << i;
    }
}

TEST_F(serve_misuse_test, EachRefusalSaysWhatIsWrong) {
    struct misuse {
        std::string bytes;
        int status;
        std::string says;
    };
    const misuse cases[] = {
        {request("GET", "/nothing/here"), 404, "no such resource: 'GET /nothing/here'"},
        {request("PUT", "/api/scripts", "Content-Length: 0\r\n"), 405, "not PUT"},
        {"FETCH / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", 400, "not HTTP/1.1"},
        {request("GET", "/api/scripts", "Content-Length: 5\r\n", "hello"), 400,
         "a GET request takes no body"},
        {request("POST", "/api/record",
                 "Content-Type: application/json\r\nContent-Length: 2\r\nTransfer-Encoding: "
                 "chunked\r\n",
                 "{}"),
         400, "both a Content-Length and a Transfer-Encoding"},
        {request("POST", "/api/record",
                 "Content-Type: application/json\r\nTransfer-Encoding: gzip\r\n"),
         501, "the only transfer coding taken is chunked"},
        {request("POST", "/api/record",
                 "Content-Type: application/json\r\nContent-Encoding: gzip\r\nContent-Length: "
                 "2\r\n",
                 "{}"),
         415, "compressed"},
        {request("POST", "/api/record", "Content-Type: application/json\r\nContent-Length: x\r\n"),
         400, "Content-Length"},
        {jsonPost("/api/names/import", "{}"), 415, "must be sent as text/csv"},
        {jsonPost("/api/nothing", "{}"), 404, "no such resource: 'POST /api/nothing'"},
    };
    for (const misuse& m : cases) {
        raw_http client(port());
        ASSERT_TRUE(client.send(m.bytes));
        const std::string answer = client.readAnswer();
        EXPECT_EQ(raw_http::statusOf(answer), m.status) << m.bytes << "\n" << answer;
        const json body = raw_http::bodyOf(answer);
        ASSERT_TRUE(body.is_object()) << answer;
        EXPECT_NE(body.value("error", std::string()).find(m.says), std::string::npos)
            << m.bytes << "\n"
            << answer;
    }
    EXPECT_TRUE(apiAnswers(milliseconds(2000)));
}

// A server with small limits, to reach them.
class serve_limits_test : public serve_misuse_test {
  protected:
    void configureServer(kovo_serve::server_settings& settings) override {
        settings.limits.feeds = 3;
        settings.limits.connections = 12;
        settings.limits.stream.request = milliseconds(600);
    }
};

TEST_F(serve_limits_test, FeedsPastTheLimitAreRefusedSayingWhy) {
    std::vector<std::unique_ptr<raw_http>> feeds;
    for (int i = 0; i < 3; ++i) {
        feeds.push_back(std::make_unique<raw_http>(port()));
        ASSERT_TRUE(feeds.back()->send(request("GET", "/api/events")));
        EXPECT_EQ(raw_http::statusOf(feeds.back()->readAnswer(milliseconds(2000))), 200);
    }
    raw_http fourth(port());
    ASSERT_TRUE(fourth.send(request("GET", "/api/events")));
    const std::string refused = fourth.readAnswer();
    EXPECT_EQ(raw_http::statusOf(refused), 503) << refused;
    EXPECT_NE(
        raw_http::errorOf(refused).find("3 event feeds are open, as many as the server takes"),
        std::string::npos)
        << refused;
    EXPECT_TRUE(apiAnswers(milliseconds(2000)));

    // A page that goes away gives its feed back within moments.
    feeds.pop_back();
    bool reopened = false;
    for (int attempt = 0; attempt < 30 && !reopened; ++attempt) {
        raw_http again(port());
        ASSERT_TRUE(again.send(request("GET", "/api/events")));
        reopened = raw_http::statusOf(again.readAnswer(milliseconds(2000))) == 200;
        if (!reopened) {
            std::this_thread::sleep_for(milliseconds(100));
        }
    }
    EXPECT_TRUE(reopened);
}

TEST_F(serve_limits_test, ARequestMustArriveWholeInTime) {
    // A byte every 150 ms: each read gets something, but the whole request
    // takes longer than its 600 ms.
    raw_http trickle(port());
    const std::string line = request("GET", "/api/scripts");
    const auto start = clock_type::now();
    std::size_t at = 0;
    for (; at < line.size() && millisecondsSince(start) < 4000; ++at) {
        if (!trickle.send(line.substr(at, 1))) {
            break;
        }
        std::this_thread::sleep_for(milliseconds(150));
    }
    EXPECT_LT(at, line.size()) << "the whole request went through";
    const std::string answer = trickle.readAnswer(milliseconds(2000));
    EXPECT_EQ(raw_http::statusOf(answer), 408) << answer;
    EXPECT_NE(answer.find("did not arrive whole within 600 ms"), std::string::npos) << answer;
}

TEST_F(serve_limits_test, ConnectionsPastTheLimitAreRefusedSayingWhy) {
    std::vector<std::unique_ptr<raw_http>> open;
    for (int i = 0; i < 12; ++i) {
        open.push_back(std::make_unique<raw_http>(port()));
        ASSERT_TRUE(open.back()->send("GET /api/scripts HTTP/1.1\r\n"));
    }
    raw_http past(port());
    ASSERT_TRUE(past.send(request("GET", "/api/scripts")));
    const std::string refused = past.readAnswer();
    EXPECT_EQ(raw_http::statusOf(refused), 503) << refused;
    EXPECT_NE(refused.find("12 connections are open"), std::string::npos) << refused;
    open.clear();
    // Once they are gone (or timed out), requests are served again.
    bool served = false;
    for (int attempt = 0; attempt < 30 && !served; ++attempt) {
        std::this_thread::sleep_for(milliseconds(100));
        served = get("/api/scripts").status == 200;
    }
    EXPECT_TRUE(served);
}

}  // namespace
