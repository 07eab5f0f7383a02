#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzzers with clang and runs each for a while from the committed corpora.
# New inputs go to <build>/corpus/<target>; a crashing input is left in <build>/crashes.
# Usage: fuzz/run.sh [seconds per target, default 600] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(receive_path bitmap_pieces bitmap_decoder wave_record
  graph_file setting_file measurement usb_link)
dir=${KORVELANE_FUZZ_BUILD:-build-fuzz}

scripts/deps.sh fuzz
cmake -S . -B "$dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVELANE_FUZZ=ON -DKORVELANE_BUILD_APP=OFF -DKORVELANE_BUILD_TESTS=OFF \
  -DKORVELANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p "$dir/crashes"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for t in "${targets[@]}"; do
  mkdir -p "$dir/corpus/$t"
  echo "== $t for ${seconds}s"
  "$dir/bin/fuzz_$t" "$dir/corpus/$t" "fuzz/corpus/$t" -max_total_time="$seconds" \
    -max_len=90000 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$dir/crashes/$t-" 2>&1 | tee "$dir/$t.log" | grep -E '^#[0-9]+[[:space:]]+(DONE|INITED)|^stat::|ERROR|fuzz check' || true
done
