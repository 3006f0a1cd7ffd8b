// The emulator's HTTP side: the page's files, the JSON API under /api/ and the
// live feed of changes (Server-Sent Events), in front of one serve_session.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "serve_session.h"
#include "server_limits.h"

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

namespace kovo_serve {

class connection_server;

// The page's files in the source tree.
std::string defaultWebRoot();

struct server_settings {
    std::string listen = "127.0.0.1";
    int port = 8080;                // 0: any free port
    std::string webRoot;            // folder of the page's files
    std::size_t maxBody = 1 << 20;  // larger request bodies are refused (413), unread
    connection_limits limits;       // connections, feeds, time limits
};

class http_api {
  public:
    http_api(serve_session& session, server_settings settings);
    ~http_api();
    http_api(const http_api&) = delete;
    http_api& operator=(const http_api&) = delete;

    // Binds the address; false with a message. port() is then known.
    bool bind(std::string& error);
    int port() const { return port_; }
    // Serves until stop(); blocks.
    void run();
    void stop();

  private:
    using body_handler = std::function<void(const httplib::Request& req, const std::string& body,
                                            httplib::Response& res)>;
    void routes();
    // A POST route: its body read no further than the limit, then handled.
    void post(const std::string& pattern, const body_handler& handler);
    // What every request must pass before anything else is read of it: the
    // connection limit, the Host and Origin checks, the body's announcement.
    // False with the refusal in res.
    bool admitted(const httplib::Request& req, httplib::Response& res) const;

    serve_session& session_;
    server_settings settings_;
    std::unique_ptr<connection_server> server_;
    int port_ = 0;
};

}  // namespace kovo_serve
