// Numbered control ids ("Group_7", "WS_03", "XPT_map_40"): named for a
// command, and read back from an event.
#pragma once

#include "kovo_string.h"

// Control N of a row: "Group_7" from ("Group_%1", 7). The number is plain
// decimal, as the layouts name their rows.
kovo_string numberedControl(const char* pattern, int number);

// The number N of a control "<prefix>N", read as the panels read it: the first
// integer in the id ("Group_7", "Group_07" and "Group_7a" give 7, "Group_" 0,
// "Area_name_-1" -1). A site's layout may name its controls in any of these
// forms, so the callers check only that the number names something their panel
// holds.
int controlNumber(const kovo_string& id);

// The id of an event's control can be named back in a command, as the panels
// do when they put a look on the pressed control itself: the host's quoting
// leaves it as it is. An id holding a quote or a control character would reach
// the host as another control's name (hostSafeText), and no layout can hold
// such a control, so an event from it is not acted on.
bool canNameBack(const kovo_string& id);
