#include "enables_text.h"

#include "kovo_text.h"

namespace group_enables {

kovo_string enablesText(const bool (&enabled)[groupCount]) {
    kovo_string text;
    for (int i = 0; i < groupCount; ++i) {
        if (i > 0) {
            text += ",";
        }
        text += kovo_string(enabled[i] ? i + 1 : 0, '0', 3);
    }
    return text;
}

void parseEnables(const kovo_string& text, bool (&enabled)[groupCount]) {
    for (bool& groupOn : enabled) {
        groupOn = false;
    }
    if (isEmpty(text)) {
        return;
    }
    const kovo_stringlist fields(text, ',');
    const int used = fields.count() < groupCount ? fields.count() : groupCount;
    for (int i = 0; i < used; ++i) {
        enabled[i] = fields[i].toInt() > 0;
    }
}

void readGroupEnables(kovo_script_helper& host, int device, int index,
                      bool (&enabled)[groupCount]) {
    parseEnables(host.storedName(device, map_store::storeDatabase, index), enabled);
}

void writeGroupEnables(kovo_script_helper& host, int device, int index,
                       const bool (&enabled)[groupCount]) {
    host.databaseModifyName(device, map_store::storeDatabase, index, enablesText(enabled), false);
}

}  // namespace group_enables
