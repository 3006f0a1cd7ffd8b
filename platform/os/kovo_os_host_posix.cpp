// POSIX side of the host's operating-system services.
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>
#include <cstdlib>

#include "kovo_os_host.h"

namespace kovo_os {

plugin_library::~plugin_library() {
    close();
}

bool plugin_library::open(const std::string& path, std::string& error) {
    close();
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* message = dlerror();
        error = message != nullptr ? message : "cannot be opened";
        return false;
    }
    return true;
}

void* plugin_library::symbol(const char* name) const {
    return handle_ == nullptr ? nullptr : dlsym(handle_, name);
}

void plugin_library::close() {
    if (handle_ != nullptr) {
        dlclose(handle_);
        handle_ = nullptr;
    }
}

const char* plugin_library::fileSuffix() {
    return ".so";
}

void setEnvironment(const char* name, const std::string& value) {
    setenv(name, value.c_str(), 1);
}

void unsetEnvironment(const char* name) {
    unsetenv(name);
}

stderr_capture::~stderr_capture() {
    end();
    if (file_ >= 0) {
        ::close(file_);
    }
}

bool stderr_capture::begin() {
    if (saved_ >= 0) {
        return true;
    }
    if (file_ < 0) {
        std::FILE* temp = std::tmpfile();
        if (temp == nullptr) {
            return false;
        }
        file_ = dup(fileno(temp));
        std::fclose(temp);
        if (file_ < 0) {
            return false;
        }
    }
    std::fflush(stderr);
    saved_ = dup(2);
    if (saved_ < 0) {
        return false;
    }
    if (dup2(file_, 2) < 0) {
        ::close(saved_);
        saved_ = -1;
        return false;
    }
    return true;
}

std::string stderr_capture::drain() {
    std::string text;
    if (file_ < 0) {
        return text;
    }
    std::fflush(stderr);
    const off_t size = lseek(file_, 0, SEEK_END);
    if (size <= 0) {
        return text;
    }
    text.resize(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t got = pread(file_, &text[done], text.size() - done, static_cast<off_t>(done));
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    text.resize(done);
    // Both descriptors share one offset: rewinding here rewinds the plug-in's writes too.
    if (ftruncate(file_, 0) == 0) {
        lseek(file_, 0, SEEK_SET);
    }
    return text;
}

void stderr_capture::end() {
    if (saved_ >= 0) {
        std::fflush(stderr);
        dup2(saved_, 2);
        ::close(saved_);
        saved_ = -1;
    }
}

bool standardInputIsTerminal() {
    return isatty(STDIN_FILENO) == 1;
}

bool waitForStandardInput(int timeoutMs) {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    while (true) {
        const int ready = poll(&input, 1, timeoutMs < 0 ? -1 : timeoutMs);
        if (ready >= 0) {
            // End of input and errors count as ready: the read that follows reports them.
            return ready > 0;
        }
        if (errno != EINTR) {
            return true;
        }
    }
}

}  // namespace kovo_os
