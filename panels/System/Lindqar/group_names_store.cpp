#include "group_names_store.h"

namespace group_names {

kovo_string readGroupName(kovo_script_helper& host, int device, int groupNamesDatabase, int group) {
    return host.storedName(device, groupNamesDatabase, group);
}

void writeGroupName(kovo_script_helper& host, int device, int groupNamesDatabase, int group,
                    const kovo_string& name) {
    host.databaseModifyName(device, groupNamesDatabase, group, name, false);
}

}  // namespace group_names
