#!/usr/bin/env bash
# Builds the tool, starts rw4000-sim on 127.0.0.1, asks it for its status
# through vantorctl, then opens the window on the same simulator; closing the
# window stops the simulator.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh" vantorctl rw4000-sim
source "$root/scripts/sim.sh"
trap stop_sim EXIT
start_sim 127.0.0.1
"$root/build/src/vantorctl" --host 127.0.0.1 status
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display for the window; run it under a virtual one: xvfb-run scripts/run.sh"
  exit 0
fi
"$root/scripts/build.sh" vantor
"$root/build/src/ui/vantor" --host 127.0.0.1 --data-dir "$root/build/run-data"
