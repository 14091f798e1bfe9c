#!/usr/bin/env bash
# Configures (once) and builds the project in build/ with ninja, warnings as
# errors; extra arguments name the targets to build (all by default).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
if ! grep -qs '^VANTOR_WERROR:BOOL=ON$' "$root/build/CMakeCache.txt" || [ ! -f "$root/build/build.ninja" ]; then
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOR_WERROR=ON >/dev/null
fi
ninja -C "$root/build" "$@"
