#include "socket_stream.h"

#include <algorithm>
#include <cstring>

namespace kovo_serve {

namespace {

using clock_type = std::chrono::steady_clock;

// How often a wait between requests looks whether the server still runs.
constexpr std::chrono::milliseconds runningCheck{200};
constexpr std::size_t readChunk = 16384;

int millisecondsUntil(clock_type::time_point when) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(when - clock_type::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

}  // namespace

socket_stream::socket_stream(kovo_os::socket_handle socket, const stream_limits& limits)
    : socket_(socket), limits_(limits), deadline_(clock_type::now() + limits.request) {}

bool socket_stream::awaitRequest(const std::function<bool()>& running) {
    bodyEnded_ = false;
    holding_ = true;
    written_ = 0;
    if (closing_ || failed_ || timedOut_) {
        return false;
    }
    const auto idleUntil = clock_type::now() + limits_.idle;
    while (inAt_ == in_.size() && running()) {
        const int left = millisecondsUntil(idleUntil);
        if (left == 0) {
            return false;
        }
        const auto ready =
            kovo_os::waitReadable(socket_, std::min(left, static_cast<int>(runningCheck.count())));
        if (ready == kovo_os::wait_result::failed) {
            return false;
        }
        if (ready == kovo_os::wait_result::ready) {
            break;
        }
    }
    // The request's time runs from its first byte.
    deadline_ = clock_type::now() + limits_.request;
    return running();
}

std::int64_t socket_stream::fill() {
    // Something held (a "100 Continue") must reach the client before it sends on;
    // the answer that follows is held again.
    if (!held_.empty()) {
        if (!flush()) {
            return -1;
        }
        holding_ = true;
    }
    const auto ready = kovo_os::waitReadable(socket_, millisecondsUntil(deadline_));
    if (ready != kovo_os::wait_result::ready) {
        timedOut_ = ready == kovo_os::wait_result::timeout;
        return -1;
    }
    in_.resize(readChunk);
    inAt_ = 0;
    const std::int64_t got = kovo_os::receiveSome(socket_, &in_[0], in_.size());
    in_.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return got;
}

bool socket_stream::is_readable() const {
    return bodyEnded_ || inAt_ < in_.size() ||
           kovo_os::waitReadable(socket_, millisecondsUntil(deadline_)) ==
               kovo_os::wait_result::ready;
}

ssize_t socket_stream::read(char* ptr, size_t size) {
    if (bodyEnded_) {
        return 0;
    }
    if (inAt_ == in_.size()) {
        const std::int64_t got = fill();
        if (got <= 0) {
            return static_cast<ssize_t>(got);
        }
    }
    const std::size_t taken = std::min(size, in_.size() - inAt_);
    std::memcpy(ptr, in_.data() + inAt_, taken);
    inAt_ += taken;
    return static_cast<ssize_t>(taken);
}

bool socket_stream::is_writable() const {
    // A feed's page that went away shows as its end of sending; an answer to an
    // ordinary request goes out whether or not the client sends more.
    return !failed_ && !(feed_ && kovo_os::peerFinishedSending(socket_));
}

ssize_t socket_stream::write(const char* ptr, size_t size) {
    if (failed_) {
        return -1;
    }
    written_ += size;
    held_.append(ptr, size);
    if (holding_) {
        holding_ = false;  // the headers: they go out with the body's first part
        return static_cast<ssize_t>(size);
    }
    return flush() ? static_cast<ssize_t>(size) : -1;
}

bool socket_stream::flush() {
    if (!held_.empty() && !sendAll(held_.data(), held_.size())) {
        failed_ = true;
    }
    held_.clear();
    return !failed_;
}

bool socket_stream::sendAll(const char* data, std::size_t size) {
    while (size > 0) {
        if (kovo_os::waitWritable(socket_, static_cast<int>(limits_.write.count())) !=
            kovo_os::wait_result::ready) {
            return false;
        }
        const std::int64_t sent = kovo_os::sendSome(socket_, data, size);
        if (sent <= 0) {
            return false;
        }
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

void socket_stream::get_remote_ip_and_port(std::string& ip, int& port) const {
    kovo_os::peerAddress(socket_, ip, port);
}

void socket_stream::get_local_ip_and_port(std::string& ip, int& port) const {
    kovo_os::localAddress(socket_, ip, port);
}

socket_t socket_stream::socket() const {
    return static_cast<socket_t>(socket_);
}

}  // namespace kovo_serve
