# Sourced by the tools: one home for the number of build jobs, for configuring
# and building a preset, and for the clang version of the fuzz build.
# (Not a command of its own: `. tools/common.sh` from the top of the tree.)

kovo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The parallel jobs of a build: KOVO_JOBS, else one per processor.
kovo_jobs() {
  echo "${KOVO_JOBS:-$(nproc 2>/dev/null || echo 2)}"
}

# build_preset PRESET [cmake --build options...]: configures the preset and
# builds it (or the targets the options name) with kovo_jobs jobs.
build_preset() {
  local preset=$1
  shift
  cmake --preset "$preset" && cmake --build --preset "$preset" -j "$(kovo_jobs)" "$@"
}

# The project's clang version, as cmake/clang-version.cmake names it.
kovo_clang_version() {
  sed -n 's/^set(KOVO_CLANG_VERSION \([0-9][0-9]*\))$/\1/p' "$kovo_root/cmake/clang-version.cmake"
}
