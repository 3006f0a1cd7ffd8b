# Sourced by the tools: one home for the number of build jobs, the generator,
# configuring and building a preset, and the clang version of the fuzz build.
# (Not a command of its own: `. tools/common.sh` from the top of the tree.)

kovo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The parallel jobs of a build: KOVO_JOBS, else one per processor.
kovo_jobs() {
  echo "${KOVO_JOBS:-$(nproc 2>/dev/null || echo 2)}"
}

# A new build folder is configured for Ninja where it is installed (tools/setup.sh
# installs it): it schedules the compiles of all targets together and checks
# what is up to date in a fraction of make's time. A folder configured before
# keeps the generator it has; CMAKE_GENERATOR set by the caller wins.
if [ -z "${CMAKE_GENERATOR:-}" ] && command -v ninja >/dev/null; then
  export CMAKE_GENERATOR=Ninja
fi

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
