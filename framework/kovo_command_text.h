// Pieces of the host's command texts. Arguments go in verbatim: the host has no
// escape, so a text is only ever wrapped in quotes, never changed.
#pragma once

#include "kovo_string.h"

namespace kovo_command_text {

// 'text'
kovo_string quoted(const kovo_string& text);
// Plain decimal, a leading "-" for negative numbers, no filling.
kovo_string decimal(int value);
// "1" or "0".
kovo_string flag(bool value);

}  // namespace kovo_command_text
