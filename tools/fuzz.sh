#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz, clang) and runs them on corpora
# seeded from the texts the tests use: session scripts, layouts, site files,
# the command texts and event texts the scripts expect, the stored names.
# Usage: tools/fuzz.sh [TARGET|all] [SECONDS]   (default: all targets, 10 s each)
# A target that finds a crash stops and leaves its input in build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

which=${1:-all}
seconds=${2:-10}
clang=clang++-$(kovo_clang_version)
if ! command -v "$clang" >/dev/null; then
  echo "fuzz: $clang is missing (tools/setup.sh installs clang and libFuzzer)" >&2
  exit 2
fi
build_preset fuzz >/dev/null

# The targets as tests/fuzz/CMakeLists.txt defines them (fuzz_<name>, one a line).
mapfile -t targets < build/fuzz/fuzz_targets.txt
corpus=build/fuzz/corpus
mkdir -p "$corpus" build/fuzz/findings

# first N: the first N lines of standard input. It reads to the end, unlike
# head, so the command before it never dies of SIGPIPE under pipefail.
first() { awk -v n="$1" 'NR <= n'; }
# seed_lines TARGET NAME: each line of standard input becomes one seed file,
# named NAME-<line number>, so seeding again replaces what it wrote before.
seed_lines() {
  mkdir -p "$corpus/$1"
  awk -v base="$corpus/$1/seed-$2-" '{ file = base NR; printf "%s", $0 > file; close(file) }'
}
# seed_files TARGET PREFIX FILE...: each file as one seed, PREFIX in front.
seed_files() {
  local target=$1 prefix=$2
  shift 2
  mkdir -p "$corpus/$target"
  for file in "$@"; do
    { printf '%b' "$prefix"; cat "$file"; } > "$corpus/$target/seed-$(printf '%s' "$prefix$file" | tr -c 'A-Za-z0-9_.-' '_')"
  done
}

scripts=$(find tests sites -name '*.kovo')
# shellcheck disable=SC2086
seed_files session_script "" $scripts
seed_files layout_file "" $(find panels tests -name '*.kovo_ui')
seed_files ini_reader 'Device\nName\n' $(find tests sites -name 'dev_*.ini' | sort | first 40)
seed_files ini_reader 'database\ndatabasesize_0\n' $(find tests sites -name 'dev_*.ini' | sort | first 40)
seed_files config_lookup 'rtr_area_0\n' $(find tests sites -name 'object_settings.xml' | sort | first 40)
seed_files config_lookup '12\n' $(find tests sites -name 'workstations.xml' | sort | first 40)
# shellcheck disable=SC2086
sed -n 's/^expect //p' $scripts | sort -u | first 3000 | seed_lines command_text expect
# shellcheck disable=SC2086
sed -n -e 's/^event [^ ]* [^ ]* [^ ]* //p' -e 's/^type [^ ]* [^ ]* [^ ]* /text=/p' $scripts |
  sort -u | first 2000 | seed_lines key_value event
# shellcheck disable=SC2086
sed -n "s/^expect-debug reply /'/p" $scripts | sort -u | seed_lines decode_string reply
names=$(find tests sites -path '*names*' -name 'db_*.txt')
# shellcheck disable=SC2086
cut -d' ' -f2- $names | sort -u | first 2000 | seed_lines string_numbers name
# shellcheck disable=SC2086
grep -h '^[0-9]' $(find tests sites -path '*names*' -name 'db_8.txt') | cut -d' ' -f2- | sort -u |
  seed_lines map_text db8
# shellcheck disable=SC2086
{ grep -rhoE "'[-0-9]+(,[-0-9]*){0,3}'" tests/corvane | tr -d "'"; printf '%s\n' 12,34 12,-,7 -,-,- ''; } |
  sort -u | seed_lines package_content content

status=0
for program in "${targets[@]}"; do
  target=${program#fuzz_}
  [ "$which" = all ] || [ "$which" = "$target" ] || [ "$which" = "$program" ] || continue
  mkdir -p "$corpus/$target"
  echo "== $program for $seconds s"
  if ! build/fuzz/bin/"$program" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
       -rss_limit_mb=1024 -print_final_stats=1 -artifact_prefix=build/fuzz/findings/"$target"- \
       "$corpus/$target" 2> "build/fuzz/$target.log"; then
    echo "$program found a fault:" >&2
    tail -40 "build/fuzz/$target.log" >&2
    status=1
  fi
  grep -E "stat::number_of_executed_units|stat::new_units_added" "build/fuzz/$target.log" |
    sed "s/^/  /" || true
done
exit $status
