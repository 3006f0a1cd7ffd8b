# Cross-compiling for 64-bit Windows with MinGW-w64 (Debian package mingw-w64).
# The posix thread flavour of the compilers provides std::mutex; everything the
# toolchain brings along (C++ runtime, libgcc, winpthreads) is linked statically,
# so the built DLLs and programs need nothing beyond the system's own DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KOVO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KOVO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KOVO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KOVO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KOVO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-static")
endforeach()
