// The session's core: the lock over the model, the clock thread, the feed of
// published messages, and what a refusal of the simulator answers.
#include "serve_session.h"

#include <algorithm>

namespace kovo_serve {

namespace {

// The feed keeps this many messages, the pages this many transcript entries.
constexpr std::size_t feedKept = 2000;
constexpr std::size_t transcriptKept = 20000;

// Texts from the plug-ins need not be valid UTF-8: such bytes are replaced, not fatal.
std::string dumpJson(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace

api_result refusal(int status, const std::string& message, const std::string& field) {
    api_result result;
    result.status = status;
    result.body = {{"error", message}};
    if (!field.empty()) {
        result.body["field"] = field;
    }
    return result;
}

api_result refusalOf(const kovo_host::host_error& error) {
    using kovo_host::error_kind;
    struct answer {
        error_kind kind;
        int status;
        const char* field;
    };
    static const answer answers[] = {
        {error_kind::no_script, 404, "script"},
        {error_kind::no_panel, 404, "panel"},
        {error_kind::no_control, 404, "control"},
        {error_kind::no_device, 404, "device"},
        {error_kind::no_database, 404, "database"},
        {error_kind::no_index, 404, "index"},
        {error_kind::refused, 409, ""},
        {error_kind::name_taken, 409, "name"},
        {error_kind::bad_name, 400, "name"},
        {error_kind::bad_input, 400, "body"},
    };
    for (const answer& known : answers) {
        if (known.kind == error.kind) {
            return refusal(known.status, error.message, known.field);
        }
    }
    return refusal(500, error.message);  // unusable: a plug-in, site or store
}

serve_session::serve_session(kovo_host::simulator_options options)
    : sim_(std::move(options)),
      transcript_(sim_.log(), transcriptKept),
      started_(std::chrono::steady_clock::now()) {}

serve_session::~serve_session() {
    stop();
}

bool serve_session::start(std::string& error) {
    std::lock_guard<std::mutex> lock(model_);
    if (!sim_.useSite(sim_.options().siteDir, error)) {
        return false;
    }
    // Opening the store now reports a store that cannot be used before anyone connects.
    std::string name;
    bool found = false;
    if (!sim_.storedName(0, 0, 0, name, found, error)) {
        return false;
    }
    transcript_.start();
    sim_.log().setObserver([this](const kovo_host::transcript_entry& e) { observe(e); });
    started_ = std::chrono::steady_clock::now();
    clock_ = std::thread([this] { clockLoop(); });
    return true;
}

void serve_session::stop() {
    {
        std::lock_guard<std::mutex> lock(model_);
        if (stopping_) {
            return;
        }
        stopping_ = true;
    }
    clockWake_.notify_all();
    if (clock_.joinable()) {
        clock_.join();
    }
    {
        std::lock_guard<std::mutex> feed(feedMutex_);
        feedStopping_ = true;
    }
    feedChanged_.notify_all();
    std::lock_guard<std::mutex> lock(model_);
    sim_.unloadAll();
    sim_.log().setObserver(nullptr);
}

long long serve_session::elapsed() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 started_)
        .count();
}

void serve_session::observe(const kovo_host::transcript_entry& entry) {
    if (entry.kind == kovo_host::entry_kind::command) {
        actionCommands_.push_back(entry.text);
        recorder_.commandSent(entry.text);
        if (entry.text.compare(0, 3, "RM ") == 0) {
            namesChanged_ = true;
        }
    }
}

void serve_session::catchUp() {
    const long long now = elapsed();
    if (now > sim_.now()) {
        sim_.advance(now - sim_.now());
    }
    const auto& requests = sim_.pxRequests();
    for (std::size_t i = requestsRecorded_; i < requests.size(); ++i) {
        recorder_.requestReached(requests[i].workstation, requests[i].text);
    }
    requestsRecorded_ = requests.size();
}

void serve_session::clockLoop() {
    std::unique_lock<std::mutex> lock(model_);
    while (!stopping_) {
        catchUp();
        publishChanges();
        const long long due = sim_.nextTimerDue();
        if (due < 0) {
            clockWake_.wait(lock);
        } else {
            clockWake_.wait_for(lock, std::chrono::milliseconds(std::max(0LL, due - elapsed())));
        }
    }
}

api_result serve_session::act(const kovo_host::script_line& line, const action& run) {
    catchUp();
    recorder_.beforeAction(sim_.now());
    actionCommands_.clear();
    actionChecks_.clear();
    kovo_host::host_error error;
    api_result result;
    if (run(error)) {
        catchUp();  // the requests the action caused, for the recording
        recorder_.actionDone(line, actionChecks_);
        result.acted = true;
        result.commands = std::move(actionCommands_);
    } else {
        recorder_.dropAction();
        result = refusalOf(error);
    }
    publishChanges();
    clockWake_.notify_all();
    return result;
}

void serve_session::publish(const json& message) {
    std::lock_guard<std::mutex> feed(feedMutex_);
    feed_.push_back({++feedSeq_, dumpJson(message)});
    while (feed_.size() > feedKept) {
        feed_.pop_front();
    }
    feedChanged_.notify_all();
}

std::string serve_session::snapshot(std::uint64_t& seq) {
    std::lock_guard<std::mutex> lock(model_);
    catchUp();
    publishChanges();
    json state = stateJson();
    std::lock_guard<std::mutex> feed(feedMutex_);
    seq = feedSeq_;
    state["seq"] = seq;
    return dumpJson(state);
}

std::vector<feed_message> serve_session::messagesAfter(std::uint64_t since,
                                                       std::chrono::milliseconds wait, bool& lost,
                                                       bool& stopping) {
    std::unique_lock<std::mutex> feed(feedMutex_);
    feedChanged_.wait_for(feed, wait, [&] { return feedStopping_ || feedSeq_ > since; });
    stopping = feedStopping_;
    lost = !feed_.empty() && feed_.front().seq > since + 1;
    std::vector<feed_message> out;
    for (const feed_message& m : feed_) {
        if (m.seq > since) {
            out.push_back(m);
        }
    }
    return out;
}

}  // namespace kovo_serve
