#!/usr/bin/env bash
# Builds the programs and packs them into a Debian package in build/package/
# with CPack; prints the package's path.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh" vantor vantorctl rw4000-sim
rm -f "$root"/build/package/*.deb
(cd "$root/build" && cpack --config CPackConfig.cmake -B "$root/build/package" >/dev/null)
ls "$root"/build/package/*.deb
