// Turns what an operator does in the emulator into a session script: each
// action line followed by "expect" lines for the commands it caused, with
// "advance" lines for the time that passed between actions, so that
// "kovo-host run --check" replays the session.
#pragma once

#include <string>
#include <vector>

#include "session_script.h"

namespace kovo_serve {

class session_recorder {
  public:
    // Starts a new recording; `clock` is the simulator's clock now.
    void start(long long clock, const std::vector<std::string>& header);
    // Ends it; the time since the last action, and what it caused, is kept.
    void stop(long long clock);
    bool recording() const { return on_; }

    // A command text a script sent (from any cause).
    void commandSent(const std::string& text);
    // A process-execution request that reached a workstation.
    void requestReached(int workstation, const std::string& text);

    // Before an action: the time that passed since the last one, with the
    // commands the timers caused meanwhile.
    void beforeAction(long long clock);
    // After an action that was carried out: its line and what it caused. An
    // action that was refused is not recorded (call dropAction).
    void actionDone(const kovo_host::script_line& line,
                    const std::vector<kovo_host::script_line>& extraChecks = {});
    void dropAction();

    // The script so far (also after stop).
    std::string text() const;
    std::size_t lineCount() const { return lines_.size(); }

  private:
    void flushChecks();
    void write(const kovo_host::script_line& line);

    bool on_ = false;
    long long lastClock_ = 0;
    std::vector<std::string> lines_;
    std::vector<std::string> commands_;  // since the last flush
    std::vector<std::string> requests_;  // expect-px lines since the last flush
};

}  // namespace kovo_serve
