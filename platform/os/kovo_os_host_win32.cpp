// Windows side of the host's operating-system services.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

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

// The process environment itself, which GetEnvironmentVariableA reads: the C
// runtime's _putenv_s would remove a variable set to an empty value.
void setEnvironment(const char* name, const std::string& value) {
    SetEnvironmentVariableA(name, value.c_str());
}

void unsetEnvironment(const char* name) {
    SetEnvironmentVariableA(name, nullptr);
}

namespace {

// OutputDebugStringA announces each string as a DBG_PRINTEXCEPTION_C exception
// (the wide variant also carries the narrow text) before it looks for a
// debugger or a system-wide monitor. A vectored handler sees it first, inside
// the process and on the writing thread; continuing the exception tells the
// system that the string was taken.
constexpr DWORD printException = 0x40010006UL;      // DBG_PRINTEXCEPTION_C
constexpr DWORD widePrintException = 0x4001000AUL;  // DBG_PRINTEXCEPTION_WIDE_C

stderr_capture* innermost = nullptr;
std::string* innermostText = nullptr;  // where the handler appends: innermost's buffer
void* handlerHandle = nullptr;

// The narrow text of a print exception: parameters (length with zero, text),
// at index 0 and 1 for the narrow kind, at 2 and 3 for the wide kind.
bool printedText(const EXCEPTION_RECORD& record, const char*& text, std::size_t& bound) {
    std::size_t first = 0;
    if (record.ExceptionCode == widePrintException) {
        first = 2;
    } else if (record.ExceptionCode != printException) {
        return false;
    }
    if (record.NumberParameters < first + 2) {
        return false;
    }
    bound = static_cast<std::size_t>(record.ExceptionInformation[first]);
    text = reinterpret_cast<const char*>(record.ExceptionInformation[first + 1]);
    return text != nullptr;
}

LONG CALLBACK catchDebugString(EXCEPTION_POINTERS* exception) {
    const char* text = nullptr;
    std::size_t bound = 0;
    if (innermostText == nullptr || exception == nullptr || exception->ExceptionRecord == nullptr ||
        !printedText(*exception->ExceptionRecord, text, bound)) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    // The length counts the terminating zero; stop at the first zero anyway.
    std::size_t length = 0;
    while (length < bound && text[length] != '\0') {
        ++length;
    }
    innermostText->append(text, length);
    return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

stderr_capture::~stderr_capture() {
    end();
}

bool stderr_capture::begin() {
    if (active_) {
        return true;
    }
    if (handlerHandle == nullptr) {
        handlerHandle = AddVectoredExceptionHandler(1, catchDebugString);
        if (handlerHandle == nullptr) {
            return false;
        }
    }
    outer_ = innermost;
    innermost = this;
    innermostText = &caught_;
    active_ = true;
    return true;
}

std::string stderr_capture::drain() {
    std::string text;
    text.swap(caught_);
    return text;
}

void stderr_capture::end() {
    if (!active_) {
        return;
    }
    active_ = false;
    // Captures end in the reverse order of their beginning; one that ends early
    // only leaves the chain.
    for (stderr_capture** link = &innermost; *link != nullptr; link = &(*link)->outer_) {
        if (*link == this) {
            *link = outer_;
            break;
        }
    }
    outer_ = nullptr;
    innermostText = innermost != nullptr ? &innermost->caught_ : nullptr;
    if (innermost == nullptr && handlerHandle != nullptr) {
        RemoveVectoredExceptionHandler(handlerHandle);
        handlerHandle = nullptr;
    }
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
