// Reading one name of a device database through the host.
#pragma once

#include "kovo_script_helper.h"
#include "kovo_string.h"

// The name at (device, database, index). The host leaves the text unchanged when
// it has no answer, so every read starts from an empty text: a name the host
// cannot give reads as empty, never as the name read before it.
inline kovo_string readStoredName(kovo_script_helper& host, int device, int database, int index) {
    kovo_string name;
    host.databaseGetName(device, database, index, name);
    return name;
}
