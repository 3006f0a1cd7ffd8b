// The HTTP library's server, with its connections handled by the emulator:
// each connection has a thread of its own (up to a limit), so an event feed
// or a slow client takes no thread that the API's requests need, and each is
// read and written through a socket_stream (time limits, one write per
// answer, an answer to a half-closed request). The listening socket shares
// its port with no other server.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

#include <httplib.h>

#include "server_limits.h"
#include "socket_stream.h"

namespace kovo_serve {

// Counts an open event feed while it lives.
class feed_slot {
  public:
    explicit feed_slot(std::atomic<std::size_t>& open) : open_(open) {}
    ~feed_slot() { --open_; }
    feed_slot(const feed_slot&) = delete;
    feed_slot& operator=(const feed_slot&) = delete;

  private:
    std::atomic<std::size_t>& open_;
};

class connection_server : public httplib::Server {
  public:
    explicit connection_server(const connection_limits& limits);

    // The connection whose request this thread handles (null on other threads).
    static socket_stream* current();
    // True when the current connection is one more than the limit allows: its
    // request is to be refused.
    static bool overLimit();

    // After binding: room for a burst of connections waiting to be accepted
    // (the library listens with a backlog of 5).
    void widenBacklog();
    // A slot for an event feed, held as long as it streams; null when as many
    // feeds are open as the limit allows.
    std::shared_ptr<feed_slot> openFeed();
    const connection_limits& limits() const { return limits_; }

  private:
    bool process_and_close_socket(socket_t sock) override;

    connection_limits limits_;
    std::atomic<std::size_t> open_{0};
    std::atomic<std::size_t> feeds_{0};
};

}  // namespace kovo_serve
