#include "http_api.h"

#include <climits>
#include <filesystem>
#include <map>
#include <utility>

#include <httplib.h>

#include "numbers.h"
#include "request_guard.h"
#include "script_writer.h"
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

// A request body read as a JSON object, and its fields; a missing or
// mistyped field is a refusal naming it.
class body_fields {
  public:
    explicit body_fields(const httplib::Request& req) {
        if (!req.body.empty()) {
            body_ = json::parse(req.body, nullptr, false);
        } else {
            body_ = json::object();
        }
        if (body_.is_discarded() || !body_.is_object()) {
            error_ = refusal(400, "the body must be a JSON object", "body");
        }
    }
    bool ok() const { return error_.status == 200; }
    const api_result& error() const { return error_; }
    bool has(const char* field) const { return ok() && body_.contains(field); }

    // Words of a session script line: no spaces, no control characters.
    std::string word(const char* field) {
        const std::string value = text(field, true);
        if (ok() && (value.empty() || value.find_first_of(" \t\r\n") != std::string::npos)) {
            fail(field, "must be a word without spaces");
        }
        return value;
    }
    // The rest of a line: anything but a line end.
    std::string text(const char* field, bool required) {
        if (!ok()) {
            return {};
        }
        if (!body_.contains(field)) {
            if (required) {
                fail(field, "is missing");
            }
            return {};
        }
        if (!body_[field].is_string()) {
            fail(field, "must be a string");
            return {};
        }
        const std::string value = body_[field].get<std::string>();
        if (!kovo_host::fitsOnLine(value)) {
            fail(field, "must not hold a line end");
        }
        return value;
    }
    int number(const char* field, bool required, int otherwise = 0) {
        if (!ok()) {
            return otherwise;
        }
        if (!body_.contains(field)) {
            if (required) {
                fail(field, "is missing");
            }
            return otherwise;
        }
        const json& value = body_[field];
        // (A number above the signed range is unsigned: read as signed it would wrap.)
        const bool outside =
            value.is_number_unsigned()
                ? value.get<unsigned long long>() > static_cast<unsigned long long>(INT_MAX)
                : value.is_number_integer() &&
                      (value.get<long long>() < INT_MIN || value.get<long long>() > INT_MAX);
        if (!value.is_number_integer() || outside) {
            fail(field, "must be a whole number");
            return otherwise;
        }
        return static_cast<int>(value.get<long long>());
    }
    bool flag(const char* field) {
        if (ok() && (!body_.contains(field) || !body_[field].is_boolean())) {
            fail(field, "must be true or false");
            return false;
        }
        return ok() && body_[field].get<bool>();
    }

  private:
    void fail(const char* field, const std::string& what) {
        error_ = refusal(400, std::string("the field ") + field + " " + what, field);
    }
    json body_;
    api_result error_;
};

// A query parameter as a number; false when present but not one.
bool queryNumber(const httplib::Request& req, const char* key, long long& value) {
    return !req.has_param(key) || kovo_host::parseDigits(req.get_param_value(key), value);
}

bool changesState(const std::string& method) {
    return method != "GET" && method != "HEAD" && method != "OPTIONS";
}

}  // namespace

std::string defaultWebRoot() {
    return (std::filesystem::path(KOVO_SERVE_WEB_DIR)).string();
}

http_api::http_api(serve_session& session, server_settings settings)
    : session_(session), settings_(std::move(settings)), server_(new httplib::Server) {
    // Every page holds one connection for the feed: room for a few pages and
    // their requests beside them.
    server_->new_task_queue = [] { return new httplib::ThreadPool(32); };
    server_->set_payload_max_length(settings_.maxBody);
    server_->set_keep_alive_timeout(2);
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
        error = "cannot listen on " + settings_.listen + " port " + std::to_string(settings_.port);
        return false;
    }
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

void http_api::routes() {
    httplib::Server& s = *server_;
    s.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        const request_guard guard(settings_.listen, port_);
        if (!guard.hostAllowed(req.get_header_value("Host"))) {
            reply(res, refusal(403, "the Host header does not name this server", "Host"));
            return httplib::Server::HandlerResponse::Handled;
        }
        if (changesState(req.method)) {
            if (!guard.originAllowed(req.get_header_value("Origin")) ||
                req.get_header_value("Sec-Fetch-Site") == "cross-site") {
                reply(res, refusal(403, "requests from another site's page may not change state",
                                   "Origin"));
                return httplib::Server::HandlerResponse::Handled;
            }
            // A plain form of another page cannot send JSON without asking first.
            // (The body is read after this check: its headers tell whether there is one.)
            const bool hasBody =
                req.has_header("Transfer-Encoding") ||
                (req.has_header("Content-Length") && req.get_header_value("Content-Length") != "0");
            const std::string wanted =
                req.path == "/api/names/import" ? "text/csv" : "application/json";
            if (hasBody &&
                req.get_header_value("Content-Type").compare(0, wanted.size(), wanted) != 0) {
                reply(res,
                      refusal(415, "the body must be sent as application/json", "Content-Type"));
                return httplib::Server::HandlerResponse::Handled;
            }
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    s.set_exception_handler(
        [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
            reply(res, refusal(500, "the request could not be carried out"));
        });
    s.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.body.empty()) {
            const std::string what = res.status == 413   ? "the body is too large"
                                     : res.status == 404 ? "no such resource"
                                                         : "the request was refused";
            reply(res, refusal(res.status, what, res.status == 413 ? "body" : ""));
        }
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
    s.Post("/api/scripts", [this](const httplib::Request& req, httplib::Response& res) {
        body_fields body(req);
        const std::string name = body.word("name");
        const std::string plugin = body.word("plugin");
        const int workstation = body.number("workstation", false, -1);
        if (body.ok() && body.has("workstation") && workstation < 0) {
            reply(res, refusal(400, "the field workstation must be 0 or more", "workstation"));
            return;
        }
        if (body.ok() && name.size() > 64) {
            reply(res, refusal(400, "the field name is longer than 64 characters", "name"));
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
    s.Post(R"(/api/scripts/([^/]+)/(press|choose|type|event))", [this](const httplib::Request& req,
                                                                       httplib::Response& res) {
        const std::string name = req.matches[1];
        const std::string what = req.matches[2];
        body_fields body(req);
        const std::string panel = body.word("panel");
        const std::string control = body.word("control");
        api_result result;
        if (what == "press") {
            result = body.ok() ? session_.press(name, panel, control) : body.error();
        } else if (what == "choose") {
            const int position = body.number("position", true);
            result = body.ok() ? session_.choose(name, panel, control, position) : body.error();
        } else {
            const std::string text = body.text("text", false);
            result = !body.ok()       ? body.error()
                     : what == "type" ? session_.type(name, panel, control, text)
                                      : session_.event(name, panel, control, text);
        }
        reply(res, std::move(result), wantsMinimal(req));
    });
    s.Post(R"(/api/scripts/([^/]+)/query)",
           [this](const httplib::Request& req, httplib::Response& res) {
               body_fields body(req);
               const bool hasText = body.has("text");
               const std::string text = body.text("text", false);
               reply(res, body.ok() ? session_.query(req.matches[1], text, hasText) : body.error(),
                     wantsMinimal(req));
           });
    s.Post("/api/rename", [this](const httplib::Request& req, httplib::Response& res) {
        body_fields body(req);
        const int device = body.number("device", true);
        const int database = body.number("database", true);
        const int index = body.number("index", true);
        const std::string name = body.text("name", true);
        reply(res, body.ok() ? session_.rename(device, database, index, name) : body.error(),
              wantsMinimal(req));
    });
    s.Post("/api/names/import", [this](const httplib::Request& req, httplib::Response& res) {
        const std::string dry = req.get_param_value("dry-run");
        reply(res, session_.importNames(req.body, dry == "1" || dry == "true"), wantsMinimal(req));
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
    s.Post("/api/record", [this](const httplib::Request& req, httplib::Response& res) {
        body_fields body(req);
        const bool on = body.flag("on");
        reply(res, body.ok() ? session_.setRecording(on) : body.error());
    });
    s.Get("/api/record", [this](const httplib::Request&, httplib::Response& res) {
        res.set_header("Cache-Control", "no-store");
        res.set_header("Content-Disposition", "attachment; filename=\"recorded.kovo\"");
        res.set_content(session_.recording(), "text/plain; charset=utf-8");
    });
    s.Get("/api/events", [this](const httplib::Request&, httplib::Response& res) {
        res.set_header("Cache-Control", "no-store");
        res.set_chunked_content_provider(
            "text/event-stream", [this](std::size_t, httplib::DataSink& sink) {
                std::uint64_t seq = 0;
                std::string first = "data: " + session_.snapshot(seq) + "\n\n";
                if (!sink.write(first.data(), first.size())) {
                    return false;
                }
                while (true) {
                    bool lost = false, stopping = false;
                    const std::vector<feed_message> messages =
                        session_.messagesAfter(seq, std::chrono::seconds(10), lost, stopping);
                    if (stopping) {
                        sink.done();
                        return true;
                    }
                    std::string out;
                    if (lost) {
                        // Too far behind: start again from the whole state.
                        out = "data: " + session_.snapshot(seq) + "\n\n";
                    } else if (messages.empty()) {
                        out = ": still here\n\n";  // finds connections that went away
                    } else {
                        for (const feed_message& m : messages) {
                            out += "id: " + std::to_string(m.seq) + "\ndata: " + m.data + "\n\n";
                        }
                        seq = messages.back().seq;
                    }
                    if (!sink.write(out.data(), out.size())) {
                        return false;
                    }
                }
            });
    });
}

}  // namespace kovo_serve
