// Uses an operation of the stand-in string library that the specified surface
// lacks: compiling it against tests/surface must fail, or the check proves nothing.
#include "kovo_string.h"

const char* text(const kovo_string& s) {
    return s.c_str();
}
