// How the runtime support library ends the process when the C++ library reports
// an error it would otherwise throw: the Microsoft-ABI DLLs are built without
// exceptions, as no script code throws or catches.
#pragma once

namespace kovo_ms_runtime {

// Writes "kovo runtime: <what>" to the debug output and aborts.
[[noreturn]] void fail(const char* what);

}  // namespace kovo_ms_runtime
