// Windows side of the host's operating-system services.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "kovo_os_debug_capture.h"
#include "kovo_os_host.h"

namespace kovo_os {

plugin_library::~plugin_library() {
    close();
}

// A plug-in's libraries are looked for beside it first, then beside the host
// and in the system's folders: a Microsoft-ABI plug-in finds the libraries of
// its build there, not those of the host's (which, with other names, the host
// has loaded itself; a process keeps one module per name).
bool plugin_library::open(const std::string& path, std::string& error) {
    close();
    char full[MAX_PATH + 1] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) {
        error = "the path is too long";
        return false;
    }
    HMODULE module = LoadLibraryExA(
        full, nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
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

// The names the plug-in imports from other DLLs, as the loader has mapped them:
// Microsoft's compiler names C++ functions "?...", the Itanium ABI "_Z...".
// One that imports neither kind calls nothing of a C++ library, and is taken
// to share the host's.
cpp_abi plugin_library::abi() const {
    if (handle_ == nullptr) {
        return cpp_abi::host;
    }
    const auto* base = static_cast<const unsigned char*>(handle_);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) {
        return cpp_abi::host;
    }
    for (const auto* dll =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         dll->Name != 0; ++dll) {
        const DWORD names =
            dll->OriginalFirstThunk != 0 ? dll->OriginalFirstThunk : dll->FirstThunk;
        for (const auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + names);
             thunk->u1.AddressOfData != 0; ++thunk) {
            if (IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal)) {
                continue;
            }
            const char* name =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + thunk->u1.AddressOfData)->Name;
            if (name[0] == '?') {
                return cpp_abi::microsoft;
            }
            if (name[0] == '_' && name[1] == 'Z') {
                return cpp_abi::host;
            }
        }
    }
    return cpp_abi::host;
}

const char* plugin_library::fileSuffix() {
    return ".dll";
}

namespace {
std::uint64_t environmentChangeCount = 0;
}  // namespace

// The process environment itself, which GetEnvironmentVariableA reads: the C
// runtime's _putenv_s would remove a variable set to an empty value.
void setEnvironment(const char* name, const std::string& value) {
    SetEnvironmentVariableA(name, value.c_str());
    ++environmentChangeCount;
}

void unsetEnvironment(const char* name) {
    SetEnvironmentVariableA(name, nullptr);
    ++environmentChangeCount;
}

std::uint64_t environmentChanges() {
    return environmentChangeCount;
}

namespace {

// OutputDebugStringA announces each string as a DBG_PRINTEXCEPTION_C exception
// (the wide variant also carries the narrow text) before it looks for a
// debugger or a system-wide monitor. A vectored handler sees it first, inside
// the process and on the writing thread; continuing the exception tells the
// system that the string was taken.
constexpr DWORD printException = 0x40010006UL;      // DBG_PRINTEXCEPTION_C
constexpr DWORD widePrintException = 0x4001000AUL;  // DBG_PRINTEXCEPTION_WIDE_C

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
    if (exception == nullptr || exception->ExceptionRecord == nullptr ||
        !printedText(*exception->ExceptionRecord, text, bound)) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    // The length counts the terminating zero; stop at the first zero anyway.
    std::size_t length = 0;
    while (length < bound && text[length] != '\0') {
        ++length;
    }
    return catchDebugText(text, length) ? EXCEPTION_CONTINUE_EXECUTION : EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

bool startCatchingDebugText() {
    if (handlerHandle == nullptr) {
        handlerHandle = AddVectoredExceptionHandler(1, catchDebugString);
    }
    return handlerHandle != nullptr;
}

void stopCatchingDebugText() {
    if (handlerHandle != nullptr) {
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

namespace {

// Kernel and user time of a process in milliseconds; -1 when it cannot be read.
std::int64_t cpuMillisecondsOf(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) {
        return -1;
    }
    const auto hundredNs = [](const FILETIME& time) {
        return (static_cast<std::int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return (hundredNs(kernel) + hundredNs(user)) / 10000;
}

}  // namespace

std::int64_t processCpuMilliseconds() {
    return cpuMillisecondsOf(GetCurrentProcess());
}

std::int64_t child_process::cpuMilliseconds() const {
    return running_ ? cpuMillisecondsOf(reinterpret_cast<HANDLE>(process_)) : -1;
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
