// POSIX side of the host's operating-system services.
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "kovo_os_debug_capture.h"
#include "kovo_os_host.h"

extern char** environ;

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

// Every compiler of a POSIX system builds with the Itanium C++ ABI, as the host is.
cpp_abi plugin_library::abi() const {
    return cpp_abi::host;
}

const char* plugin_library::fileSuffix() {
    return ".so";
}

namespace {
std::uint64_t environmentChangeCount = 0;
}  // namespace

void setEnvironment(const char* name, const std::string& value) {
    setenv(name, value.c_str(), 1);
    ++environmentChangeCount;
}

void unsetEnvironment(const char* name) {
    unsetenv(name);
    ++environmentChangeCount;
}

std::uint64_t environmentChanges() {
    return environmentChangeCount;
}

// The sink is always there to be found; a capture decides whether it takes.
bool startCatchingDebugText() {
    return true;
}

void stopCatchingDebugText() {}

}  // namespace kovo_os

// The host's debug sink, found by name by the plug-ins' debugOutput (the
// executable exports this one symbol). Nonzero: the text was caught.
extern "C" __attribute__((visibility("default"))) int kovo_host_debug_output(const char* text,
                                                                             std::size_t length) {
    return text != nullptr && kovo_os::catchDebugText(text, length) ? 1 : 0;
}

namespace kovo_os {

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

bool standardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

std::string executablePath() {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", &path[0], path.size() - 1);
    if (length <= 0) {
        return "";
    }
    path.resize(static_cast<std::size_t>(length));
    return path;
}

std::int64_t processCpuMilliseconds() {
    timespec now{};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now) != 0) {
        return -1;
    }
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

child_process::~child_process() {
    kill();
}

std::int64_t child_process::cpuMilliseconds() const {
    if (!running_) {
        return -1;
    }
    // Linux's record of the process: after the command name in parentheses,
    // the 12th and 13th fields are user and system time in clock ticks.
    std::ifstream file("/proc/" + std::to_string(process_) + "/stat");
    std::stringstream text;
    text << file.rdbuf();
    const std::string stat = text.str();
    const std::size_t name = stat.rfind(')');
    const long ticks = sysconf(_SC_CLK_TCK);
    if (name == std::string::npos || ticks <= 0) {
        return -1;
    }
    // Fields 1 to 11 after the name are skipped; an unreadable number fails the read.
    std::istringstream fields(stat.substr(name + 1));
    std::string skipped;
    for (int i = 1; i <= 11 && fields >> skipped; ++i) {
    }
    std::int64_t user = -1, system = -1;
    if (!(fields >> user >> system) || user < 0 || system < 0) {
        return -1;
    }
    return (user + system) * 1000 / ticks;
}

bool child_process::start(const std::vector<std::string>& args, const std::string& outputFile,
                          std::string& error) {
    if (running_ || args.empty()) {
        error = running_ ? "the child still runs" : "no program to run";
        return false;
    }
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    const int result = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) {
        error = "cannot start " + args[0] + " (error " + std::to_string(result) + ")";
        return false;
    }
    process_ = pid;
    running_ = true;
    status_ = 0;
    signal_ = 0;
    return true;
}

bool child_process::wait(int timeoutMs) {
    if (!running_) {
        return true;
    }
    int waited = 0;
    while (true) {
        int status = 0;
        const pid_t done = waitpid(static_cast<pid_t>(process_), &status, WNOHANG);
        if (done == static_cast<pid_t>(process_)) {
            running_ = false;
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
            signal_ = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
            return true;
        }
        if (done < 0 && errno != EINTR) {
            running_ = false;
            status_ = 127;
            return true;
        }
        if (waited >= timeoutMs) {
            return false;
        }
        const timespec pause{0, 5 * 1000 * 1000};
        nanosleep(&pause, nullptr);
        waited += 5;
    }
}

void child_process::kill() {
    if (running_) {
        ::kill(static_cast<pid_t>(process_), SIGKILL);
        int status = 0;
        waitpid(static_cast<pid_t>(process_), &status, 0);
        running_ = false;
        status_ = 0;
        signal_ = SIGKILL;
    }
}

}  // namespace kovo_os
