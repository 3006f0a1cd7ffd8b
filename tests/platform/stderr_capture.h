// Captures what is written to file descriptor 2 while it lives, through a
// temporary file, so tests see the debug output byte for byte.
#pragma once

#include <cstdio>
#include <string>

#include <unistd.h>

class stderr_capture {
  public:
    stderr_capture() : file_(std::tmpfile()), saved_(::dup(2)) {
        std::fflush(stderr);
        if (file_ != nullptr && saved_ >= 0) {
            ::dup2(::fileno(file_), 2);
        }
    }
    ~stderr_capture() { restore(); }
    stderr_capture(const stderr_capture&) = delete;
    stderr_capture& operator=(const stderr_capture&) = delete;

    // Stops capturing and returns everything written so far.
    std::string text() {
        restore();
        std::string out;
        if (file_ == nullptr) {
            return out;
        }
        std::rewind(file_);
        char buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file_)) > 0) {
            out.append(buffer, got);
        }
        return out;
    }

  private:
    void restore() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            ::dup2(saved_, 2);
            ::close(saved_);
            saved_ = -1;
        }
    }

    std::FILE* file_;
    int saved_;
};
