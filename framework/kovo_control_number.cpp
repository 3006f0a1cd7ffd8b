#include "kovo_control_number.h"

#include "kovo_typed_text.h"

kovo_string numberedControl(const char* pattern, int number) {
    return kovo_string(pattern).arg(number);
}

int controlNumber(const kovo_string& id) {
    return id.firstInt();
}

bool canNameBack(const kovo_string& id) {
    return isHostSafe(id);
}
