#!/usr/bin/env bash
# Builds the tool, starts rw4000-sim on 127.0.0.1, asks it for its status
# through vantorctl, then stops the simulator.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh" vantorctl rw4000-sim
source "$root/scripts/sim.sh"
trap stop_sim EXIT
start_sim 127.0.0.1
"$root/build/src/vantorctl" --host 127.0.0.1 status
