// One simulator behind the browser emulator: every access to the model goes
// through here under one lock, timers run on the wall clock from one thread,
// and every change is published as a message for the pages that watch. The
// simulator decides what it refuses; the session turns the kind of refusal
// into an HTTP status.
//
// serve_session.cpp: the lock, the clock thread, the feed and the refusals;
// serve_actions.cpp: what a page does, each action recorded as its script line;
// serve_views.cpp: the model as JSON, for the views and the feed's messages.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "host_error.h"
#include "panel_json.h"
#include "session_recorder.h"
#include "session_script.h"
#include "simulator.h"
#include "transcript_feed.h"

namespace kovo_serve {

// The outcome of a request: an HTTP status and a JSON body ({"error": ...} on refusal).
struct api_result {
    int status = 200;
    json body = json::object();
    // An action carried out: the command texts it caused, in order (the
    // answer's "commands", which a client may ask to leave out).
    bool acted = false;
    std::vector<std::string> commands;
};

api_result refusal(int status, const std::string& message, const std::string& field = "");
// What the simulator refused, as an answer: 404 (naming the field) for what the
// model does not have, 409 for what the operator cannot do now or a name that
// is taken, 400 for a name it cannot take or a names file it cannot store, 500
// for a plug-in, site or store that cannot be used.
api_result refusalOf(const kovo_host::host_error& error);

// A published change, numbered in order.
struct feed_message {
    std::uint64_t seq = 0;
    std::string data;  // JSON text
};

class serve_session {
  public:
    explicit serve_session(kovo_host::simulator_options options);
    ~serve_session();
    serve_session(const serve_session&) = delete;
    serve_session& operator=(const serve_session&) = delete;

    // Opens the site and the name store and starts the clock; false with a message.
    bool start(std::string& error);
    // Stops the clock, wakes every watcher and unloads what is loaded.
    void stop();

    // workstation < 0: the site's first workstation.
    api_result load(const std::string& name, const std::string& plugin, int workstation);
    api_result unload(const std::string& name);
    api_result press(const std::string& name, const std::string& panel, const std::string& control);
    api_result choose(const std::string& name, const std::string& panel, const std::string& control,
                      int position);
    api_result type(const std::string& name, const std::string& panel, const std::string& control,
                    const std::string& text);
    api_result event(const std::string& name, const std::string& panel, const std::string& control,
                     const std::string& text);
    api_result query(const std::string& name, const std::string& text, bool hasText);
    api_result rename(int device, int database, int index, const std::string& text);
    // A names CSV ("device,database,index,name"), checked whole before anything is stored.
    api_result importNames(const std::string& csv, bool dryRun);

    api_result scripts();
    api_result plugins();
    api_result panel(const std::string& name);
    api_result devices();
    api_result names(int device, int database, const std::string& search);
    api_result requests();
    api_result transcript(std::uint64_t since, const std::string& script);

    api_result setRecording(bool on);
    std::string recording();

    // Everything a page needs to draw itself, and the message number it stands at.
    std::string snapshot(std::uint64_t& seq);
    // Waits up to `wait` for messages after `since`. `lost` is set when the
    // watcher fell so far behind that some are gone (it then needs a snapshot).
    std::vector<feed_message> messagesAfter(std::uint64_t since, std::chrono::milliseconds wait,
                                            bool& lost, bool& stopping);

  private:
    struct loaded_script {
        std::string name, plugin;
        int workstation = 0;
    };
    using action = std::function<bool(kovo_host::host_error& error)>;

    // Runs one operator action on the model: the clock first, then the action,
    // then the changes published and, when recording, the line recorded.
    api_result act(const kovo_host::script_line& line, const action& run);
    void catchUp();
    void publishChanges();
    void publish(const json& message);
    json scriptsJson() const;
    json requestsJson(std::size_t from) const;
    json stateJson();
    kovo_host::name_lookup nameLookup();
    script_view currentView(const std::string& name);
    long long elapsed() const;
    void clockLoop();
    void observe(const kovo_host::transcript_entry& entry);
    bool loadNow(const std::string& name, const std::string& plugin, int workstation,
                 kovo_host::host_error& error);
    std::vector<std::string> pluginNames() const;
    // The site's first workstation, 0 before a site is open.
    int firstWorkstation() const;

    std::mutex model_;  // guards everything below up to the feed
    kovo_host::simulator sim_;
    std::vector<loaded_script> loaded_;
    std::map<std::string, script_view> views_;  // as last published
    transcript_feed transcript_;
    std::size_t requestsSeen_ = 0;      // published
    std::size_t requestsRecorded_ = 0;  // told to the recorder
    bool recordShownOn_ = false;
    std::size_t recordShownLines_ = 0;
    bool namesChanged_ = false;
    bool scriptsChanged_ = false;
    std::vector<std::string> actionCommands_;           // sent during the current action
    std::vector<kovo_host::script_line> actionChecks_;  // recorded after its expectations
    session_recorder recorder_;
    std::chrono::steady_clock::time_point started_;
    std::condition_variable clockWake_;
    bool stopping_ = false;
    std::thread clock_;

    std::mutex feedMutex_;  // taken after model_ when both are needed
    std::condition_variable feedChanged_;
    std::deque<feed_message> feed_;
    std::uint64_t feedSeq_ = 0;
    bool feedStopping_ = false;
};

}  // namespace kovo_serve
