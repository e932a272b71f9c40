#!/usr/bin/env bash
# Runs timer555-cli as a process where only a process shows the fault: a full
# disk (for a file and for standard output), a file-size limit in the middle
# of a write, a read-only target, Qt's own options among the arguments, no
# runtime directory (with a command ended by a signal), and a simulation
# ended by a signal, SIGKILL too. Arguments: the timer555-cli executable.
set -euo pipefail
cli="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
expect_status() {  # expected status, then the command
  local want="$1" got=0
  shift
  "$@" >"$work/out" 2>"$work/err" || got=$?
  [ "$got" = "$want" ] || fail "$* exited $got, not $want: $(cat "$work/err")"
}
export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR"

# A full disk is a failure with the system's reason, never a silent success.
ln -s /dev/full "$work/full.png"
for args in "render app7 -o $work/full.png" "simulate 1 -f 1000 -d 60 --netlist $work/full.png" \
            "design 1 -f 1000 -d 60"; do
  if [[ "$args" == design* ]]; then continue; fi
  expect_status 1 "$cli" $args
  grep -qx "timer555-cli: error: cannot write '$work/full.png': No space left on device" "$work/err" ||
    fail "$args: $(cat "$work/err")"
done

# An answer that cannot reach standard output is a failure with the reason,
# whichever command printed it: the text, the JSON, the help, the version.
for args in "parts astable-below -f 1000 -d 25 --json" "check 1 -f 1000 -d 75" "--help" \
            "--version" "parts --help"; do
  got=0
  "$cli" $args >/dev/full 2>"$work/err" || got=$?
  [ "$got" = 1 ] || fail "$args >/dev/full exited $got"
  grep -qx "timer555-cli: error: cannot write standard output: No space left on device" \
    "$work/err" || fail "$args >/dev/full: $(cat "$work/err")"
done

# A write cut short by the file-size limit leaves the old file whole.
echo "the old drawing" >"$work/page.svg"
got=0
(ulimit -f 8; "$cli" render design1 -f 1000 -d 60 -o "$work/page.svg") 2>"$work/err" || got=$?
[ "$got" = 1 ] || fail "a cut-short write exited $got"
grep -q "cannot write '$work/page.svg': File too large" "$work/err" || fail "$(cat "$work/err")"
[ "$(cat "$work/page.svg")" = "the old drawing" ] || fail "the old file was not kept"
[ "$(ls -A "$work" | grep -c '^\.page')" = 0 ] || fail "a temporary file was left"

# A read-only file stays as it was.
echo "kept" >"$work/kept.png"
chmod 444 "$work/kept.png"
expect_status 1 "$cli" render start -o "$work/kept.png"
grep -q "cannot write '$work/kept.png': Permission denied" "$work/err" || fail "$(cat "$work/err")"
[ "$(cat "$work/kept.png")" = "kept" ] || fail "the read-only file changed"

# The arguments are the program's: Qt takes none of them.
expect_status 2 "$cli" check 1 -f 1000 -d 60 -platform xcb
grep -q "unknown option '-platform'" "$work/err" || fail "-platform: $(cat "$work/err")"
expect_status 2 "$cli" check 1 -f 1000 -d 60 -reverse
expect_status 2 "$cli" design 1 -f 1 -f 2 -d 60
grep -q "option -f is given more than once" "$work/err" || fail "-f twice: $(cat "$work/err")"

# Nothing is left behind where the session has no runtime directory, even
# where a signal ends the command.
(unset XDG_RUNTIME_DIR; "$cli" render start -o "$work/start.png")
[ -z "$(ls -A "$TMPDIR")" ] || fail "left in TMPDIR: $(ls -A "$TMPDIR")"
set -m  # background jobs as a terminal starts them: SIGINT not ignored
for signal in INT TERM HUP; do
  (unset XDG_RUNTIME_DIR; exec "$cli" parts 3 -f 1000 -d 25 --series E96 --capacitors E12 \
    --samples 1000000 >/dev/null 2>&1) &
  runner=$!
  for _ in $(seq 100); do [ -n "$(ls -A "$TMPDIR")" ] && break; sleep 0.02; done
  sleep 0.2
  kill -"$signal" "$runner"
  wait "$runner" || true
  [ -z "$(ls -A "$TMPDIR")" ] || fail "SIG$signal during parts: left in TMPDIR: $(ls -A "$TMPDIR")"
done
set +m

# A signal during a simulation ends ngspice, whatever it started, and the
# temporary folder before the command itself ends.
mkdir -p "$work/bin"
cat >"$work/bin/ngspice" <<STANDIN
#!/bin/sh
echo \$\$ > "$work/child.pid"
setsid sleep 60 &
echo \$! > "$work/escaped.pid"
sleep 60
STANDIN
chmod +x "$work/bin/ngspice"
set -m  # background jobs as a terminal starts them: SIGINT not ignored
for signal in TERM INT HUP; do
  rm -f "$work/child.pid" "$work/escaped.pid"
  PATH="$work/bin:$PATH" "$cli" simulate 1 -f 1000 -d 60 >/dev/null 2>&1 &
  runner=$!
  for _ in $(seq 100); do [ -s "$work/escaped.pid" ] && break; sleep 0.05; done
  kill -"$signal" "$runner"
  status=0
  wait "$runner" || status=$?
  [ "$status" -gt 128 ] || fail "SIG$signal: the command exited $status"
  for pid in "$(cat "$work/child.pid")" "$(cat "$work/escaped.pid")"; do
    if kill -0 "$pid" 2>/dev/null; then
      fail "SIG$signal: process $pid is still running"
      kill -9 "$pid"
    fi
  done
  [ -z "$(ls -A "$TMPDIR")" ] || fail "SIG$signal: left in TMPDIR: $(ls -A "$TMPDIR")"
done

# SIGKILL leaves the command no chance to clean up: ngspice dies with it.
cat >"$work/bin/ngspice" <<STANDIN
#!/bin/sh
echo \$\$ > "$work/child.pid"
exec sleep 60
STANDIN
rm -f "$work/child.pid"
PATH="$work/bin:$PATH" "$cli" simulate 1 -f 1000 -d 60 --time-limit 30 >/dev/null 2>&1 &
runner=$!
for _ in $(seq 100); do [ -s "$work/child.pid" ] && break; sleep 0.05; done
kill -KILL "$runner"
wait "$runner" || true
child=$(cat "$work/child.pid")
for _ in $(seq 40); do kill -0 "$child" 2>/dev/null || break; sleep 0.05; done
if kill -0 "$child" 2>/dev/null; then
  fail "SIGKILL: ngspice ($child) lives on"
  kill -9 "$child"
fi
rm -rf "${TMPDIR:?}"/*

[ "$failures" = 0 ] && echo "every process check held"
exit "$failures"
