// The two device-map controls read their buttons from the name databases:
// a group selector shows 12 groups, a name map one page of 30 entries.
#pragma once

#include <string>
#include <vector>

#include "control_state.h"
#include "name_lookup.h"

namespace kovo_host {

struct map_button {
    int number = 0;  // 1-based button number
    int index = -1;  // what choosing it sends: the group, or the entry behind the button
    std::string label;
    bool enabled = true;
};

constexpr int groupButtons = 12;
constexpr int pageButtons = 30;

// Group g: labelled with name g of database "namesdb" of "device", enabled when
// field g of the list at index "mapoffset" + 1 of database "mapdb" of "device.map" is above 0.
std::vector<map_button> groupSelectorButtons(const control_state& control,
                                             const name_lookup& names);

// Button e: the entry in field e of the list at index "mapoffset" + "page" of database
// "mapdb" of "device.map", labelled with that entry's name in database "namesdb" of "device".
std::vector<map_button> nameMapButtons(const control_state& control, const name_lookup& names);

// A property read as a number (leading number, saturating; 0 when unset).
int numberProperty(const control_state& control, const char* name);

}  // namespace kovo_host
