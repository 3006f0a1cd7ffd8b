// A client that sends exactly the bytes it is given, when it is told to, and
// reads what comes back: requests no HTTP library would send (cut short,
// half-closed, chunked past the limit, trickled).
#pragma once

#include <chrono>
#include <cstdlib>
#include <string>

#include <nlohmann/json.hpp>

#include "kovo_os_net.h"

class raw_http {
  public:
    explicit raw_http(int port) {
        std::string error;
        socket_ = kovo_os::connectTo("127.0.0.1", port, error);
    }
    ~raw_http() {
        if (connected()) {
            kovo_os::closeSocket(socket_);
        }
    }
    raw_http(const raw_http&) = delete;
    raw_http& operator=(const raw_http&) = delete;

    bool connected() const { return socket_ != kovo_os::noSocket; }

    bool send(const std::string& bytes) {
        std::size_t at = 0;
        while (at < bytes.size()) {
            const auto sent = kovo_os::sendSome(socket_, bytes.data() + at, bytes.size() - at);
            if (sent <= 0) {
                return false;
            }
            at += static_cast<std::size_t>(sent);
        }
        return true;
    }
    void finishSending() { kovo_os::finishSending(socket_); }

    // What arrives until a whole answer is in (its headers and as much body as
    // its Content-Length says), the server closes, or `within` has passed.
    std::string readAnswer(std::chrono::milliseconds within = std::chrono::seconds(5)) {
        const auto until = std::chrono::steady_clock::now() + within;
        while (!whole() && !ended_) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            if (left.count() <= 0 ||
                kovo_os::waitReadable(socket_, static_cast<int>(left.count())) !=
                    kovo_os::wait_result::ready) {
                break;
            }
            char buffer[16384];
            const auto got = kovo_os::receiveSome(socket_, buffer, sizeof buffer);
            if (got <= 0) {
                ended_ = true;
                break;
            }
            in_.append(buffer, static_cast<std::size_t>(got));
        }
        std::string answer = in_;
        in_.clear();
        return answer;
    }
    // True when the server closed the connection within `within`.
    bool closedWithin(std::chrono::milliseconds within) {
        readAnswer(within);
        return ended_;
    }

    static int statusOf(const std::string& answer) {
        return answer.compare(0, 9, "HTTP/1.1 ") == 0 ? std::atoi(answer.c_str() + 9) : 0;
    }
    static nlohmann::json bodyOf(const std::string& answer) {
        const std::size_t start = answer.find("\r\n\r\n");
        return start == std::string::npos
                   ? nlohmann::json()
                   : nlohmann::json::parse(answer.substr(start + 4), nullptr, false);
    }
    // The answer's "error", empty when it has none.
    static std::string errorOf(const std::string& answer) {
        const nlohmann::json body = bodyOf(answer);
        return body.is_object() ? body.value("error", std::string()) : std::string();
    }

  private:
    bool whole() const {
        const std::size_t end = in_.find("\r\n\r\n");
        if (end == std::string::npos) {
            return false;
        }
        const std::string headers = in_.substr(0, end);
        const std::size_t length = headers.find("Content-Length: ");
        const std::size_t expected = length == std::string::npos
                                         ? 0
                                         : std::strtoul(headers.c_str() + length + 16, nullptr, 10);
        return in_.size() >= end + 4 + expected;
    }

    kovo_os::socket_handle socket_ = kovo_os::noSocket;
    std::string in_;
    bool ended_ = false;
};
