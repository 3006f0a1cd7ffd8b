// The stored group names of a matrix: one name per index 1..12, source groups
// in database 4 and destination groups in database 5 of the matrix device.
#pragma once

#include "kovo_script_helper.h"
#include "kovo_string.h"

namespace group_names {

constexpr int sourceDatabase = 4;
constexpr int destinationDatabase = 5;

// The group-name database that belongs to a names database: 0 (sources) gives
// 4, 1 (destinations) gives 5.
inline int databaseFor(int namesDatabase) {
    return namesDatabase + sourceDatabase;
}

kovo_string readGroupName(kovo_script_helper& host, int device, int groupNamesDatabase, int group);
// Written with flag 0.
void writeGroupName(kovo_script_helper& host, int device, int groupNamesDatabase, int group,
                    const kovo_string& name);

}  // namespace group_names
