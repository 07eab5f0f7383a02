#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages Korvelane needs to build, run and test, when they are missing.
# Usage: scripts/deps.sh [run|test|fuzz|lint|profile]
set -euo pipefail

packages=(g++ cmake make pkg-config qt6-base-dev qt6-svg-dev libqcustomplot-dev libusb-1.0-0-dev
  xvfb xauth fonts-wqy-zenhei)
if [ "${1:-run}" = test ]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev imagemagick umockdev libumockdev-dev
    desktop-file-utils dpkg-dev file man-db poppler-utils
    at-spi2-core python3-pyatspi dbus-daemon dbus-bin xclip xdotool x11-utils)
fi
if [ "${1:-run}" = fuzz ]; then
  packages+=(clang-14 libclang-rt-14-dev)
fi
# lintian for checking the .deb by hand: large (perl and its modules), so not part of "test".
if [ "${1:-run}" = lint ]; then
  packages+=(lintian)
fi
# valgrind for the instruction counts of scripts/bench.sh --callgrind.
if [ "${1:-run}" = profile ]; then
  packages+=(valgrind)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
