#!/usr/bin/env bash
# Builds the bench preset, runs the benchmark programs and, where valgrind is
# installed, counts the instructions per command of each plug-in scenario and of
# its floor with callgrind and prints their ratio. Instruction counts are the
# figures to compare; the wall times drift with the machine's clock.
# Usage: tools/bench.sh [--quick]   (--quick: callgrind counts only)
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

quick=0
[ "${1:-}" = "--quick" ] && quick=1
# The build's packages, and valgrind for the instruction counts.
tools/setup.sh >/dev/null
tools/apt-install.sh valgrind >/dev/null || echo "valgrind could not be installed"
build_preset bench >/dev/null
bin=build/bench/bin

if [ $quick = 0 ]; then
  echo "== wall and CPU time (secondary figures; the plug-ins' debug output is dropped)"
  "$bin/kovo_plugin_bench" --benchmark_min_time=0.1 2>/dev/null
  "$bin/kovo_host_bench" --benchmark_min_time=0.2 2>/dev/null
fi

if ! command -v valgrind >/dev/null; then
  echo "valgrind is not installed: no instruction counts"
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Instructions callgrind counted inside the measured functions, and the
# commands they sent: "<instructions> <commands>".
count() {
  valgrind --tool=callgrind --toggle-collect='kovo_bench::measured*' \
    --callgrind-out-file="$work/cg.out" "$bin/kovo_count_commands" "$@" \
    >"$work/out" 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
  echo "$(awk '/^totals:/ {print $2}' "$work/cg.out") $(awk '/^commands/ {print $2}' "$work/out")"
}

echo "== instructions per command (callgrind): plug-in against its floor"
printf '%-22s %12s %12s %7s  %s\n' scenario plug-in floor ratio "goal 2x (aim 1.5x)"
for scenario in $("$bin/kovo_count_commands"); do
  # About 8,000 commands a run keeps each count to a few seconds.
  cycles=$(( 8000 / $("$bin/kovo_count_commands" "$scenario" plugin 1 2>/dev/null |
                        awk '/^commands/ {print $2}') + 1 ))
  read -r pi pc < <(count "$scenario" plugin "$cycles")
  read -r fi fc < <(count "$scenario" floor "$cycles")
  awk -v s="$scenario" -v pi="$pi" -v pc="$pc" -v fi="$fi" -v fc="$fc" 'BEGIN {
    p = pi / pc; f = fi / fc; r = p / f;
    printf "%-22s %12.0f %12.0f %6.2fx  %s\n", s, p, f, r,
           r <= 1.5 ? "met (aim too)" : r <= 2 ? "met" : "NOT met" }'
done

echo "== the simulator: Tavisk presses in process, the transcript's window full"
if [ $quick = 0 ]; then
  # Seven runs: the clock drifts, the median is the figure (goal: 1M commands a second).
  "$bin/kovo_host_bench" --benchmark_filter=simulatorCommands --benchmark_repetitions=7 \
    --benchmark_min_time=0.3 --benchmark_report_aggregates_only=true 2>/dev/null
fi
valgrind --tool=callgrind --toggle-collect='kovo_bench::measuredPresses*' \
  --callgrind-out-file="$work/cg.out" "$bin/kovo_count_presses" 4000 \
  >"$work/out" 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
awk -v i="$(awk '/^totals:/ {print $2}' "$work/cg.out")" \
    -v p="$(awk '/^presses/ {print $2}' "$work/out")" \
    -v c="$(awk '/^commands/ {print $2}' "$work/out")" 'BEGIN {
  printf "instructions a press %.0f, a command %.0f (%.2f commands a press)\n", i / p, i / c, c / p }'
