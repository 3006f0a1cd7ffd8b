// The interactive shell: the session script language, one line at a time, with
// timers on the real clock.
#include <chrono>
#include <iostream>
#include <string>

#include "interactive_shell.h"
#include "script_runner.h"

namespace kovo_host {

int runShell(simulator& sim, std::istream& in, std::ostream& out, bool interactive) {
    using clock = std::chrono::steady_clock;
    const clock::time_point started = clock::now();
    long long skipped = 0;  // time added by "advance" on top of the real clock
    runner_settings settings;
    settings.fileName = "shell";
    settings.autoshow = false;
    sim.log().setEcho(&out);
    script_runner runner(sim, settings);
    if (interactive) {
        out << "kovo-host shell: type help for the instructions, quit to leave.\n";
    }
    int number = 0;
    std::string text;
    while (true) {
        if (interactive) {
            out << "kovo> " << std::flush;
        }
        if (!std::getline(in, text)) {
            break;
        }
        ++number;
        // Timers that fell due while the operator was thinking go first.
        const long long real =
            std::chrono::duration_cast<std::chrono::milliseconds>(clock::now() - started).count();
        if (real + skipped > sim.now()) {
            sim.advance(real + skipped - sim.now());
        }
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
    runner.finish();
    sim.log().setEcho(nullptr);
    return 0;
}

}  // namespace kovo_host
