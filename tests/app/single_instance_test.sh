#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A second Korvelane of the same user writes one FATAL line and exits with 0 before any window
# appears; a lock left by a killed process does not stop the next start.
set -u
korvelane="$1"
work=$(mktemp -d)
first=""; third=""
trap 'kill -9 $first $third 2>/dev/null; rm -rf "$work"' EXIT
cp "$korvelane" "$work/korvelane"   # logs go beside the executable
mkdir -p -m 700 "$work/run" "$work/config"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen

fail() { echo "FAIL: $*"; exit 1; }

wait_for_lock() {
  for _ in $(seq 1 100); do
    ls "$work/run"/Korvelane-*.lock >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  return 1
}

"$work/korvelane" --device sim &
first=$!
wait_for_lock || fail "the first instance took no lock"

timeout 10 "$work/korvelane" --device sim
code=$?
[ "$code" -eq 0 ] || fail "the second instance exited with $code"
kill -0 $first 2>/dev/null || fail "the first instance is gone"
fatal=$(grep -a -c "FATAL  :" "$work/BlogFile.txt")
[ "$fatal" -eq 1 ] || fail "expected one FATAL line, found $fatal"
expected=$(printf '%s' "已有该软件的实例打开，不支持重复打开该软件。启动软件失败！" | iconv -f UTF-8 -t GBK)
grep -a -q -F "$expected" "$work/BlogFile.txt" || fail "the FATAL line has another text"

kill -9 $first
wait $first 2>/dev/null
"$work/korvelane" --device sim &
third=$!
sleep 1
kill -0 $third 2>/dev/null || fail "a stale lock stopped the next start"
fatal=$(grep -a -c "FATAL  :" "$work/BlogFile.txt")
[ "$fatal" -eq 1 ] || fail "the start after a stale lock wrote a FATAL line"
echo "single instance: ok"
