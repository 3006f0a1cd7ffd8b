// Names read from a device database for display or comparison.
#include "kovo_script_helper.h"
#include "kovo_typed_text.h"

kovo_string kovo_script_helper::storedName(int device, int database, int index) {
    kovo_string name;
    databaseGetName(device, database, index, name);
    name.truncate(maxStoredNameLength);
    return hostSafeText(name);
}
