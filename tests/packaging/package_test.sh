#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the build tree, installs it with dpkg into a scratch root and
# checks what a user gets: the files, their validity, the package's dependencies, the programs'
# command lines, and that an installed Korvelane keeps its logs and files in the per-user data
# folder and its settings where QSettings keeps them.
# Usage: package_test.sh BUILD_DIR
set -u
build="$1"
work=$(mktemp -d)
first=""
xvfb=""
trap 'for p in $first $xvfb; do kill "$p" 2>/dev/null; done; rm -rf "$work"' EXIT
chmod 755 "$work"

fail() { echo "FAIL: $*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack did not build the package"; }
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb, found: ${debs[*]}"
deb="${debs[0]}"

# Dependencies come from the linked libraries, plus the display plugins.
depends=$(dpkg-deb -f "$deb" Depends)
names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for dep in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6svg6 libusb-1.0-0 qt6-qpa-plugins; do
  grep -q -x -F "$dep" <<<"$names" || fail "Depends lacks $dep: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = korvelane ] || fail "the package is not named korvelane"
[ "$(dpkg-deb -f "$deb" Version)" = 2.0 ] || fail "the package's version is not 2.0"
# A maintainer one can write to, a Debian section, and a description dpkg shows unwrapped.
maintainer=$(dpkg-deb -f "$deb" Maintainer)
grep -q -E '^[A-Z][^<>]* <[^@<> ]+@[^@<> ]+\.[a-z]+>$' <<<"$maintainer" &&
  ! grep -q localhost <<<"$maintainer" || fail "the maintainer is not a contact: $maintainer"
[ "$(dpkg-deb -f "$deb" Section Priority)" = $'Section: electronics\nPriority: optional' ] ||
  fail "section and priority: $(dpkg-deb -f "$deb" Section Priority)"
long_lines=$(dpkg-deb -f "$deb" Description | awk 'length > 80')
[ -z "$long_lines" ] || fail "description lines over 80 columns: $long_lines"

# Installed by dpkg into a scratch root with a database of its own, never the system's. Nothing
# is installed there beside it, so its dependencies (checked above) cannot be met.
root="$work/root"
admin="$root/var/lib/dpkg"
mkdir -p "$admin/info" "$admin/updates" "$admin/triggers"
touch "$admin/status" "$admin/available"
dpkg --root="$root" --admindir="$admin" --log=/dev/null --force-not-root \
  --force-script-chrootless --force-depends -i "$deb" >"$work/dpkg.log" 2>&1 ||
  { cat "$work/dpkg.log"; fail "dpkg could not install the package"; }
dpkg-query --admindir="$admin" -W -f='${Status} ${Version}' korvelane 2>/dev/null |
  grep -q -x "install ok installed 2.0" || fail "dpkg does not list korvelane 2.0 as installed"

# Exactly these files, nothing else (no build tools, no test programs).
expected=(usr/bin/korvelane usr/bin/korvelane-sim
  usr/lib/udev/rules.d/60-korvelane.rules
  usr/share/doc/korvelane/copyright usr/share/doc/korvelane/changelog.gz
  usr/share/lintian/overrides/korvelane
  usr/share/applications/korvelane.desktop
  usr/share/icons/hicolor/scalable/apps/korvelane.svg
  usr/share/man/man1/korvelane.1.gz usr/share/man/man1/korvelane-sim.1.gz)
sizes=(16 22 24 32 48 64 128 256)
for size in "${sizes[@]}"; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/korvelane.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find usr -type f -o -type l |
  sort) || fail "the package holds other files than expected"
diff <(printf '/%s\n' "${expected[@]}" | sort) <(dpkg-query --admindir="$admin" -L korvelane |
  while read -r path; do [ -d "$root$path" ] || echo "$path"; done | sort) ||
  fail "dpkg's list of the package's files is not the files installed"

for program in korvelane korvelane-sim; do
  [ -x "$root/usr/bin/$program" ] || fail "$program is not executable"
done
desktop-file-validate "$root/usr/share/applications/korvelane.desktop" ||
  fail "the desktop entry is not valid"
grep -q '^Exec=korvelane$' "$root/usr/share/applications/korvelane.desktop" ||
  fail "the desktop entry does not start korvelane"
for size in "${sizes[@]}"; do
  png="$root/usr/share/icons/hicolor/${size}x${size}/apps/korvelane.png"
  file -b "$png" | grep -q "^PNG image data, $size x $size, 8-bit/color RGBA" ||
    fail "the ${size}px icon is $(file -b "$png")"
done
# The licence and the changelog as Debian keeps them: a machine-readable copyright file naming
# the project, its licence and the libraries it links; the changelog of this version.
doc="$root/usr/share/doc/korvelane"
head -n 1 "$doc/copyright" |
  grep -q -x 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not machine-readable"
for text in 'Upstream-Name: Korvelane' 'License: GPL-3+' 'QCustomPlot, GPL-3+' 'libusb-1.0' \
  'Qt 6' '/usr/share/common-licenses/GPL-3'; do
  grep -q -F -- "$text" "$doc/copyright" || fail "the copyright file lacks $text"
done
gzip -t "$doc/changelog.gz" || fail "changelog.gz is not gzip"
zcat "$doc/changelog.gz" | head -n 1 | grep -q -x 'korvelane (2.0) unstable; urgency=medium' ||
  fail "the changelog does not begin with this version: $(zcat "$doc/changelog.gz" | head -n 1)"

# lintian (scripts/deps.sh lint installs it): no errors and no warnings.
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log"; fail "lintian finds errors or warnings"; }
else
  echo "lintian is not installed (scripts/deps.sh lint): the package was not checked by it"
fi

grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/korvelane.svg" ||
  fail "the scalable icon is not SVG"
grep -q 'TAG+="uaccess"' "$root/usr/lib/udev/rules.d/60-korvelane.rules" ||
  fail "the udev rule file does not explain the uaccess rule"
for page in korvelane korvelane-sim; do
  man_file="$root/usr/share/man/man1/$page.1.gz"
  gzip -t "$man_file" || fail "$page.1.gz is not gzip"
  warnings=$(MANWIDTH=80 man --warnings -l "$man_file" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page.1 has warnings: $warnings"
  MANWIDTH=80 man -l "$man_file" 2>/dev/null | grep -q "^NAME" || fail "$page.1 has no NAME"
done

# The command lines, run from the unpacked tree.
version=$("$root/usr/bin/korvelane" --version) || fail "korvelane --version failed"
[ "$version" = $'Korvelane 2.0\nSoftVersion :  2.01.03.10.03' ] ||
  fail "korvelane --version printed: $version"
"$root/usr/bin/korvelane-sim" --help >/dev/null || fail "korvelane-sim --help failed"
"$root/usr/bin/korvelane" --no-such-option >/dev/null 2>&1
[ $? -eq 2 ] || fail "an unknown option does not end korvelane with 2"

# Installed, the executable's folder is not writable: the logs, the initial path (and with it
# the temporary screen bitmap) go to ~/.local/share/Korvelane; the settings, written when the
# program ends, to ~/.config. The first instance runs in a window on a display of its own and is
# closed as a person closes it; a second instance, refused meanwhile, writes its FATAL line to
# the debug log, which shows where the log is.
user_home="$work/home"
mkdir -p -m 700 "$user_home" "$work/run"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  # root may write anywhere, so run as nobody.
  chown 65534:65534 "$user_home" "$work/run"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
  chmod a-w "$root/usr/bin"
fi
Xvfb -displayfd 3 -ac -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
display=":$(cat "$work/display")"
# Usage: run_korvelane QT_QPA_PLATFORM=offscreen | DISPLAY=:N
run_korvelane() {
  exec env -i PATH=/usr/bin:/bin HOME="$user_home" XDG_RUNTIME_DIR="$work/run" "$1" \
    "${as_user[@]}" "$root/usr/bin/korvelane" --device sim
}
# Ended by the exit trap if the test fails before it closes (timeout passes the signal on).
timeout 120 bash -c "$(declare -f run_korvelane); $(declare -p as_user user_home work root);
  run_korvelane DISPLAY=$display" >"$work/first.log" 2>&1 &
first=$!
window=$(DISPLAY="$display" timeout 30 xdotool search --sync --onlyvisible --name '^Korvelane$' |
  head -n 1)
[ -n "$window" ] || { cat "$work/first.log"; fail "Korvelane shows no window"; }
ls "$work/run"/Korvelane-*.lock >/dev/null 2>&1 || fail "no lock taken"
timeout 20 bash -c "$(declare -f run_korvelane); $(declare -p as_user user_home work root);
  run_korvelane QT_QPA_PLATFORM=offscreen" >/dev/null 2>&1 ||
  fail "the second instance did not exit with 0"
data="$user_home/.local/share/Korvelane"
log="$data/BlogFile.txt"
[ -f "$log" ] || fail "no debug log in the per-user data folder"
grep -a -q "FATAL  :" "$log" || fail "the debug log lacks the second instance's line"

# Panel > Exit, by the keyboard; the lock goes once the settings are written. A key lost on a
# busy machine is pressed again, after Escape closes any menu left open.
for _ in 1 2 3; do
  DISPLAY="$display" xdotool mousemove --window "$window" 200 200 windowfocus --sync "$window" \
    key --delay 200 alt+p x || fail "xdotool could not press keys"
  for _ in $(seq 1 100); do
    ls "$work/run"/Korvelane-*.lock >/dev/null 2>&1 || break 2
    sleep 0.1
  done
  DISPLAY="$display" xdotool key Escape
done
wait "$first"
status=$?
first=""
[ "$status" -eq 0 ] || { cat "$work/first.log"; fail "Korvelane did not close with 0: $status"; }
conf="$user_home/.config/Dentrallo Korvelane Application/Korvelane.conf"
[ -f "$conf" ] || fail "no settings in $conf: $(find "$user_home" -type f)"
for line in '[Settings]' 'Interval%20time=2000' 'Operate%20File%20check=0' \
  "FileInit%20Path=$data"; do
  grep -q -x -F -- "$line" "$conf" || fail "the settings lack $line: $(cat "$conf")"
done
leftovers=$(find "$root/usr/bin" -mindepth 1 -not -name korvelane -not -name korvelane-sim)
[ -z "$leftovers" ] || fail "files were written beside the executable: $leftovers"
echo "package: ok"
