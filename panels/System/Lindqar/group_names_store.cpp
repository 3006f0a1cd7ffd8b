#include "group_names_store.h"

#include "stored_name.h"

namespace group_names {

kovo_string readGroupName(kovo_script_helper& host, int device, int groupNamesDatabase, int group) {
    return readStoredName(host, device, groupNamesDatabase, group);
}

void writeGroupName(kovo_script_helper& host, int device, int groupNamesDatabase, int group,
                    const kovo_string& name) {
    host.databaseModifyName(device, groupNamesDatabase, group, name, false);
}

}  // namespace group_names
