// The string library's numbers and tokenizers: leading and first numbers,
// markers, splitting, cutting and lists.
#include "fuzz_input.h"
#include "kovo_string.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const char separator = static_cast<char>(data[0]);
    const kovo_string text(kovo_fuzz::cText(kovo_fuzz::text(data + 1, size - 1)).c_str());
    text.toInt();
    text.firstInt();
    kovo_string left, right;
    text.split(separator, left, right);
    text.arg(text).arg(text.toInt(), '0', static_cast<unsigned>(data[0] % 40), 2 + data[0] % 35);
    kovo_string cut = text;
    cut.truncate(data[0]);
    text.lower();
    const kovo_stringlist list(text, separator == '\0' ? ',' : separator);
    for (const kovo_string& entry : list) {
        entry.toInt();
    }
    return 0;
}
