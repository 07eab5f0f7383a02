#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds Korvelane into build/ (or build-asan/ with --sanitize).
# Usage: scripts/build.sh [--sanitize] [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
args=()
if [ "${1:-}" = --sanitize ]; then
  shift
  dir=build-asan
  args+=(-DKORVELANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
cmake -S . -B "$dir" "${args[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)" >&2
echo "$dir"
