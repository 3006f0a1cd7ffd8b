// The panel host simulator: loads plug-ins, carries out their command texts
// against panels, controls and the site's name databases, checks the protocol,
// and keeps the transcript.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "answer_mode.h"
#include "command_text.h"
#include "given_name.h"
#include "host_error.h"
#include "kovo_interface.h"
#include "lent_buffers.h"
#include "name_store.h"
#include "panel_state.h"
#include "site_directory.h"
#include "transcript.h"

namespace kovo_os {
class debug_capture;
}

namespace kovo_host {

struct simulator_options {
    std::string siteDir;     // default site
    std::string layoutRoot;  // where layout paths of "PI"/"PS" start
    std::string pluginDir;   // where bare plug-in names are looked up
    std::string dbFile;      // the name store file; empty: one per site in stateDir
    std::string stateDir;    // folder of the per-site stores; empty: the user's state folder
    bool captureDebugOutput = true;
    bool freshStore = false;  // start the store afresh from the site's name files
    // Scripts that keep provoking one another, or a timer that fires without end,
    // would never let an action finish: this many events end it with a failure.
    int maxEventsPerAction = 100000;
};

// Built-in defaults of this build: the demo site, the source tree, the build's lib folder.
simulator_options defaultOptions();

// A script's name: 1 to 64 letters, digits, '_' and '-' (it stands in script
// lines, file names and the emulator's addresses). scriptNameRule says so.
bool isScriptName(const std::string& name);
extern const char scriptNameRule[];

struct px_request {
    int workstation = 0;
    std::string text;  // the whole "IW" text, "PX ..." included
};

// What an observer of the command traffic sees of one command text.
struct observed_command {
    const std::string& script;      // the script's name
    const std::string& pluginPath;  // the library it was loaded from
    int workstation = 0;
    const std::string& text;
    // Sent while the script handled an operator action (press, choose, type) on
    // a control the operator could reach, or the events that action caused it.
    bool operatorAction = false;
};
// Adds the rules a command breaks to breaches; each becomes a protocol breach.
using command_observer =
    std::function<void(const observed_command& command, std::vector<std::string>& breaches)>;

class script_link;

class simulator {
  public:
    explicit simulator(simulator_options options);
    ~simulator();
    simulator(const simulator&) = delete;
    simulator& operator=(const simulator&) = delete;

    transcript& log() { return log_; }
    const transcript& log() const { return log_; }
    const simulator_options& options() const { return options_; }

    // Every call below that returns false says why in error: a message for the
    // site and the store, which either can be used or cannot; for everything
    // else a host_error, whose kind tells what was refused.

    // Switches the site; only while no script is loaded.
    bool useSite(const std::string& dir, std::string& error);
    const site_directory* site() const { return siteOpen_ ? &site_ : nullptr; }

    // name: a script name (isScriptName); plugin: a path, or a bare name looked
    // up in the plug-in folder. A negative workstation takes the site's first
    // workstation.
    bool load(const std::string& name, const std::string& plugin, const std::string& instance,
              bool hasInstance, int workstation, host_error& error);
    bool unload(const std::string& name, host_error& error);
    void unloadAll();
    bool isLoaded(const std::string& name) const;
    std::vector<std::string> scriptNames() const;

    // Operator actions on the shown panel; refused for a control the operator
    // could not reach (panel not shown, control hidden, disabled or missing).
    bool press(const std::string& name, const std::string& panel, const std::string& control,
               host_error& error);
    bool choose(const std::string& name, const std::string& panel, const std::string& control,
                int position, host_error& error);
    bool type(const std::string& name, const std::string& panel, const std::string& control,
              const std::string& text, host_error& error);
    // A raw control event, delivered whatever the panel shows.
    bool event(const std::string& name, const std::string& panel, const std::string& control,
               const std::string& eventText, host_error& error);
    // A parent query; answered is false when the script returned null.
    bool query(const std::string& name, const std::string& text, bool hasText, std::string& answer,
               bool& answered, host_error& error);

    // Virtual clock: delivers every timer due up to now + ms, in time order.
    void advance(long long ms);
    long long now() const { return clock_; }
    // When the next timer falls due on that clock; -1 when no timer runs.
    long long nextTimerDue() const;

    // A name change made by another editor, stored as it is.
    bool rename(int device, int database, int index, const std::string& name, host_error& error);
    // The same with the checks of a names import (given_name.h): a name given
    // from outside, stored as the names editor would store it (given.stored).
    bool renameChecked(int device, int database, int index, const std::string& name,
                       given_name& given, host_error& error);
    bool storedName(int device, int database, int index, std::string& name, bool& found,
                    std::string& error);
    // The names import (simulator_names.cpp), as `kovo-host names import` and
    // the session line "import" do it: the CSV is checked whole, then, unless
    // dryRun, every changed name is stored in one transaction, and every script
    // registered for a device gets a database event for each of its changed
    // names, as from any other editor. print receives each change (old and new
    // name) before anything is stored, and a count after; source names the CSV
    // in messages. False when the file cannot be read, a row is bad (nothing
    // is stored) or the store fails.
    bool importNamesFile(const std::string& path, bool dryRun,
                         const std::function<void(const std::string&)>& print, host_error& error);
    bool importNamesCsv(const std::string& csv, const std::string& source, bool dryRun,
                        const std::function<void(const std::string&)>& print, host_error& error);
    // The names stored in a database of the site, at indices 1 to its size, in
    // index order.
    bool databaseNames(int device, int database, std::vector<std::pair<int, std::string>>& names,
                       host_error& error);
    // The site's name store, opened (and seeded) on first use; null on an error.
    const name_store* openStore(std::string& error);

    // The shown panel(s) of a script, as text.
    bool show(const std::string& name, std::string& text, host_error& error);

    const std::vector<px_request>& pxRequests() const { return px_; }

    // Read access for views of the model: the panels a script announced, by id,
    // and the ids of those it shows, in showing order (null: no such script).
    const std::map<std::string, panel_state>* announcedPanels(const std::string& name) const;
    const std::vector<std::string>* shownPanels(const std::string& name) const;
    // Observes every command text a script sends, before it is carried out.
    void setCommandObserver(command_observer observer) { observer_ = std::move(observer); }
    void setAnswerMode(answer_mode mode) { answerMode_ = mode; }
    answer_mode answerMode() const { return answerMode_; }
    // A timer expiry with any id, and a database event with any content, as a
    // host might deliver them whatever the script asked for.
    bool tick(const std::string& name, int id, host_error& error);
    bool databaseEvent(const std::string& name, int device, int database, int index,
                       const std::string& text, host_error& error);

    // Number of breaches and failures so far.
    int breachCount() const { return breaches_; }
    int failureCount() const { return failures_; }

  private:
    friend class script_link;

    struct script_instance;
    struct pending_event {
        int scriptId = 0;
        int type = 0;
        std::string panel, control, text;  // control events
        int device = 0, database = 0, index = 0;
        std::string name;  // database events
    };
    struct timer_entry {
        int scriptId = 0;
        int id = 0;
        long long interval = 0;
        long long due = 0;
        unsigned long long order = 0;  // arming order: breaks ties between timers due together
    };

    script_instance* find(const std::string& name) const;
    script_instance* findId(int id) const;
    bool ensureStore(std::string& error);
    // Stores the names in one transaction and tells the registered scripts.
    bool storeNames(const std::vector<stored_name>& names, host_error& error);
    // The entry is one the site has (device, database, index in 1 to its size).
    bool checkEntry(int device, int database, int index, host_error& error) const;

    // What a call into a script does, seen without owning it (the lambda passed
    // lives until the call returns): a std::function of a lambda capturing a few
    // references would allocate on every call.
    class call_ref {
      public:
        template <typename F,
                  typename = std::enable_if_t<!std::is_same<std::decay_t<F>, call_ref>::value>>
        call_ref(F&& fn)  // NOLINT(google-explicit-constructor): lambdas convert as passed
            : fn_(const_cast<void*>(static_cast<const void*>(&fn))),
              invoke_([](void* f) { (*static_cast<std::remove_reference_t<F>*>(f))(); }) {}
        void operator()() const { invoke_(fn_); }

      private:
        void* fn_;
        void (*invoke_)(void*);
    };
    // Runs fn as one call into the plug-in of s: environment, debug capture, and
    // the reply-buffer check when it returns. False when an exception escaped
    // the plug-in (reported as a breach naming `what`).
    bool callInto(script_instance& s, const char* what, const call_ref& fn);
    // hostCallback with an event that must be answered with null.
    void deliverEvent(script_instance& s, void* data, int type);
    void deliverPending();
    void deliverControl(script_instance& s, const std::string& panel, const std::string& control,
                        const std::string& text);
    void deliverDatabase(script_instance& s, const pending_event& e);
    void deliverTimer(script_instance& s, int id);
    void queueDatabaseEvent(int scriptId, int device, int database, int index,
                            const std::string& name);
    void queueDatabaseEvents(int device, int database, int index, const std::string& name);

    char* onCommand(script_instance& s, const char* text, int code);
    char* hostileAnswer(script_instance& s, const std::string& text, const std::string& verb,
                        const std::vector<std::string>& args, transcript_entry& entry);
    char* execute(script_instance& s, const std::string& text, transcript_entry& entry,
                  std::vector<transcript_entry>& after);
    panel_state* announce(script_instance& s, const std::string& id, const std::string& layout,
                          const std::string& extra, std::vector<transcript_entry>& after);
    // What the script wrote to its debug output since the last look, into the
    // transcript.
    void flushDebug(script_instance& s);
    // Taken by reference: every command makes an entry, and each move costs.
    void record(transcript_entry&& entry);
    void record(const transcript_entry& entry) { record(transcript_entry(entry)); }
    void note(const std::string& script, const std::string& text);
    void failure(const std::string& text);

    // The script of that name (else error: no_script), and one that is still
    // running (else error: refused, as "cannot <what> <name>").
    script_instance* found(const std::string& name, host_error& error) const;
    script_instance* running(const std::string& name, const char* what, host_error& error) const;
    // The script, when the operator can reach the control on its shown panel.
    script_instance* reachable(const std::string& name, const std::string& panel,
                               const std::string& controlId, const char* action,
                               control_state*& control, host_error& error);
    void stopScript(script_instance& s);
    std::string resolvePlugin(const std::string& plugin) const;

    simulator_options options_;
    transcript log_;
    site_directory site_;
    bool siteOpen_ = false;
    std::string siteRoot_, siteSystem_;  // the site's RX_ROOT and RX_SYSTEM
    // The script whose call last set the plug-ins' environment (0: none) and the
    // platform layer's count of changes right after.
    int environmentFor_ = 0;
    std::uint64_t environmentChanges_ = 0;
    name_store store_;
    std::vector<std::unique_ptr<script_instance>> scripts_;
    int nextScriptId_ = 1;
    std::deque<pending_event> pending_;
    std::vector<timer_entry> timers_;
    unsigned long long timerOrder_ = 0;
    long long clock_ = 0;
    std::vector<px_request> px_;
    int breaches_ = 0;
    int failures_ = 0;
    script_instance* active_ = nullptr;  // the script whose call is running
    int operatorScript_ = 0;             // id of the script handling an operator action
    command_observer observer_;
    answer_mode answerMode_ = answer_mode::normal;
    std::unique_ptr<kovo_os::debug_capture> capture_;
    parsed_command parsed_;  // the command being carried out, its room kept for the next
};

}  // namespace kovo_host
