// The interactive shell: the session script language, one line at a time, with
// timers on the real clock.
#include "interactive_shell.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <string>

#include "script_runner.h"

namespace kovo_host {

int runShell(simulator& sim, std::istream& in, std::ostream& out, const shell_terminal& terminal) {
    using clock = std::chrono::steady_clock;
    const clock::time_point started = clock::now();
    auto elapsed = [&]() -> long long {
        if (terminal.elapsed) {
            return terminal.elapsed();
        }
        return std::chrono::duration_cast<std::chrono::milliseconds>(clock::now() - started)
            .count();
    };
    long long skipped = 0;  // time added by "advance" on top of the real clock
    bool prompted = false;  // the prompt stands at the start of the current output line
    // Delivers what fell due on the real clock; output starts on a line of its own.
    auto catchUp = [&] {
        const long long now = elapsed() + skipped;
        if (now <= sim.now()) {
            return;
        }
        const long long due = sim.nextTimerDue();
        if (prompted && due >= 0 && due <= now) {
            out << "\n";
            prompted = false;
        }
        sim.advance(now - sim.now());
        sim.log().flush();
    };

    runner_settings settings;
    settings.fileName = "shell";
    sim.log().setEcho(&out);
    script_runner runner(sim, settings);
    if (terminal.prompt) {
        out << "kovo-host shell on " << (sim.site() ? sim.site()->directory() : "no site")
            << ": type help for the instructions, quit to leave.\n";
    }
    int number = 0;
    std::string text;
    while (true) {
        catchUp();
        // Lines typed ahead (or pasted) get no prompt of their own, but a header
        // in the transcript; a line typed at the prompt stands there already.
        const bool typedAhead = terminal.waitForInput && terminal.waitForInput(0);
        if (terminal.prompt && !prompted && !typedAhead) {
            out << "kovo> " << std::flush;
            prompted = true;
        }
        if (terminal.waitForInput) {
            const long long due = sim.nextTimerDue();
            long long wait = -1;
            if (due >= 0) {
                wait = std::max(0LL, due - (elapsed() + skipped));
            }
            if (!terminal.waitForInput(static_cast<int>(std::min<long long>(wait, INT_MAX)))) {
                continue;  // a timer fell due while the person was thinking
            }
        }
        if (!std::getline(in, text)) {
            if (prompted) {
                out << "\n";  // end of input (Ctrl-D) leaves the prompt line open
            }
            break;
        }
        runner.setLineHeaders(!prompted);
        prompted = false;
        ++number;
        // Timers that fell due while the line was being typed go first.
        catchUp();
        script_line line;
        std::string error;
        if (!parseScriptLine(text, number, line, error)) {
            out << "!! " << error << "\n";
            continue;
        }
        if (line.kind == line_kind::blank) {
            continue;
        }
        if (line.kind == line_kind::advance) {
            skipped += line.ms;
        }
        bool fatal = false;
        runner.execute(line, fatal);
        if (runner.quitRequested()) {
            break;
        }
    }
    runner.finish("leaving the shell: unloading what is still loaded");
    sim.log().setEcho(nullptr);
    return 0;
}

int runShell(simulator& sim, std::istream& in, std::ostream& out, bool interactive) {
    shell_terminal terminal;
    terminal.prompt = interactive;
    return runShell(sim, in, out, terminal);
}

}  // namespace kovo_host
