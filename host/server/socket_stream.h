// One connection of the emulator's server, as the HTTP library reads and
// writes it. Unlike the library's own stream:
// - a request must arrive whole within its time limit, so a client that sends
//   a byte now and then cannot hold a thread;
// - an answer goes out in one write (its headers wait for the start of its body);
// - a peer that has closed its sending side after a request still gets the
//   answer (the library's stream took that for a connection gone);
// - a request may be declared to have no body, and reading it then ends at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include <httplib.h>

#include "kovo_os_net.h"
#include "server_limits.h"

namespace kovo_serve {

class socket_stream : public httplib::Stream {
  public:
    socket_stream(kovo_os::socket_handle socket, const stream_limits& limits);

    // Waits for the next request; false when the connection ended, stayed idle
    // too long, or running() turned false.
    bool awaitRequest(const std::function<bool()>& running);
    // Sends what is held; false when it cannot be sent.
    bool flush();

    // Reading the body of the request ends at once (a request without one).
    void endBody() { bodyEnded_ = true; }
    // The connection closes after this answer (a body left unread, a refusal).
    void closeAfterAnswer() { closing_ = true; }
    bool closing() const { return closing_; }
    // The request did not arrive whole within its time.
    bool timedOut() const { return timedOut_; }
    // The answer is an endless feed: a peer that finished sending is gone.
    void streamsFeed() { feed_ = true; }
    // Some of this request's answer has been written (or is held).
    bool answered() const { return written_ > 0; }

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override;

  private:
    // Reads more of the request: bytes read, 0 at its end, -1 on an error or
    // when its time is up.
    std::int64_t fill();
    bool sendAll(const char* data, std::size_t size);

    kovo_os::socket_handle socket_;
    stream_limits limits_;
    std::chrono::steady_clock::time_point deadline_;
    std::string in_;  // read and not yet taken
    std::size_t inAt_ = 0;
    std::string held_;         // the start of an answer, waiting for the rest
    bool holding_ = true;      // the next write is held
    std::size_t written_ = 0;  // of this answer
    bool bodyEnded_ = false;
    bool closing_ = false;
    bool timedOut_ = false;
    bool failed_ = false;
    bool feed_ = false;
};

}  // namespace kovo_serve
