# The compiler of the fuzz preset: clang with libFuzzer, in the project's one
# clang version (tools/setup.sh installs clang-N and libfuzzer-N-dev).
include(${CMAKE_CURRENT_LIST_DIR}/clang-version.cmake)
set(CMAKE_CXX_COMPILER clang++-${KOVO_CLANG_VERSION})
