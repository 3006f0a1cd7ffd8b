// Layout files, read from disk as the simulator reads them.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "fuzz_input.h"
#include "layout_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("kovo_fuzz_layout_" + std::to_string(getpid()) + ".kovo_ui"))
                                        .string();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << kovo_fuzz::text(data, size);
    kovo_host::layout_file layout;
    std::string error;
    kovo_host::readLayout(path, layout, error);
    return 0;
}
