#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks and runs every one of them, reporting medians of repeated runs.
# Usage: scripts/bench.sh [--smoke|--callgrind] [BUILD_DIR] [benchmark arguments, e.g.
#        --benchmark_filter=Refresh]
#   BUILD_DIR    build-rel (configured Release) unless given; an existing build folder is used
#                as it is configured, a new one is configured Release.
#   --smoke      each benchmark runs once with a tiny minimum time, only to show that they all
#                still build and run (CI); fails when any of them reports an error.
#   --callgrind  counts the instructions of one RefreshAll under valgrind (stable on a busy
#                machine) and lists the functions that take most of them.
# Environment: REPETITIONS (default 10) runs of each benchmark for the medians; BENCHES the
# programs to run (default all), e.g. BENCHES=bench_refresh.
# The JSON results go to BUILD_DIR/bench-results/.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=run
case "${1:-}" in
  --smoke | --callgrind)
    mode=${1#--}
    shift
    ;;
esac
dir=build-rel
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
  dir=$1
  shift
fi

scripts/deps.sh test
[ "$mode" = callgrind ] && scripts/deps.sh profile
args=(-DKORVELANE_BUILD_BENCH=ON)
if [ "$dir" = build-rel ] || [ ! -f "$dir/CMakeCache.txt" ]; then
  args+=(-DCMAKE_BUILD_TYPE=Release -DKORVELANE_BUILD_APP=ON -DKORVELANE_BUILD_TESTS=OFF)
fi
cmake -S . -B "$dir" "${args[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)" --target benches >&2

results="$dir/bench-results"
mkdir -p "$results"

# Instructions inside Acquisition::RefreshAll only (the world's set-up is not counted), divided
# by the number of calls; the simulated instrument's share is that of its Exchange.
if [ "$mode" = callgrind ]; then
  out="$results/refresh.callgrind"
  valgrind --tool=callgrind --toggle-collect='korvelane::Acquisition::RefreshAll()' \
    --callgrind-out-file="$out" "$dir/bin/bench_refresh" --benchmark_filter='BM_RefreshAll$' \
    --benchmark_min_time=0.2 >/dev/null 2>&1
  id=$(grep -o 'fn=([0-9]*) korvelane::Acquisition::RefreshAll()' "$out" | head -n 1 |
    sed 's/^.*fn=(\([0-9]*\)).*$/\1/')
  calls=$(awk -v id="$id" '/^cfn=/ { want = ($1 == "cfn=(" id ")") }
    /^calls=/ { if (want) { split($1, c, "="); n += c[2] }; want = 0 } END { print n }' "$out")
  total=$(awk '/^totals:/ { print $2 }' "$out")
  instrument=$(callgrind_annotate --inclusive=yes "$out" |
    awk '/SimulatedInstrument::Exchange/ { gsub(",", "", $1); print $1; exit }')
  echo "RefreshAll: $calls calls, $((total / calls)) instructions a refresh;" \
    "the simulated instrument $((instrument / calls)), Korvelane $(((total - instrument) / calls))"
  callgrind_annotate "$out" | sed -n '/file:function/,$p' | sed -n '2,16p'
  exit 0
fi

export QT_QPA_PLATFORM=offscreen
all="bench_refresh bench_files bench_lists bench_graph bench_bitmap bench_printing bench_recording"
read -r -a benches <<<"${BENCHES:-$all}"
status=0
for bench in "${benches[@]}"; do
  program="$dir/bin/$bench"
  if [ ! -x "$program" ]; then
    echo "$bench: not built (Google Benchmark or Qt missing)" >&2
    status=1
    continue
  fi
  if [ "$mode" = smoke ]; then
    if ! output=$("$program" --benchmark_min_time=0.001 "$@" 2>&1) ||
      grep -q "ERROR OCCURRED" <<<"$output"; then
      echo "$output" >&2
      echo "$bench: FAILED" >&2
      status=1
    else
      echo "$bench: ok"
    fi
  else
    "$program" --benchmark_repetitions="${REPETITIONS:-10}" \
      --benchmark_report_aggregates_only=true \
      --benchmark_out="$results/$bench.json" --benchmark_out_format=json "$@"
  fi
done
exit $status
