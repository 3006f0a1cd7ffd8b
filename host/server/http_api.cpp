#include "http_api.h"

#include <climits>
#include <cstdint>
#include <filesystem>
#include <map>
#include <utility>

#include <httplib.h>

#include "body_fields.h"
#include "connection_server.h"
#include "kovo_os_net.h"
#include "numbers.h"
#include "request_body.h"
#include "request_guard.h"
#include "text.h"
#include "text_file.h"

namespace kovo_serve {

namespace {

// The page's files: nothing else under / is served, so no request names a path.
const std::map<std::string, std::pair<const char*, const char*>> pageFiles = {
    {"/", {"index.html", "text/html; charset=utf-8"}},
    {"/index.html", {"index.html", "text/html; charset=utf-8"}},
    {"/app.js", {"app.js", "text/javascript; charset=utf-8"}},
    {"/panels.js", {"panels.js", "text/javascript; charset=utf-8"}},
    {"/panes.js", {"panes.js", "text/javascript; charset=utf-8"}},
    {"/text_fit.js", {"text_fit.js", "text/javascript; charset=utf-8"}},
    {"/virtual_list.js", {"virtual_list.js", "text/javascript; charset=utf-8"}},
    {"/style.css", {"style.css", "text/css; charset=utf-8"}},
};

// An action answers with the commands it caused. A client that draws from the
// feed instead (the page) sends "Prefer: return=minimal" and gets only their
// number: a step that fills a list of thousands is then not sent twice.
bool wantsMinimal(const httplib::Request& req) {
    return req.get_header_value("Prefer").find("return=minimal") != std::string::npos;
}

void reply(httplib::Response& res, api_result result, bool minimal = false) {
    if (result.acted && minimal) {
        result.body["commandCount"] = result.commands.size();
        res.set_header("Preference-Applied", "return=minimal");
    } else if (result.acted) {
        result.body["commands"] = std::move(result.commands);
    }
    res.status = result.status;
    res.set_header("Cache-Control", "no-store");
    res.set_content(result.body.dump(-1, ' ', false, json::error_handler_t::replace),
                    "application/json");
}

// A query parameter as a number; false when present but not one.
bool queryNumber(const httplib::Request& req, const char* key, long long& value) {
    return !req.has_param(key) || kovo_host::parseDigits(req.get_param_value(key), value);
}

bool changesState(const std::string& method) {
    return method != "GET" && method != "HEAD" && method != "OPTIONS";
}

// What a status the library sets by itself means, in the words of a refusal.
api_result libraryRefusal(const httplib::Request& req, int status, const stream_limits& limits) {
    switch (status) {
        case 400:
            return refusal(400,
                           "the request is not HTTP/1.1: its first line (METHOD PATH "
                           "HTTP/1.1) or a header cannot be read");
        case 404:
            return refusal(
                404, "no such resource: " + kovo_host::quotedStart(req.method + " " + req.path) +
                         " (the page is at /, the API under /api/)");
        case 408:
            return refusal(408, lateRequestMessage(limits));
        case 414:
            return refusal(414, "the request's first line is longer than the server reads");
        case 416:
            return refusal(416, "the Range header asks for bytes the answer does not have");
        default:
            return refusal(status, "the request could not be carried out (HTTP status " +
                                       std::to_string(status) + ")");
    }
}

// A connection handled as the emulator's server handles them (always, but for
// a request the library answers before it reaches the emulator's code).
socket_stream* connection() {
    return connection_server::current();
}

}  // namespace

std::string defaultWebRoot() {
    return (std::filesystem::path(KOVO_SERVE_WEB_DIR)).string();
}

http_api::http_api(serve_session& session, server_settings settings)
    : session_(session),
      settings_(std::move(settings)),
      server_(new connection_server(settings_.limits)) {
    // A page and its requests come over kept-open connections, each with a
    // thread of its own: it may serve many requests.
    server_->set_keep_alive_max_count(10000);
    server_->set_tcp_nodelay(true);
    routes();
}

http_api::~http_api() {
    stop();
}

bool http_api::bind(std::string& error) {
    if (settings_.port == 0) {
        port_ = server_->bind_to_any_port(settings_.listen);
    } else if (server_->bind_to_port(settings_.listen, settings_.port)) {
        port_ = settings_.port;
    } else {
        port_ = -1;
    }
    if (port_ <= 0) {
        const std::string why = kovo_os::listenProblem(settings_.listen, settings_.port);
        error = "cannot listen on " + settings_.listen + " port " + std::to_string(settings_.port) +
                (why.empty() ? std::string() : ": " + why) +
                (settings_.port != 0 ? " (another kovo-host serve? --port chooses another)" : "");
        return false;
    }
    server_->widenBacklog();
    return true;
}

void http_api::run() {
    server_->listen_after_bind();
}

void http_api::stop() {
    if (server_ && server_->is_running()) {
        server_->stop();
    }
}

bool http_api::admitted(const httplib::Request& req, httplib::Response& res) const {
    const body_verdict body = judgeBody(req, settings_.maxBody);
    api_result refused;
    const request_guard guard(settings_.listen, port_);
    if (connection_server::overLimit()) {
        refused = refusal(503, std::to_string(settings_.limits.connections) +
                                   " connections are open, as many as the server takes: try "
                                   "again when some have closed");
    } else if (!guard.hostAllowed(req.get_header_value("Host"))) {
        refused = refusal(403, "the Host header does not name this server", "Host");
    } else if (changesState(req.method) &&
               (!guard.originAllowed(req.get_header_value("Origin")) ||
                req.get_header_value("Sec-Fetch-Site") == "cross-site")) {
        refused = refusal(403, "requests from another site's page may not change state", "Origin");
    } else if (body.refused.status != 200) {
        refused = body.refused;
    } else if (body.unread) {
        // A plain form of another page cannot send JSON without asking first.
        const std::string wanted =
            req.path == "/api/names/import" ? "text/csv" : "application/json";
        if (req.get_header_value("Content-Type").compare(0, wanted.size(), wanted) != 0) {
            refused = refusal(415, "the body must be sent as " + wanted, "Content-Type");
        }
    }
    socket_stream* stream = connection();
    if (refused.status != 200) {
        reply(res, refused);
        if (stream != nullptr && body.unread) {
            stream->closeAfterAnswer();  // the body stays unread
        }
        return false;
    }
    if (stream != nullptr && body.none) {
        stream->endBody();
    }
    return true;
}

void http_api::post(const std::string& pattern, const body_handler& handler) {
    server_->Post(pattern, [this, handler](const httplib::Request& req, httplib::Response& res,
                                           const httplib::ContentReader& reader) {
        std::string body;
        const api_result refused = readBody(reader, settings_.maxBody, body);
        if (refused.status != 200) {
            socket_stream* stream = connection();
            if (stream != nullptr) {
                stream->closeAfterAnswer();  // the rest of the body stays unread
            }
            reply(res, stream != nullptr && stream->timedOut()
                           ? libraryRefusal(req, 408, settings_.limits.stream)
                           : refused);
            return;
        }
        handler(req, body, res);
    });
}

void http_api::routes() {
    connection_server& s = *server_;
    s.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        return admitted(req, res) ? httplib::Server::HandlerResponse::Unhandled
                                  : httplib::Server::HandlerResponse::Handled;
    });
    // A client that asks before sending its body is told the refusal instead.
    s.set_expect_100_continue_handler([this](const httplib::Request& req, httplib::Response& res) {
        if (admitted(req, res)) {
            return 100;
        }
        if (connection() != nullptr) {
            connection()->closeAfterAnswer();
        }
        return res.status;
    });
    s.set_exception_handler(
        [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
            reply(res, refusal(500, "the request could not be carried out"));
        });
    s.set_error_handler([this](const httplib::Request& req, httplib::Response& res) {
        if (!res.body.empty()) {
            return;
        }
        socket_stream* stream = connection();
        const bool late = stream != nullptr && stream->timedOut();
        // After a request that could not be read, where the next one starts is unknown.
        if (stream != nullptr && (late || res.status == 400 || res.status == 414)) {
            stream->closeAfterAnswer();
        }
        reply(res, libraryRefusal(req, late ? 408 : res.status, settings_.limits.stream));
    });

    for (const auto& file : pageFiles) {
        const std::string path =
            (std::filesystem::path(settings_.webRoot) / file.second.first).string();
        const char* type = file.second.second;
        s.Get(file.first, [path, type](const httplib::Request&, httplib::Response& res) {
            std::string text;
            if (!kovo_host::readWholeFile(path, text)) {
                reply(res, refusal(500, "the page's file is missing from the installation"));
                return;
            }
            res.set_header("Cache-Control", "no-store");
            res.set_content(text, type);
        });
    }

    s.Get("/api/state", [this](const httplib::Request&, httplib::Response& res) {
        std::uint64_t seq = 0;
        res.set_header("Cache-Control", "no-store");
        res.set_content(session_.snapshot(seq), "application/json");
    });
    s.Get("/api/scripts", [this](const httplib::Request&, httplib::Response& res) {
        reply(res, session_.scripts());
    });
    s.Get("/api/plugins", [this](const httplib::Request&, httplib::Response& res) {
        reply(res, session_.plugins());
    });
    post("/api/scripts",
         [this](const httplib::Request& req, const std::string& text, httplib::Response& res) {
             body_fields body(text);
             const std::string name = body.word("name");
             const std::string plugin = body.word("plugin");
             const int workstation = body.number("workstation", false, -1);
             if (body.ok() && body.has("workstation") && workstation < 0) {
                 reply(res, refusal(400, "the field workstation must be 0 or more", "workstation"));
                 return;
             }
             reply(res, body.ok() ? session_.load(name, plugin, workstation) : body.error(),
                   wantsMinimal(req));
         });
    s.Delete(R"(/api/scripts/([^/]+))",
             [this](const httplib::Request& req, httplib::Response& res) {
                 reply(res, session_.unload(req.matches[1]), wantsMinimal(req));
             });
    s.Get(R"(/api/scripts/([^/]+)/panel)",
          [this](const httplib::Request& req, httplib::Response& res) {
              reply(res, session_.panel(req.matches[1]));
          });
    post(R"(/api/scripts/([^/]+)/(press|choose|type|event))",
         [this](const httplib::Request& req, const std::string& text, httplib::Response& res) {
             const std::string name = req.matches[1];
             const std::string what = req.matches[2];
             body_fields body(text);
             const std::string panel = body.word("panel");
             const std::string control = body.word("control");
             api_result result;
             if (what == "press") {
                 result = body.ok() ? session_.press(name, panel, control) : body.error();
             } else if (what == "choose") {
                 const int position = body.number("position", true);
                 result =
                     body.ok() ? session_.choose(name, panel, control, position) : body.error();
             } else {
                 const std::string typed = body.text("text", false);
                 result = !body.ok()       ? body.error()
                          : what == "type" ? session_.type(name, panel, control, typed)
                                           : session_.event(name, panel, control, typed);
             }
             reply(res, std::move(result), wantsMinimal(req));
         });
    post(R"(/api/scripts/([^/]+)/query)",
         [this](const httplib::Request& req, const std::string& text, httplib::Response& res) {
             body_fields body(text);
             const bool hasText = body.has("text");
             const std::string asked = body.text("text", false);
             reply(res, body.ok() ? session_.query(req.matches[1], asked, hasText) : body.error(),
                   wantsMinimal(req));
         });
    post("/api/rename",
         [this](const httplib::Request& req, const std::string& text, httplib::Response& res) {
             body_fields body(text);
             const int device = body.number("device", true);
             const int database = body.number("database", true);
             const int index = body.number("index", true);
             // Any text: the simulator checks it as a names import checks a name.
             const std::string name = body.anyText("name", true);
             reply(res, body.ok() ? session_.rename(device, database, index, name) : body.error(),
                   wantsMinimal(req));
         });
    post("/api/names/import",
         [this](const httplib::Request& req, const std::string& csv, httplib::Response& res) {
             const std::string dry = req.get_param_value("dry-run");
             reply(res, session_.importNames(csv, dry == "1" || dry == "true"), wantsMinimal(req));
         });
    s.Get("/api/devices", [this](const httplib::Request&, httplib::Response& res) {
        reply(res, session_.devices());
    });
    s.Get("/api/names", [this](const httplib::Request& req, httplib::Response& res) {
        long long device = -1, database = 0;
        if (!req.has_param("device") || !queryNumber(req, "device", device) || device > INT_MAX) {
            reply(res, refusal(400, "the parameter device must be a device number", "device"));
            return;
        }
        if (!queryNumber(req, "database", database) || database > INT_MAX) {
            reply(res, refusal(400, "the parameter database must be a number", "database"));
            return;
        }
        reply(res, session_.names(static_cast<int>(device), static_cast<int>(database),
                                  req.get_param_value("search")));
    });
    s.Get("/api/requests", [this](const httplib::Request&, httplib::Response& res) {
        reply(res, session_.requests());
    });
    s.Get("/api/transcript", [this](const httplib::Request& req, httplib::Response& res) {
        long long since = 0;
        if (!queryNumber(req, "since", since)) {
            reply(res, refusal(400, "the parameter since must be a number", "since"));
            return;
        }
        reply(res, session_.transcript(static_cast<std::uint64_t>(since),
                                       req.get_param_value("script")));
    });
    post("/api/record",
         [this](const httplib::Request&, const std::string& text, httplib::Response& res) {
             body_fields body(text);
             const bool on = body.flag("on");
             reply(res, body.ok() ? session_.setRecording(on) : body.error());
         });
    s.Get("/api/record", [this](const httplib::Request&, httplib::Response& res) {
        res.set_header("Cache-Control", "no-store");
        res.set_header("Content-Disposition", "attachment; filename=\"recorded.kovo\"");
        res.set_content(session_.recording(), "text/plain; charset=utf-8");
    });
    s.Get("/api/events", [this](const httplib::Request&, httplib::Response& res) {
        // Each feed holds its connection's thread; their number is bounded
        // apart from the connections, so the API keeps room beside them.
        std::shared_ptr<feed_slot> slot = server_->openFeed();
        if (!slot) {
            reply(res, refusal(503, std::to_string(settings_.limits.feeds) +
                                        " event feeds are open, as many as the server takes "
                                        "(each open page holds one): close a page"));
            return;
        }
        if (connection() != nullptr) {
            connection()->streamsFeed();
        }
        res.set_header("Cache-Control", "no-store");
        res.set_chunked_content_provider(
            "text/event-stream", [this, slot](std::size_t, httplib::DataSink& sink) {
                std::uint64_t seq = 0;
                std::string first = "data: " + session_.snapshot(seq) + "\n\n";
                if (!sink.write(first.data(), first.size())) {
                    return false;
                }
                auto written = std::chrono::steady_clock::now();
                while (true) {
                    bool lost = false, stopping = false;
                    const std::vector<feed_message> messages =
                        session_.messagesAfter(seq, std::chrono::seconds(1), lost, stopping);
                    if (stopping) {
                        sink.done();
                        return true;
                    }
                    std::string out;
                    if (lost) {
                        // Too far behind: start again from the whole state.
                        out = "data: " + session_.snapshot(seq) + "\n\n";
                    } else if (messages.empty()) {
                        // A page that went away gives its feed back within a second;
                        // one behind a proxy that keeps the connection learns within ten.
                        if (!sink.is_writable()) {
                            return false;
                        }
                        if (std::chrono::steady_clock::now() - written < std::chrono::seconds(10)) {
                            continue;
                        }
                        out = ": still here\n\n";
                    } else {
                        for (const feed_message& m : messages) {
                            out += "id: " + std::to_string(m.seq) + "\ndata: " + m.data + "\n\n";
                        }
                        seq = messages.back().seq;
                    }
                    if (!sink.write(out.data(), out.size())) {
                        return false;
                    }
                    written = std::chrono::steady_clock::now();
                }
            });
    });
    // A POST to no route is refused before its body is read.
    s.Post(".*", [this](const httplib::Request& req, httplib::Response& res,
                        const httplib::ContentReader&) {
        if (connection() != nullptr) {
            connection()->closeAfterAnswer();
        }
        reply(res, libraryRefusal(req, 404, settings_.limits.stream));
    });
}

}  // namespace kovo_serve
