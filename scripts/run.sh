#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts Korvelane against the simulated instrument.
# Without a display, Korvelane runs under Xvfb (a virtual display).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
scripts/build.sh >/dev/null
args=("$@")
[ ${#args[@]} -eq 0 ] && args=(--device sim)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Korvelane under Xvfb (a virtual X display)."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/korvelane "${args[@]}"
fi
exec build/bin/korvelane "${args[@]}"
