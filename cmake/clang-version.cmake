# The one clang version of the project (Debian's clang-N, lld-N, llvm-N and
# libfuzzer-N-dev): the fuzz preset and the Microsoft-ABI build use it, and
# tools/common.sh reads it from this line for the packages the setup installs.
set(KOVO_CLANG_VERSION 14)
