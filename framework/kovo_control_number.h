// Numbered control ids ("Group_7", "Area_name_0") read back from an event.
#pragma once

#include "kovo_string.h"

// The number of a control id that is exactly prefix followed by a number in
// first..last in plain decimal (no sign, no leading zero, nothing behind it);
// -1 for any other id. ("Group_", 1, 12) gives 7 for "Group_7" and -1 for
// "Group_07", "Group_7a", "Group_13" and "Group_". An id of another form names
// no control of the layout, so an event from it must not be acted on, nor the
// id echoed back to the host.
int controlNumber(const kovo_string& id, const char* prefix, int first, int last);
