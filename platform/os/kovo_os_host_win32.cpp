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

}  // namespace kovo_os
