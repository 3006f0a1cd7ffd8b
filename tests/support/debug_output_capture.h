// Everything written to the platform debug output while a test runs, caught by
// the platform layer: standard error on POSIX, OutputDebugStringA on Windows.
// Whoever includes this links kovo_os_host.
#pragma once

#include <functional>
#include <string>

#include "kovo_os_host.h"

class debug_output_capture {
  public:
    debug_output_capture() { capture_.begin(); }
    debug_output_capture(const debug_output_capture&) = delete;
    debug_output_capture& operator=(const debug_output_capture&) = delete;

    // Stops capturing and returns everything written so far.
    std::string text() {
        caught_ += capture_.drain();
        capture_.end();
        return caught_;
    }

  private:
    kovo_os::debug_capture capture_;
    std::string caught_;
};

inline std::string debugOutputOf(const std::function<void()>& run) {
    debug_output_capture capture;
    run();
    return capture.text();
}
