// The map editor's stored texts: a group map and the group enables, read from
// any text and written back in their well-formed shape.
#include <cstdlib>

#include "enables_text.h"
#include "fuzz_input.h"
#include "map_store_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kovo_string text(kovo_fuzz::cText(kovo_fuzz::text(data, size)).c_str());
    int elements[map_store::elementCount];
    map_store::parseGroupMap(text, elements);
    map_store::groupMapText(elements);
    bool enabled[group_enables::groupCount];
    group_enables::parseEnables(text, enabled);
    bool again[group_enables::groupCount];
    group_enables::parseEnables(group_enables::enablesText(enabled), again);
    for (int i = 0; i < group_enables::groupCount; ++i) {
        if (again[i] != enabled[i]) {
            std::abort();
        }
    }
    return 0;
}
