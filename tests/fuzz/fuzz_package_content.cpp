// The package content text of the package contents editor: read for two and
// three levels, and what it writes must read back to the same IDs.
#include <cstdlib>

#include "fuzz_input.h"
#include "package_content_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = kovo_fuzz::cText(kovo_fuzz::text(data, size));
    for (int levels : {2, 3, 0, -1}) {
        const PackageContent read = readPackageContent(kovo_string(text.c_str()), levels);
        const kovo_string written =
            writePackageContent(read.ids[0], read.ids[1], read.ids[2], levels);
        const PackageContent again = readPackageContent(written, levels);
        for (int level = 0; level < (levels == 3 ? 3 : 2); ++level) {
            const int id = read.ids[level] > 0 ? read.ids[level] : 0;
            if ((levels == 2 || levels == 3) && again.ids[level] != id) {
                std::abort();
            }
        }
    }
    return 0;
}
