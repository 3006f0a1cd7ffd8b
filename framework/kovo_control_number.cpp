#include "kovo_control_number.h"

#include "kovo_typed_text.h"

int controlNumber(const kovo_string& id) {
    return id.firstInt();
}

bool canNameBack(const kovo_string& id) {
    return isHostSafe(id);
}
