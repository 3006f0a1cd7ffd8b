// Windows side of the host's operating-system services.
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "kovo_os_host.h"

namespace kovo_os {

plugin_library::~plugin_library() {
    close();
}

bool plugin_library::open(const std::string& path, std::string& error) {
    close();
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        error = "LoadLibrary failed with error " + std::to_string(GetLastError());
        return false;
    }
    handle_ = module;
    return true;
}

void* plugin_library::symbol(const char* name) const {
    if (handle_ == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

void plugin_library::close() {
    if (handle_ != nullptr) {
        FreeLibrary(static_cast<HMODULE>(handle_));
        handle_ = nullptr;
    }
}

const char* plugin_library::fileSuffix() {
    return ".dll";
}

void setEnvironment(const char* name, const std::string& value) {
    _putenv_s(name, value.c_str());
}

// On Windows the plug-ins write their debug output with OutputDebugStringA,
// which never reaches standard error: there is nothing to catch.
stderr_capture::~stderr_capture() = default;

bool stderr_capture::begin() {
    return false;
}

std::string stderr_capture::drain() {
    return std::string();
}

void stderr_capture::end() {}

bool stderr_capture::maybeWritten() const {
    return false;  // nothing is caught here, so nothing is ever there to drain
}

bool standardInputIsTerminal() {
    return _isatty(_fileno(stdin)) != 0;
}

// A console handle signals on every key and mouse event, not on whole lines, so
// the shell does not wait here: timers that fell due run before the next line.
bool waitForStandardInput(int) {
    return true;
}

bool standardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

std::string executablePath() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(path, length);
}

namespace {

// One argument as the C runtime reads it back: quoted, backslashes before a
// quote doubled.
std::string quotedArgument(const std::string& arg) {
    std::string out = "\"";
    std::size_t slashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++slashes;
            continue;
        }
        out.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, '\\');
    return out + "\"";
}

}  // namespace

child_process::~child_process() {
    kill();
}

bool child_process::start(const std::vector<std::string>& args, const std::string& outputFile,
                          std::string& error) {
    if (running_ || args.empty()) {
        error = running_ ? "the child still runs" : "no program to run";
        return false;
    }
    std::string line;
    for (const std::string& arg : args) {
        line += (line.empty() ? "" : " ") + quotedArgument(arg);
    }
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE output = CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) {
        error = "cannot write " + outputFile;
        return false;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(args[0].c_str(), &line[0], nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(output);
    if (!started) {
        error = "cannot start " + args[0] + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    CloseHandle(process.hThread);
    process_ = reinterpret_cast<std::intptr_t>(process.hProcess);
    running_ = true;
    status_ = 0;
    signal_ = 0;
    return true;
}

bool child_process::wait(int timeoutMs) {
    if (!running_) {
        return true;
    }
    if (WaitForSingleObject(reinterpret_cast<HANDLE>(process_), static_cast<DWORD>(timeoutMs)) !=
        WAIT_OBJECT_0) {
        return false;
    }
    DWORD code = 0;
    GetExitCodeProcess(reinterpret_cast<HANDLE>(process_), &code);
    CloseHandle(reinterpret_cast<HANDLE>(process_));
    process_ = 0;
    running_ = false;
    status_ = static_cast<int>(code);
    return true;
}

void child_process::kill() {
    if (running_) {
        TerminateProcess(reinterpret_cast<HANDLE>(process_), 1);
        WaitForSingleObject(reinterpret_cast<HANDLE>(process_), INFINITE);
        CloseHandle(reinterpret_cast<HANDLE>(process_));
        process_ = 0;
        running_ = false;
        status_ = 1;
    }
}

}  // namespace kovo_os
