// The key.part=value event text, split in place as the host builds it.
#include <cstdlib>
#include <cstring>

#include "fuzz_input.h"
#include "kovo_interface.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = kovo_fuzz::cText(kovo_fuzz::text(data, size));
    const kovo_key_value split(text.c_str());
    if (split.count < 0 || split.count > kovo_key_value::maxParts || split.key == nullptr ||
        split.value == nullptr) {
        std::abort();
    }
    std::size_t seen = std::strlen(split.key) + std::strlen(split.value);
    for (int i = 0; i < kovo_key_value::maxParts; ++i) {
        if (split.parts[i] == nullptr) {
            std::abort();
        }
        seen += std::strlen(split.parts[i]);
    }
    return seen > text.size() * (kovo_key_value::maxParts + 2) ? 1 : 0;
}
