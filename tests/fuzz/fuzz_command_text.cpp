// The host's reading of a command text; a well-formed one must read back the
// same once written out again.
#include <cstdlib>

#include "command_text.h"
#include "fuzz_input.h"
#include "numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = kovo_fuzz::cText(kovo_fuzz::text(data, size));
    const kovo_host::parsed_command command = kovo_host::parseCommand(text.c_str());
    if (command.error.empty()) {
        const std::string written = kovo_host::formatCommand(command);
        const kovo_host::parsed_command again = kovo_host::parseCommand(written.c_str());
        if (!again.error.empty() || again.verb != command.verb || again.args != command.args) {
            std::abort();
        }
    }
    kovo_host::leadingNumber(text);
    int value = 0;
    kovo_host::parseNumber(text, value);
    return 0;
}
