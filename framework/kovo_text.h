// The text of a kovo_string and whether it is empty, through operations the
// string library is specified to have (its conversion to a constant character
// string, its length): the facility's library need not have c_str or isEmpty.
#pragma once

#include "kovo_string.h"

// The text, valid while the string lives and is unchanged.
inline const char* textOf(const kovo_string& text) {
    return text;
}

inline bool isEmpty(const kovo_string& text) {
    return text.length() == 0;
}
