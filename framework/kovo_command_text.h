// Pieces of the host's command texts. The host has no escape: a quoted text
// goes in as it stands, except that the typed-text rule (kovo_typed_text.h)
// turns a quote or control character into a harmless byte.
#pragma once

#include "kovo_string.h"

namespace kovo_command_text {

// 'text', made host-safe
kovo_string quoted(const kovo_string& text);
// Plain decimal, a leading "-" for negative numbers, no filling.
kovo_string decimal(int value);
// "1" or "0".
kovo_string flag(bool value);

}  // namespace kovo_command_text
