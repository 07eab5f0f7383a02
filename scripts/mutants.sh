#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Mutation testing of the core: plants one small fault at a time in src/core, rebuilds, runs the
# core tests and reports which faults survive. Arguments go to scripts/mutants.py (--help).
# Usage: scripts/mutants.sh [--sample N] [--seed S] [paths under src/core...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
exec python3 scripts/mutants.py "$@"
