// The global allocation functions, which libstdc++ keeps in its compiled
// library: the UCRT's heap behind them, so memory allocated in a DLL is freed
// by the same heap wherever it is released.
#include <cstdlib>
#include <new>

#include "ms_runtime_fail.h"

namespace std {
// Declared by <new>; operator new(size, nothrow) and the scripts' export take it.
const nothrow_t nothrow{};
}  // namespace std

namespace {

void* allocate(std::size_t size) {
    return std::malloc(size == 0 ? 1 : size);
}

void* allocateOrFail(std::size_t size) {
    void* memory = allocate(size);
    if (memory == nullptr) {
        kovo_ms_runtime::fail("out of memory");  // where operator new would throw bad_alloc
    }
    return memory;
}

}  // namespace

void* operator new(std::size_t size) {
    return allocateOrFail(size);
}
void* operator new[](std::size_t size) {
    return allocateOrFail(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
