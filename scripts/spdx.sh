#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the licence's SPDX line at the top of every source file of the repository that lacks it
# (after a #! line); files that have it are left alone, so it can be run again at any time.
# Usage: scripts/spdx.sh
set -eu
cd "$(dirname "$0")/.."
tag='SPDX-License-Identifier: GPL-3.0-or-later'
git ls-files -z -- '*.cpp' '*.h' '*.sh' '*.py' '*.cmake' 'CMakeLists.txt' '**/CMakeLists.txt' \
  '.ci/*' | sort -z -u |
  while IFS= read -r -d '' file; do
    [ -f "$file" ] || continue
    head -n 3 "$file" | grep -q -F "$tag" && continue
    case "$file" in
      *.cpp | *.h) line="// $tag" ;;
      *.sh | *.py | *.cmake | *CMakeLists.txt) line="# $tag" ;;
      *) head -n 1 "$file" | grep -q '^#!' || continue; line="# $tag" ;;
    esac
    if head -n 1 "$file" | grep -q '^#!'; then
      sed -i "1a $line" "$file"
    else
      sed -i "1i $line" "$file"
    fi
    echo "$file"
  done
