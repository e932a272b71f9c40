#!/usr/bin/env bash
# Start-up as the user sees it: the designer beside the floor program, each
# from its exec to its window on a virtual screen (no window manager),
# alternated run by run. Usage: bench/visible.sh [RUNS] (from a release build).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-41}
# shellcheck source=tests/scripts/virtual_screen.sh
source tests/scripts/virtual_screen.sh
start_sandbox
start_virtual_screen 1920x1080
# Both start as from a desktop session's menu: a home, a runtime folder, the
# X platform; no session bus, so neither waits on one.
env -u DBUS_SESSION_BUS_ADDRESS HOME="$sandbox/home" XDG_RUNTIME_DIR="$sandbox/runtime" \
  QT_QPA_PLATFORM=xcb build/release/timer555_visible "$runs" build/release/timer555_floor \
  build/release/timer555
