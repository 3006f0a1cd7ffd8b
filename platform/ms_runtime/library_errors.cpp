// libstdc++'s headers report misuse (a string or vector grown past its maximum,
// an allocation size that overflows) through these functions of its compiled
// library, which would throw. Built without exceptions, the DLLs stop instead,
// saying why on the debug output.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdlib>
#include <string>

#include "ms_runtime_fail.h"

namespace kovo_ms_runtime {

void fail(const char* what) {
    OutputDebugStringA("kovo runtime: ");
    OutputDebugStringA(what);
    OutputDebugStringA("\n");
    std::abort();
}

}  // namespace kovo_ms_runtime

namespace std {

void __throw_bad_alloc() {
    kovo_ms_runtime::fail("out of memory");
}
void __throw_bad_array_new_length() {
    kovo_ms_runtime::fail("array size out of range");
}
void __throw_length_error(const char* what) {
    kovo_ms_runtime::fail(what);
}
void __throw_logic_error(const char* what) {
    kovo_ms_runtime::fail(what);
}
void __throw_out_of_range_fmt(const char* what, ...) {
    kovo_ms_runtime::fail(what);
}

}  // namespace std
