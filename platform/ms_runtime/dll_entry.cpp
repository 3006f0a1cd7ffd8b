// The entry point of every Microsoft-ABI DLL of this project. Microsoft's own
// start-up code (vcruntime's static part) is not available from Debian, and
// the Universal CRT does not run a DLL's constructors: this does, before the
// DLL's DllMain, and runs its static destructors when the DLL is unloaded.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdlib>

#include "ms_runtime_fail.h"

namespace {

using initializer = void (*)();

// The compiler puts a pointer to each translation unit's constructor code in
// section .CRT$XCU; the linker sorts .CRT$XC* by name, so these two bracket
// them all. Gaps the linker pads with are null.
__attribute__((section(".CRT$XCA"), used)) const initializer firstInitializer = nullptr;
__attribute__((section(".CRT$XCZ"), used)) const initializer lastInitializer = nullptr;

void runInitializers() {
    for (const initializer* at = &firstInitializer + 1; at < &lastInitializer; ++at) {
        if (*at != nullptr) {
            (*at)();
        }
    }
}

// Static destructors, registered through atexit while the constructors run.
// They belong to this DLL, so they run when it is unloaded, not at the end of
// the process (which the UCRT's atexit would do, after the code is gone).
using exitFunction = void (*)();
exitFunction* exitFunctions = nullptr;
std::size_t exitCount = 0;
std::size_t exitCapacity = 0;

void runExitFunctions() {
    while (exitCount > 0) {
        exitFunctions[--exitCount]();
    }
    std::free(exitFunctions);
    exitFunctions = nullptr;
    exitCapacity = 0;
}

}  // namespace

extern "C" int __cdecl atexit(void(__cdecl* function)(void)) {
    if (exitCount == exitCapacity) {
        const std::size_t capacity = exitCapacity == 0 ? 16 : exitCapacity * 2;
        void* grown = std::realloc(exitFunctions, capacity * sizeof(exitFunction));
        if (grown == nullptr) {
            return -1;  // not registered: that object is not destroyed at unload
        }
        exitFunctions = static_cast<exitFunction*>(grown);
        exitCapacity = capacity;
    }
    exitFunctions[exitCount++] = function;
    return 0;
}

// A DLL without a DllMain of its own (the stand-in libraries) gets this one.
extern "C" BOOL WINAPI kovo_default_dll_main(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
#pragma comment(linker, "/alternatename:DllMain=kovo_default_dll_main")

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

extern "C" BOOL WINAPI _DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        runInitializers();
    }
    const BOOL result = DllMain(instance, reason, reserved);
    if (reason == DLL_PROCESS_DETACH) {
        runExitFunctions();
    }
    return result;
}
