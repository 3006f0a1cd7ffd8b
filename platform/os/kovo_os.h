// Operating-system services behind one small interface, with a POSIX and a
// Windows side. This is the only place in the tree that tests for _WIN32.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#ifdef _WIN32
#define KOVO_EXPORT_SYMBOL __declspec(dllexport)
#define KOVO_IMPORT_SYMBOL __declspec(dllimport)
#else
#define KOVO_EXPORT_SYMBOL __attribute__((visibility("default")))
#define KOVO_IMPORT_SYMBOL __attribute__((visibility("default")))
#endif

// Keeps constant data in the binary even when nothing reads it, through
// optimisation and linking. A property of the compiler, not of the system:
// GCC and Clang drop unread data on Windows too unless told otherwise. The
// MSVC linker drops unreferenced data under /OPT:REF unless told by name to
// keep it: KOVO_KEEP_SYMBOL names a datum of external C linkage for it.
#if defined(__GNUC__) || defined(__clang__)
#define KOVO_KEEP_DATA __attribute__((used))
#define KOVO_KEEP_SYMBOL(name)
#elif defined(_MSC_VER) && defined(_M_IX86)
#define KOVO_KEEP_DATA
#define KOVO_KEEP_SYMBOL(name) __pragma(comment(linker, "/include:_" name))
#elif defined(_MSC_VER)
#define KOVO_KEEP_DATA
#define KOVO_KEEP_SYMBOL(name) __pragma(comment(linker, "/include:" name))
#else
#define KOVO_KEEP_DATA
#define KOVO_KEEP_SYMBOL(name)
#endif

namespace kovo_os {

// Writes text unchanged to the platform debug output: OutputDebugStringA on
// Windows; elsewhere the debug sink of the host process when it has one and
// catches (see kovo_os_host.h), standard error (unbuffered, no line end added)
// otherwise.
void debugOutput(const char* text);

// Reads one value from an INI file with the behaviour of GetPrivateProfileStringA:
// section and key names are case-insensitive, the first match wins, blanks around
// the value are trimmed, the default is returned when the file, section or key is
// missing, and at most maxChars characters of the value are kept.
std::string readIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& defaultValue,
                          std::size_t maxChars = 255);

// The value of an environment variable; false when it is unset.
bool environmentValue(const char* name, std::string& value);

// The separator between directories of a path on this platform.
char pathSeparator();

// What tells one version of a file from the next: its last modification time
// (in the platform's own unit) and its size.
struct file_stamp {
    std::int64_t modified = 0;
    std::uint64_t size = 0;
    bool operator==(const file_stamp& other) const {
        return modified == other.modified && size == other.size;
    }
};
// False when the file cannot be looked at (missing, no access).
bool fileStamp(const std::string& path, file_stamp& stamp);

}  // namespace kovo_os
