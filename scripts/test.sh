#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test.
# Usage: scripts/test.sh [--sanitize] [ctest arguments, e.g. -L protocol]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
build_args=()
if [ "${1:-}" = --sanitize ]; then
  shift
  build_args+=(--sanitize)
fi
dir=$(scripts/build.sh "${build_args[@]}" | tail -n 1)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$dir"
ctest --output-on-failure -j "$(nproc)" "$@"
