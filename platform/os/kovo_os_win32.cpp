// Windows side of the platform layer.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <vector>

#include "kovo_os.h"

namespace kovo_os {

void debugOutput(const char* text) {
    if (text != nullptr) {
        OutputDebugStringA(text);
    }
}

std::string readIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& defaultValue,
                          std::size_t maxChars) {
    // The profile function counts the terminating zero in the buffer size.
    const std::size_t limit = maxChars < 0x7FFFFFFE ? maxChars : 0x7FFFFFFE;
    std::vector<char> buffer(limit + 1, '\0');
    const DWORD copied =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                 static_cast<DWORD>(buffer.size()), path.c_str());
    return std::string(buffer.data(), copied);
}

bool environmentValue(const char* name, std::string& value) {
    if (name == nullptr) {
        return false;
    }
    SetLastError(ERROR_SUCCESS);
    DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
    if (needed == 0) {
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
            return false;
        }
        value.clear();
        return true;
    }
    // The variable may change between the two calls; retry until it fits.
    for (;;) {
        std::vector<char> buffer(needed, '\0');
        const DWORD got = GetEnvironmentVariableA(name, buffer.data(), needed);
        if (got == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
                return false;
            }
            value.clear();
            return true;
        }
        if (got < needed) {
            value.assign(buffer.data(), got);
            return true;
        }
        needed = got;
    }
}

char pathSeparator() {
    return '\\';
}

}  // namespace kovo_os
