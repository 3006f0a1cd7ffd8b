// POSIX side of the platform layer.
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "kovo_ini_reader.h"
#include "kovo_os.h"
#include "kovo_utf8.h"

namespace kovo_os {

namespace {

// A host process may take the text the way a debugger takes OutputDebugStringA:
// by exporting this function. Looked up once; none outside such a host.
using debug_sink = int (*)(const char* text, std::size_t length);

debug_sink hostDebugSink() {
    static const debug_sink sink =
        reinterpret_cast<debug_sink>(dlsym(RTLD_DEFAULT, "kovo_host_debug_output"));
    return sink;
}

}  // namespace

void debugOutput(const char* text) {
    if (text == nullptr) {
        return;
    }
    const debug_sink sink = hostDebugSink();
    if (sink != nullptr && sink(text, std::strlen(text)) != 0) {
        return;
    }
    // Straight to the descriptor: no stdio buffer may hold a line back when the
    // host dies right after it.
    const char* rest = text;
    std::size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t written = ::write(STDERR_FILENO, rest, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        rest += written;
        left -= static_cast<std::size_t>(written);
    }
}

std::string readIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& defaultValue,
                          std::size_t maxChars) {
    std::string value = defaultValue;
    std::ifstream input(path, std::ios::binary);
    if (input) {
        findIniValue(input, section, key, value);
    }
    limitText(value, maxChars);
    return value;
}

bool environmentValue(const char* name, std::string& value) {
    if (name == nullptr) {
        return false;
    }
    const char* found = std::getenv(name);
    if (found == nullptr) {
        return false;
    }
    value = found;
    return true;
}

char pathSeparator() {
    return '/';
}

bool fileStamp(const std::string& path, file_stamp& stamp) {
    struct stat status;
    if (stat(path.c_str(), &status) != 0) {
        return false;
    }
    stamp.modified =
        static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    stamp.size = static_cast<std::uint64_t>(status.st_size);
    return true;
}

}  // namespace kovo_os
