#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it into a scratch root and checks what a
# user gets: the files, their validity, the package's dependencies, the programs' command lines,
# and that an installed Korvelane keeps its logs in the per-user data folder.
# Usage: package_test.sh BUILD_DIR
set -u
build="$1"
work=$(mktemp -d)
first=""
trap 'if [ -n "$first" ]; then kill -9 "$first" 2>/dev/null; fi; rm -rf "$work"' EXIT
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

root="$work/root"
dpkg -x "$deb" "$root" || fail "dpkg could not unpack the package"

# Exactly these files, nothing else (no build tools, no test programs).
expected=(usr/bin/korvelane usr/bin/korvelane-sim
  usr/lib/udev/rules.d/60-korvelane.rules
  usr/share/applications/korvelane.desktop
  usr/share/icons/hicolor/scalable/apps/korvelane.svg
  usr/share/man/man1/korvelane.1.gz usr/share/man/man1/korvelane-sim.1.gz)
sizes=(16 22 24 32 48 64 128 256)
for size in "${sizes[@]}"; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/korvelane.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . -type f -o -type l |
  sed 's|^\./||' | sort) || fail "the package holds other files than expected"

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
help=$("$root/usr/bin/korvelane" --help) || fail "korvelane --help failed"
for option in "--device usb[:VID:PID]" "--device sim" "--device socket:PATH" "--device=VALUE" \
  "--version" "--help"; do
  grep -q -F -- "$option" <<<"$help" || fail "korvelane --help does not list $option"
done
grep -q "not in this build" <<<"$help" && fail "korvelane --help calls USB missing"
sim_help=$("$root/usr/bin/korvelane-sim" --help) || fail "korvelane-sim --help failed"
for option in --socket --product-type --seed --fault --verbose --help; do
  grep -q -F -- "$option" <<<"$sim_help" || fail "korvelane-sim --help does not list $option"
done
"$root/usr/bin/korvelane" --no-such-option >/dev/null 2>&1
[ $? -eq 2 ] || fail "an unknown option does not end korvelane with 2"

# Installed, the executable's folder is not writable: the logs go to ~/.local/share/Korvelane.
# A second instance writes its FATAL line to the debug log, which shows where the log is.
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
run_korvelane() {
  # exec: $! is then the program itself, which the exit trap kills.
  exec env -i PATH=/usr/bin:/bin HOME="$user_home" XDG_RUNTIME_DIR="$work/run" \
    QT_QPA_PLATFORM=offscreen "${as_user[@]}" "$root/usr/bin/korvelane" --device sim "$@"
}
run_korvelane >"$work/first.log" 2>&1 &
first=$!
for _ in $(seq 1 100); do
  ls "$work/run"/Korvelane-*.lock >/dev/null 2>&1 && break
  sleep 0.05
done
ls "$work/run"/Korvelane-*.lock >/dev/null 2>&1 || { cat "$work/first.log"; fail "no lock taken"; }
timeout 20 bash -c "$(declare -f run_korvelane); $(declare -p as_user user_home work root);
  run_korvelane" >/dev/null 2>&1 || fail "the second instance did not exit with 0"
log="$user_home/.local/share/Korvelane/BlogFile.txt"
[ -f "$log" ] || fail "no debug log in the per-user data folder"
grep -a -q "FATAL  :" "$log" || fail "the debug log lacks the second instance's line"
leftovers=$(find "$root/usr/bin" -mindepth 1 -not -name korvelane -not -name korvelane-sim)
[ -z "$leftovers" ] || fail "files were written beside the executable: $leftovers"
echo "package: ok"
