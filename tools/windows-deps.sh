#!/usr/bin/env bash
# Cross-builds, for x86_64-w64-mingw32, the libraries the Windows build links:
# pugixml, SQLite and libcsv from their Debian source packages (apt-get source,
# the versions of the installed -dev packages) and GoogleTest from the sources
# that Debian's googletest package installs in /usr/src/googletest; the
# header-only JSON library is taken as Debian's nlohmann-json3-dev installs it,
# and the HTTP library's single header from its Debian source package.
# Nothing comes from anywhere else.
#
# The result is installed once into a cache keyed by those versions, the
# compiler version and this script, outside the source tree:
#   ${KOVO_WINDOWS_DEPS_CACHE:-$HOME/.cache/kovo-windows-deps}/<key>
# Progress goes to standard error; the last line on standard output is the
# installed prefix. tools/setup-windows.sh installs what this script needs.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh"
toolchain=$here/../cmake/mingw-w64-x86_64.cmake
triplet=x86_64-w64-mingw32
jobs=$(kovo_jobs)

log() { echo "windows-deps: $*" >&2; }

source_version() {  # the Debian source version behind an installed binary package
  dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null ||
    { log "package $1 is not installed (run tools/setup-windows.sh)"; exit 1; }
}
pugixml_version=$(source_version libpugixml-dev)
sqlite_version=$(source_version libsqlite3-dev)
libcsv_version=$(source_version libcsv-dev)
gtest_version=$(source_version googletest)
json_version=$(source_version nlohmann-json3-dev)
httplib_version=$(source_version libcpp-httplib-dev)
compiler_version=$("$triplet-g++-posix" -dumpfullversion)
script_hash=$(cat "$0" "$toolchain" | sha256sum | cut -c1-12)
key="pugixml-${pugixml_version}_sqlite3-${sqlite_version}_libcsv-${libcsv_version}"
key+="_googletest-${gtest_version}_json-${json_version}_httplib-${httplib_version}"
key+="_gcc-${compiler_version}_${script_hash}"
key=${key//[^A-Za-z0-9._-]/_}

cache=${KOVO_WINDOWS_DEPS_CACHE:-$HOME/.cache/kovo-windows-deps}
prefix=$cache/$key
mkdir -p "$cache"
# One build at a time, however many worktrees configure at once.
exec 9>"$cache/.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
  log "cached: $prefix"
  echo "$prefix"
  exit 0
fi

work=$(mktemp -d "$cache/.build.XXXXXX")
chmod 755 "$work"  # apt-get source downloads as the unprivileged _apt user
trap 'rm -rf "$work"' EXIT
stage=$work/prefix
started=$SECONDS

cross_cmake() {  # <source> <build> [options...]: a static Release build installed into the stage
  local src=$1 bld=$2
  shift 2
  cmake -S "$src" -B "$bld" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$stage" -DBUILD_SHARED_LIBS=OFF "$@" >"$bld.log" 2>&1 ||
    { cat "$bld.log" >&2; exit 1; }
  cmake --build "$bld" -j "$jobs" >>"$bld.log" 2>&1 || { tail -50 "$bld.log" >&2; exit 1; }
  cmake --install "$bld" >>"$bld.log" 2>&1 || { tail -50 "$bld.log" >&2; exit 1; }
}

log "fetching the Debian sources of pugixml $pugixml_version, sqlite3 $sqlite_version," \
  "libcsv $libcsv_version and cpp-httplib $httplib_version"
(cd "$work" && apt-get source -qq --download-only "pugixml=$pugixml_version" \
  "sqlite3=$sqlite_version" "libcsv=$libcsv_version" "cpp-httplib=$httplib_version") >&2 ||
  { log "apt-get source failed: are deb-src entries enabled? (tools/setup-windows.sh)"; exit 1; }
for dsc in "$work"/pugixml_*.dsc "$work"/sqlite3_*.dsc "$work"/libcsv_*.dsc \
  "$work"/cpp-httplib_*.dsc; do
  name=$(basename "$dsc" | cut -d_ -f1)
  dpkg-source --no-check -x "$dsc" "$work/$name" >/dev/null
done

log "pugixml"
cross_cmake "$work/pugixml" "$work/pugixml-build" -DPUGIXML_BUILD_TESTS=OFF

log "googletest"
cross_cmake /usr/src/googletest "$work/googletest-build" -Dgtest_disable_pthreads=ON \
  -DINSTALL_GTEST=ON -DBUILD_GMOCK=ON

# SQLite's source tree generates its single-file amalgamation with host tools
# (a C compiler and tclsh); that one file is then cross-compiled.
log "sqlite3"
mkdir -p "$work/sqlite3-gen" "$stage/include" "$stage/lib"
(cd "$work/sqlite3-gen" && "$work/sqlite3/configure" --disable-tcl >configure.log 2>&1 &&
  make -j "$jobs" sqlite3.c >make.log 2>&1) ||
  { tail -50 "$work"/sqlite3-gen/*.log >&2; exit 1; }
"$triplet-gcc-posix" -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_COLUMN_METADATA \
  -c "$work/sqlite3-gen/sqlite3.c" -o "$work/sqlite3-gen/sqlite3.o"
"$triplet-ar" rcs "$stage/lib/libsqlite3.a" "$work/sqlite3-gen/sqlite3.o"
cp "$work/sqlite3-gen/sqlite3.h" "$work/sqlite3/src/sqlite3ext.h" "$stage/include/"

log "libcsv"
"$triplet-gcc-posix" -O2 -c "$work/libcsv/libcsv.c" -I"$work/libcsv" -o "$work/libcsv/libcsv.o"
"$triplet-ar" rcs "$stage/lib/libcsv.a" "$work/libcsv/libcsv.o"
cp "$work/libcsv/csv.h" "$stage/include/"

# Header-only: the headers and the package configuration as installed, which
# locate the headers relative to themselves.
log "nlohmann-json"
mkdir -p "$stage/share/cmake"
cp -r /usr/include/nlohmann "$stage/include/"
cp -r /usr/share/cmake/nlohmann_json "$stage/share/cmake/"

# Header-only as well (Debian builds it as a library; on Windows the header is
# used whole), with a package configuration that adds the socket library.
log "cpp-httplib"
mkdir -p "$stage/lib/cmake/httplib"
cp "$work/cpp-httplib/httplib.h" "$stage/include/"
cat >"$stage/lib/cmake/httplib/httplibConfig.cmake" <<'CONFIG'
if(NOT TARGET httplib::httplib)
  get_filename_component(_httplib_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
  add_library(httplib::httplib INTERFACE IMPORTED GLOBAL)
  set_target_properties(httplib::httplib PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${_httplib_prefix}/include"
    INTERFACE_LINK_LIBRARIES ws2_32)
endif()
CONFIG

touch "$stage/.complete"
rm -rf "$prefix"
mv "$stage" "$prefix"
log "built in $((SECONDS - started)) s: $prefix"
echo "$prefix"
