# Starts rw4000-sim on a loopback address and waits for it to listen.
# Source this file; then `start_sim HOST` sets SIM_PID, `stop_sim` ends it.
start_sim() {
  local host="$1" line
  coproc SIM_PROC { exec "$root/build/sim/rw4000-sim" --host "$host"; }
  SIM_PID=$SIM_PROC_PID
  if ! read -r -t 10 line <&"${SIM_PROC[0]}" || [[ "$line" != "rw4000-sim listening on $host" ]]; then
    echo "rw4000-sim did not start on $host" >&2
    stop_sim
    return 1
  fi
}

stop_sim() {
  if [ -n "${SIM_PID:-}" ] && kill -0 "$SIM_PID" 2>/dev/null; then
    kill "$SIM_PID"
    wait "$SIM_PID" 2>/dev/null || true
  fi
  SIM_PID=
}
