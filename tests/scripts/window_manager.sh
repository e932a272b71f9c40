#!/usr/bin/env bash
# The windows under a real window manager on a virtual screen: the check
# window opened by F9 lies inside the screen, also on a screen scaled by
# two; its dialogs give the keyboard back to it; F9 brings it back after its
# window was destroyed from outside.
# Argument: the window program.
set -euo pipefail
window="$1"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=tests/scripts/virtual_screen.sh
source "$here/virtual_screen.sh"

fail() {
  echo "window_manager: $*"
  cat "$sandbox/window.log"
  exit 1
}

# The visible window whose title starts with $1, waited for.
visible() {
  timeout 10 xdotool search --sync --onlyvisible --name "^$1" | head -1
}

# A window's client area "x y width height" in screen pixels.
geometry() {
  xwininfo -id "$1" | awk -F: '
    /Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
    /Width/ { w = $2 } /Height/ { h = $2 }
    END { print x + 0, y + 0, w + 0, h + 0 }'
}

press_f9() {
  xdotool windowactivate --sync "$main"
  xdotool key --window "$main" F9
}

# Arguments: screen size, scale factor.
run_on() {
  start_virtual_screen "$1"
  openbox >"$sandbox/openbox.log" 2>&1 &
  pids+=($!)
  sleep 1
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$2" "$window" >"$sandbox/window.log" 2>&1 &
  pids+=($!)
  main=$(visible "Version 1.4") || fail "no main window on $1"
  press_f9
  check=$(visible "Real-world check") || fail "F9 opened no check window on $1"
  read -r x y w h <<<"$(geometry "$check")"
  echo "$1 at scale $2: the check window ${w}x${h} at $x,$y"
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "${1%x*}" ] && [ $((y + h)) -le "${1#*x}" ] ||
    fail "the check window ${w}x${h} at $x,$y leaves the $1 screen"
}

start_sandbox
export HOME="$sandbox/home" XDG_RUNTIME_DIR="$sandbox/runtime"
run_on 1920x1080 1
# A dialog of the check window gives the keyboard back to it, not to the
# main window (the keys' list, opened by F1 there).
xdotool windowactivate --sync "$check"
xdotool key F1
visible "Keyboard" >/dev/null || fail "F1 in the check window showed no keys"
xdotool key Escape
sleep 1
[ "$(xdotool getactivewindow)" = "$check" ] ||
  fail "after the keys' list the keyboard is in '$(xdotool getactivewindow getwindowname)'"
# Destroyed from outside (as xkill's gentler cousins do): F9 makes a new one.
xdotool windowclose "$check"
sleep 1
[ -z "$(xdotool search --onlyvisible --name '^Real-world check' || true)" ] ||
  fail "the destroyed check window still shows"
press_f9
visible "Real-world check" >/dev/null || fail "F9 did not bring the destroyed check window back"
for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
pids=()
sleep 0.5
run_on 2560x1440 2
