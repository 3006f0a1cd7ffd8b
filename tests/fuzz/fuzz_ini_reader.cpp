// The INI reader: a section and a key on the first two lines, the file after them.
#include <sstream>

#include "fuzz_input.h"
#include "kovo_ini_reader.h"
#include "kovo_utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string rest = kovo_fuzz::text(data, size);
    const std::string section = kovo_fuzz::takeLine(rest);
    const std::string key = kovo_fuzz::takeLine(rest);
    std::istringstream file(rest);
    std::string value;
    if (kovo_os::findIniValue(file, section, key, value)) {
        kovo_os::limitText(value, 255);
    }
    return 0;
}
