// decodeKOVOString, the tokenizer of replies of several words, with the
// quote character on the first byte.
#include <cstdlib>
#include <cstring>

#include "fuzz_input.h"
#include "kovo_events.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const char quote = static_cast<char>(data[0]);
    const std::string text = kovo_fuzz::cText(kovo_fuzz::text(data + 1, size - 1));
    const decodeKOVOString words(text.c_str(), quote == '\0' ? '\'' : quote);
    if (words.count < 0 || words.count > decodeKOVOString::maxTokens) {
        std::abort();
    }
    std::size_t total = 0;
    for (const char* token : words.tokens) {
        total += std::strlen(token);
    }
    return total > text.size() * 2 + 1 ? 1 : 0;
}
