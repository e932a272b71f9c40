#!/usr/bin/env bash
# What Orca says of the window, heard from Orca itself: the window, a window
# manager and Orca run on a virtual screen with a private session and
# accessibility bus; Orca's speech goes nowhere (no sound card) while its
# debug file records every utterance. tests/scripts/orca_speech.py drives the
# keyboard road and checks the utterances against the command line.
# Arguments: the window program, the command-line program.
set -euo pipefail
window="$1"
cli="$2"
here="$(cd "$(dirname "$0")" && pwd)"
for tool in orca openbox; do
  command -v "$tool" >/dev/null || { echo "orca_speech: $tool is missing: scripts/setup installs it" >&2; exit 1; }
done
# shellcheck source=tests/scripts/virtual_screen.sh
source "$here/virtual_screen.sh"

# The design as the command line prints it, in the words a reader says:
# "R1 3.607 kilohms, R2 10.82 kilohms, C1 100 nanofarads, 1000 hertz, 25 percent".
sentence() {
  "$cli" design 3 -f 1000 -d 25 "$@" | awk '
    function words(v) {
      if (v ~ /K$/) return substr(v, 1, length(v) - 1) " kilohms"
      if (v ~ /M$/) return substr(v, 1, length(v) - 1) " megohms"
      if (v ~ /nF$/) return substr(v, 1, length(v) - 2) " nanofarads"
      if (v ~ /uF$/) return substr(v, 1, length(v) - 2) " microfarads"
      if (v ~ /pF$/) return substr(v, 1, length(v) - 2) " picofarads"
      return v " ohms"
    }
    $1 ~ /^(R1|R2|C1)$/ { parts = parts $1 " " words($2) ", " }
    $1 == "Frequency" { f = $2 }
    $1 == "Duty" { d = $3 }
    END { print parts f " hertz, " d " percent" }'
}
calculated=$(sentence)
stepped=$(sentence --c1-up 1)
adjusted=$(sentence --c1-up 1 --set R1=3.3)

# One session: the screen, the buses, Orca, the window and the road.
session() {
status=0
timeout 180 dbus-run-session -- bash -c '
  sandbox="$1" here="$2" window="$3"
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  openbox >"$sandbox/openbox.log" 2>&1 &
  sleep 1
  /usr/bin/python3 "$here/orca_line_buffered.py" --replace --disable braille \
    --disable main-window --debug-file "$sandbox/orca.debug" >"$sandbox/orca.log" 2>&1 &
  orca=$!
  for _ in $(seq 100); do
    grep -q "SPEECH OUTPUT" "$sandbox/orca.debug" 2>/dev/null && break
    sleep 0.1
  done
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$window" >"$sandbox/window.log" 2>&1 &
  app=$!
  status=0
  timeout 150 /usr/bin/python3 "$here/orca_speech.py" "$sandbox/orca.debug" "$4" "$5" "$6" ||
    status=$?
  kill $app $orca 2>/dev/null || true
  # A reader that asks after a part of an earlier page was not told it went.
  if [ $status -eq 0 ] &&
    grep -E "Accessible invalid|Could not find accessible" "$sandbox/window.log"; then
    echo "orca_speech: the reader asked after parts that are gone"
    status=1
  fi
  if [ $status -ne 0 ]; then
    echo "--- the window said:"; cat "$sandbox/window.log"
    echo "--- Orca said:"; grep "SPEECH OUTPUT" "$sandbox/orca.debug" | tail -40
    [ -z "${ORCA_SPEECH_KEEP:-}" ] || cp "$sandbox/orca.debug" "$ORCA_SPEECH_KEEP"
  fi
  exit $status
' orca_speech "$sandbox" "$here" "$window" "$calculated" "$stepped" "$adjusted" \
  >"$sandbox/session.log" 2>&1 || status=$?
grep -v -e "Failed to set fd limit" -e "^dbus-daemon\[" "$sandbox/session.log" || true
return $status
}

start_sandbox
start_virtual_screen 1600x1000
export HOME="$sandbox/home" XDG_RUNTIME_DIR="$sandbox/runtime"
# A reader on a loaded machine now and then misses an event of a busy
# moment: a failed road is driven once more, and it says so.
if ! session; then
  echo "orca_speech: the road failed once; driving it again"
  session
fi
