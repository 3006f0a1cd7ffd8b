// Windows side of the platform layer.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <vector>

#include "kovo_os.h"
#include "kovo_utf8.h"

namespace kovo_os {

void debugOutput(const char* text) {
    if (text != nullptr) {
        OutputDebugStringA(text);
    }
}

std::string readIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& defaultValue,
                          std::size_t maxChars) {
    // One byte more than kept, so a cut through a UTF-8 sequence can be seen and
    // moved before it; the profile function counts the terminating zero too.
    const std::size_t limit = maxChars < 0x7FFFFFF0 ? maxChars : 0x7FFFFFF0;
    std::vector<char> buffer(limit + 2, '\0');
    const DWORD copied =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                 static_cast<DWORD>(buffer.size()), path.c_str());
    std::string value(buffer.data(), copied);
    limitText(value, maxChars);
    return value;
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

bool fileStamp(const std::string& path, file_stamp& stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return false;
    }
    stamp.modified = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
        data.ftLastWriteTime.dwLowDateTime);
    stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

}  // namespace kovo_os
