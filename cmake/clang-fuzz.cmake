# The compiler of the fuzz preset: clang with libFuzzer, in the one version
# named here (Debian's clang-N and libfuzzer-N-dev; tools/setup.sh installs
# them and the tools read the version from this line).
set(KOVO_CLANG_VERSION 14)
set(CMAKE_CXX_COMPILER clang++-${KOVO_CLANG_VERSION})
