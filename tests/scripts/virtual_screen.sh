# Sourced: starts a virtual X screen of size $1 (e.g. 1600x1000) on a display
# number the server chooses itself, exports DISPLAY, and stops it on exit.
# Needs $sandbox (a scratch directory) and the array pids (killed on exit):
# start_sandbox below makes both.
start_virtual_screen() {
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$sandbox/display" \
    >"$sandbox/xvfb.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    [ -s "$sandbox/display" ] && break
    sleep 0.1
  done
  [ -s "$sandbox/display" ] || { cat "$sandbox/xvfb.log"; return 1; }
  export DISPLAY=":$(tr -d '\n' <"$sandbox/display")"
}

# Makes a scratch folder ($sandbox) with a private home and runtime folder,
# and on exit kills the processes listed in the array pids and removes it.
start_sandbox() {
  sandbox=$(mktemp -d)
  pids=()
  trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$sandbox"' EXIT
  mkdir -m 700 "$sandbox/runtime" "$sandbox/home"
}
