// The stored group enables of a matrix: database 8 of the matrix device, index
// 201 for the source groups and 251 for the destination groups. The text is
// exactly 12 comma-separated fields; field i is i with three digits,
// zero-filled, when group i is enabled and 000 when it is not. A reader takes
// the position, not the value, as the group: any field above 0 enables it.
#pragma once

#include "kovo_script_helper.h"
#include "kovo_string.h"
#include "map_store_text.h"

namespace group_enables {

constexpr int groupCount = map_store::groupCount;
constexpr int sourceIndex = 201;
constexpr int destinationIndex = 251;

kovo_string enablesText(const bool (&enabled)[groupCount]);
// Groups beyond the last field are disabled; fields after the 12th are ignored.
void parseEnables(const kovo_string& text, bool (&enabled)[groupCount]);

void readGroupEnables(kovo_script_helper& host, int device, int index, bool (&enabled)[groupCount]);
// Written with flag 0; all twelve groups every time.
void writeGroupEnables(kovo_script_helper& host, int device, int index,
                       const bool (&enabled)[groupCount]);

}  // namespace group_enables
