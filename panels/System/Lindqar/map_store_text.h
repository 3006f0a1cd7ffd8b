// The stored button map of one group: database 8 of the matrix device, index g
// for source group g and 100 + g for destination group g. The text is exactly
// 30 comma-separated fields, field e being the crosspoint of button e written
// with at least three digits, zero-filled; 000 means not mapped.
#pragma once

#include "kovo_script_helper.h"
#include "kovo_string.h"

namespace map_store {

constexpr int groupCount = 12;
constexpr int elementCount = 30;
constexpr int storeDatabase = 8;

// Index in the map store of group 1..12 of the source (editDatabase 0) or
// destination (any other) map.
int groupMapIndex(int editDatabase, int group);

kovo_string groupMapText(const int (&elements)[elementCount]);
// Fields beyond the 30th are ignored; buttons beyond the last field are 0.
// Every positive field is kept as it reads, also one above the matrix size: the
// map is saved back unchanged. A field that reads as 0 or less is not mapped.
void parseGroupMap(const kovo_string& text, int (&elements)[elementCount]);

void readGroupMap(kovo_script_helper& host, int device, int editDatabase, int group,
                  int (&elements)[elementCount]);
// Written with flag 1, the flag of map writes.
void writeGroupMap(kovo_script_helper& host, int device, int editDatabase, int group,
                   const int (&elements)[elementCount]);

}  // namespace map_store
