// Session scripts, line by line as the runner and the shell read them.
#include "fuzz_input.h"
#include "session_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<kovo_host::script_line> lines;
    std::string error;
    kovo_host::parseScript(kovo_fuzz::text(data, size), "fuzz.kovo", lines, error);
    return 0;
}
