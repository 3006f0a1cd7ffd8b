#include "connection_server.h"

#include <list>
#include <mutex>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

namespace kovo_serve {

namespace {

thread_local socket_stream* currentStream = nullptr;
thread_local bool currentOverLimit = false;

// One thread per connection, joined when it ends or when the server stops.
// Connections are counted as they are accepted, in order (their threads may
// start in any order): one past the limit is told so on its thread.
class connection_threads : public httplib::TaskQueue {
  public:
    connection_threads(std::atomic<std::size_t>& open, std::size_t limit)
        : open_(open), limit_(limit) {}

    void enqueue(std::function<void()> fn) override {
        std::lock_guard<std::mutex> lock(mutex_);
        reap();
        const bool over = ++open_ > limit_;
        auto done = std::make_shared<std::atomic<bool>>(false);
        const auto serve = [this, fn, done, over] {
            currentOverLimit = over;
            fn();
            --open_;
            *done = true;
        };
        try {
            threads_.push_back({std::thread(serve), done});
        } catch (const std::system_error&) {
            serve();  // no thread to be had: served here, the next accept waiting
        }
    }

    void shutdown() override {
        std::lock_guard<std::mutex> lock(mutex_);
        for (running& r : threads_) {
            r.thread.join();
        }
        threads_.clear();
    }

  private:
    struct running {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };

    void reap() {
        for (auto r = threads_.begin(); r != threads_.end();) {
            if (*r->done) {
                r->thread.join();
                r = threads_.erase(r);
            } else {
                ++r;
            }
        }
    }

    std::atomic<std::size_t>& open_;
    const std::size_t limit_;
    std::mutex mutex_;
    std::list<running> threads_;
};

// What a request that never arrived whole gets (the library answers only a
// request whose first line it has read).
std::string timedOutAnswer(const stream_limits& limits) {
    const std::string body = nlohmann::json{{"error", lateRequestMessage(limits)}}.dump();
    return "HTTP/1.1 408 Request Timeout\r\nContent-Type: application/json\r\n"
           "Connection: close\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body;
}

}  // namespace

connection_server::connection_server(const connection_limits& limits) : limits_(limits) {
    new_task_queue = [this] { return new connection_threads(open_, limits_.connections); };
    // The listening socket: a second server on the same port must fail to
    // start, not share the connections (the library's own choice of options
    // would let it).
    set_socket_options([](socket_t sock) {
        kovo_os::setListeningOptions(static_cast<kovo_os::socket_handle>(sock));
    });
    set_keep_alive_timeout(
        std::chrono::duration_cast<std::chrono::seconds>(limits.stream.idle).count());
}

void connection_server::widenBacklog() {
    kovo_os::setListenBacklog(static_cast<kovo_os::socket_handle>(svr_sock_.load()), 128);
}

socket_stream* connection_server::current() {
    return currentStream;
}

bool connection_server::overLimit() {
    return currentOverLimit;
}

std::shared_ptr<feed_slot> connection_server::openFeed() {
    if (++feeds_ > limits_.feeds) {
        --feeds_;
        return nullptr;
    }
    return std::make_shared<feed_slot>(feeds_);
}

bool connection_server::process_and_close_socket(socket_t sock) {
    const auto handle = static_cast<kovo_os::socket_handle>(sock);
    kovo_os::setNoDelay(handle);
    socket_stream stream(handle, limits_.stream);
    currentStream = &stream;
    const auto running = [this] { return svr_sock_ != INVALID_SOCKET; };
    bool ok = true;
    for (std::size_t left = keep_alive_max_count_; left > 0 && stream.awaitRequest(running);
         --left) {
        bool closed = false;
        ok = process_request(stream, left == 1 || currentOverLimit, closed, nullptr);
        if (!stream.answered() && stream.timedOut()) {
            const std::string answer = timedOutAnswer(limits_.stream);
            stream.write(answer.data(), answer.size());
        }
        ok = stream.flush() && ok;
        if (!ok || closed || currentOverLimit || stream.closing()) {
            break;
        }
    }
    currentStream = nullptr;
    kovo_os::closeSocket(handle);
    return ok;
}

}  // namespace kovo_serve
