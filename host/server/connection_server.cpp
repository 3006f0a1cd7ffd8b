#include "connection_server.h"

#include <condition_variable>
#include <deque>
#include <list>
#include <mutex>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

namespace kovo_serve {

namespace {

thread_local socket_stream* currentStream = nullptr;
thread_local bool currentOverLimit = false;

// A thread for each connection open at once, so that an event feed or a slow
// client never holds back another connection; a thread whose connection ended
// waits a while for the next one (a client that opens a connection a request
// starts no thread each time). Connections are counted as they are accepted,
// in order: one past the limit is told so on its thread.
class connection_threads : public httplib::TaskQueue {
  public:
    connection_threads(std::atomic<std::size_t>& open, std::size_t limit)
        : open_(open), limit_(limit) {}

    void enqueue(std::function<void()> fn) override {
        std::unique_lock<std::mutex> lock(mutex_);
        reap();
        jobs_.push_back({std::move(fn), ++open_ > limit_});
        if (jobs_.size() > idle_ && !start() && workers_.empty()) {
            // No thread to be had: served here, the next accept waiting.
            const job j = std::move(jobs_.back());
            jobs_.pop_back();
            lock.unlock();
            serve(j);
            return;
        }
        ready_.notify_one();
    }

    void shutdown() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        ready_.notify_all();
        for (worker& w : workers_) {
            w.thread.join();
        }
        workers_.clear();
    }

  private:
    struct job {
        std::function<void()> fn;
        bool over = false;
    };
    struct worker {
        std::thread thread;
        bool done = false;  // its loop has ended (guarded by mutex_)
    };

    void serve(const job& j) {
        currentOverLimit = j.over;
        j.fn();
        --open_;
    }

    bool start() {
        workers_.emplace_back();
        worker& w = workers_.back();
        try {
            w.thread = std::thread([this, &w] { work(w); });
            return true;
        } catch (const std::system_error&) {
            workers_.pop_back();
            return false;
        }
    }

    void work(worker& w) {
        std::unique_lock<std::mutex> lock(mutex_);
        while (true) {
            ++idle_;
            const bool woken =
                ready_.wait_for(lock, keepThread, [this] { return stopping_ || !jobs_.empty(); });
            --idle_;
            if (jobs_.empty()) {
                if (stopping_ || !woken) {
                    break;
                }
                continue;
            }
            const job j = std::move(jobs_.front());
            jobs_.pop_front();
            lock.unlock();
            serve(j);
            lock.lock();
        }
        w.done = true;
    }

    // Joins the threads whose loop has ended (called with mutex_ held).
    void reap() {
        for (auto w = workers_.begin(); w != workers_.end();) {
            if (w->done) {
                w->thread.join();
                w = workers_.erase(w);
            } else {
                ++w;
            }
        }
    }

    static constexpr std::chrono::seconds keepThread{10};
    std::atomic<std::size_t>& open_;
    const std::size_t limit_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<job> jobs_;
    std::size_t idle_ = 0;  // threads waiting for a connection
    bool stopping_ = false;
    std::list<worker> workers_;
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
