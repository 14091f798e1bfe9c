#!/usr/bin/env bash
# Packs the built programs into a Debian package, unpacks it into a temporary
# root and runs the command-line programs from there.
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack --config CPackConfig.cmake -B "$work/out" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log" >&2
  exit 1
}
deb="$(ls "$work"/out/*.deb)"
dpkg-deb -x "$deb" "$work/root"

fail() { echo "package: $*" >&2; exit 1; }
for file in usr/bin/vantor usr/bin/vantorctl usr/bin/rw4000-sim \
            usr/share/applications/vantor.desktop \
            usr/share/icons/hicolor/scalable/apps/vantor.svg; do
  [ -f "$work/root/$file" ] || fail "$file is missing"
done

depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libqt6widgets6 libqt6network6 libqt6core6; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

"$work/root/usr/bin/vantorctl" --help >"$work/ctl.txt" || fail "vantorctl --help failed"
grep -q "status" "$work/ctl.txt" || fail "vantorctl --help names no status command"
"$work/root/usr/bin/rw4000-sim" --help >"$work/sim.txt" || fail "rw4000-sim --help failed"
grep -qi "usage" "$work/sim.txt" || fail "rw4000-sim --help prints no usage"
echo "package: $(basename "$deb") installs and runs"
