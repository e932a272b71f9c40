#!/usr/bin/env bash
# The window read as a screen reader reads it: the program runs on a virtual
# screen with the accessibility bus, and tests/scripts/screen_reader.py walks
# its AT-SPI tree. What it must hear comes from the command line.
# Arguments: the window program, the command-line program.
set -euo pipefail
window="$1"
cli="$2"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=tests/scripts/virtual_screen.sh
source "$here/virtual_screen.sh"

# R1 as the schematic prints it ("3.607K"), in the words a reader says.
r1=$("$cli" design 3 -f 1000 -d 25 | awk '$1 == "R1" { print $2 }')
case "$r1" in
  *K) spoken="R1, ${r1%K} kilohms" ;;
  *M) spoken="R1, ${r1%M} megohms" ;;
  *) spoken="R1, $r1 ohms" ;;
esac
report=$("$cli" check 3 -f 1000 -d 25)
# "Frequency       1.000 kHz       863.6 Hz  (-13.6 %)": the predicted column.
predicted=$(awk '$1 == "Frequency" { print $4 " " $5; exit }' <<<"$report")
warning=$(sed -n 's/^  diode-drop: \(.\{40\}\).*/\1/p' <<<"$report")
[ -n "$r1" ] && [ -n "$predicted" ] && [ -n "$warning" ] || {
  echo "screen_reader: the command line did not say what to expect"; exit 1; }

start_sandbox
# The virtual screen, on a display number of its own.
start_virtual_screen 1600x1000
export HOME="$sandbox/home" XDG_RUNTIME_DIR="$sandbox/runtime"
# A session bus of its own; the accessibility bus starts on the program's call.
status=0
timeout 120 dbus-run-session -- bash -c '
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$1" >"$2/window.log" 2>&1 &
  window=$!
  status=0
  timeout 90 /usr/bin/python3 "$3/screen_reader.py" "$4" "$5" "$6" || status=$?
  kill $window 2>/dev/null || true
  [ $status -eq 0 ] || cat "$2/window.log"
  exit $status
' screen_reader "$window" "$sandbox" "$here" "$spoken" "$predicted" "$warning" \
  >"$sandbox/session.log" 2>&1 || status=$?
# The bus's own complaints about its limits are no part of the test.
grep -v -e "Failed to set fd limit" -e "^dbus-daemon\[" "$sandbox/session.log" || true
exit $status
