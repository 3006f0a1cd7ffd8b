#include "kovo_control_number.h"

#include "kovo_text.h"

int controlNumber(const kovo_string& id, const char* prefix, int first, int last) {
    if (!id.startsWith(prefix)) {
        return -1;
    }
    const kovo_string tail(textOf(id) + kovo_string(prefix).length());
    const int number = tail.toInt();
    if (tail != kovo_string(number, ' ', 0) || number < first || number > last) {
        return -1;
    }
    return number;
}
