#!/usr/bin/env bash
# Redoes the user guide's pictures: starts rw4000-sim on 127.0.0.250, opens the
# window on it at access level 4 under a virtual display, and saves every page
# as docs/images/page-NAME.png.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh" rw4000-sim page_shots
source "$root/scripts/sim.sh"
trap stop_sim EXIT
start_sim 127.0.0.250
xvfb-run -a -s "-screen 0 1280x800x24" "$root/build/tools/page_shots" 127.0.0.250 "$root/docs/images"
