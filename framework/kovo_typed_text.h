// Texts made safe for a quoted host command.
#pragma once

#include "kovo_string.h"

// The host protocol has no escape for "'", so a quote would cut a name short
// inside "RM ... 'name' 0": each "'" becomes "`", and every control character
// (bytes below 0x20, and 0x7f) becomes a space. Every other byte, UTF-8 sequences
// included, is kept. Editors apply it where keyboard text enters and where a
// name read from the host enters, so what the operator sees is exactly what is
// compared and stored; every quoted field of a command passes through it as well.
kovo_string hostSafeText(const kovo_string& typed);

// The text can stand between quotes as it is: hostSafeText would change nothing.
bool isHostSafe(const kovo_string& text);
