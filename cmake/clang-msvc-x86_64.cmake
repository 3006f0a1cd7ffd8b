# Cross-compiling 64-bit Windows DLLs with the Microsoft C++ ABI, from Debian
# packages alone: clang targeting x86_64-pc-windows-msvc, lld-link, and
# mingw-w64's C headers and import libraries of the Universal CRT. The facility's
# panel host and its kovo_string.dll/kovo_config.dll are built with Microsoft's
# compiler, so the plug-ins must lay out their tables and name their imports as
# it does; MinGW's g++ uses the Itanium ABI instead (docs/windows.md).
#
# The C++ library is GCC's libstdc++, headers only: what it keeps in its compiled
# library is built for MinGW and cannot be linked here, so the few pieces the
# DLLs need come from platform/ms_runtime, and the code keeps to what needs no
# more (no exceptions, no RTTI, no iostreams, filesystem or threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

include(${CMAKE_CURRENT_LIST_DIR}/clang-version.cmake)
set(KOVO_MSVC_TARGET x86_64-pc-windows-msvc)
set(CMAKE_C_COMPILER clang-${KOVO_CLANG_VERSION})
set(CMAKE_CXX_COMPILER clang++-${KOVO_CLANG_VERSION})
set(CMAKE_C_COMPILER_TARGET ${KOVO_MSVC_TARGET})
set(CMAKE_CXX_COMPILER_TARGET ${KOVO_MSVC_TARGET})
set(CMAKE_RC_COMPILER llvm-rc-${KOVO_CLANG_VERSION})
set(CMAKE_AR llvm-ar-${KOVO_CLANG_VERSION})
set(CMAKE_RANLIB llvm-ranlib-${KOVO_CLANG_VERSION})
set(CMAKE_LINKER lld-link-${KOVO_CLANG_VERSION})
set(CMAKE_OBJDUMP llvm-objdump-${KOVO_CLANG_VERSION})

set(KOVO_MINGW_ROOT /usr/x86_64-w64-mingw32)
file(GLOB KOVO_LIBSTDCXX_INCLUDE /usr/lib/gcc/x86_64-w64-mingw32/*-posix/include/c++)
list(GET KOVO_LIBSTDCXX_INCLUDE 0 KOVO_LIBSTDCXX_INCLUDE)
if(NOT IS_DIRECTORY "${KOVO_LIBSTDCXX_INCLUDE}" OR NOT IS_DIRECTORY "${KOVO_MINGW_ROOT}/include")
  message(FATAL_ERROR "mingw-w64 headers missing: run tools/setup-windows.sh")
endif()
get_filename_component(kovo_runtime_include ${CMAKE_CURRENT_LIST_DIR}/../platform/ms_runtime/include
                       ABSOLUTE)

# No system headers of the build machine: the runtime's override of libstdc++'s
# configuration first, then libstdc++, clang's own headers, mingw-w64's C headers
# for the Universal CRT (_UCRT). -fno-ms-compatibility: libstdc++ needs the
# standard's two-phase name lookup.
set(kovo_flags "-nostdinc++ -nostdlibinc -isystem ${kovo_runtime_include}")
string(APPEND kovo_flags " -isystem ${KOVO_LIBSTDCXX_INCLUDE}"
       " -isystem ${KOVO_LIBSTDCXX_INCLUDE}/x86_64-w64-mingw32"
       " -idirafter ${KOVO_MINGW_ROOT}/include -D_UCRT")
string(APPEND kovo_flags " -Wno-unused-command-line-argument -fno-ms-compatibility -fno-exceptions -fno-rtti -fno-threadsafe-statics")
set(CMAKE_C_FLAGS_INIT "${kovo_flags}")
set(CMAKE_CXX_FLAGS_INIT "${kovo_flags}")
# The C runtime is the Universal CRT of the system, through mingw-w64's import
# libraries; the runtime library named by the compiler's default-library
# directives (Microsoft's) does not exist here. The linker writes a map beside
# each binary (the slot-order test reads it), and keeps quiet about the long
# section names of the debug information in mingw-w64's few compiled wrappers.
set(CMAKE_MSVC_RUNTIME_LIBRARY "")
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT
      "-Xlinker /nodefaultlib -Xlinker /map -Xlinker /ignore:longsections")
endforeach()
set(CMAKE_C_STANDARD_LIBRARIES
    "${KOVO_MINGW_ROOT}/lib/libucrt.a ${KOVO_MINGW_ROOT}/lib/libkernel32.a" CACHE STRING "" FORCE)
set(CMAKE_CXX_STANDARD_LIBRARIES "${CMAKE_C_STANDARD_LIBRARIES}" CACHE STRING "" FORCE)

# A program needs the runtime support library's start-up, which the compiler
# checks cannot have: they build a static library instead.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(CMAKE_FIND_ROOT_PATH ${KOVO_MINGW_ROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Read by the project: link platform/ms_runtime into everything, build only
# what the DLLs need.
set(KOVO_MICROSOFT_ABI ON)
