#!/usr/bin/env bash
# The executables carry Debian's hardening: PIE, stack protector, full RELRO.
# The command line also uses fortified libc calls; the window has no call that
# can be fortified, which hardening-check reports as "no protected functions".
set -euo pipefail
gui="$1"
cli="$2"
hardening-check --nofortify --nocfprotection "$gui"
hardening-check --nocfprotection "$cli"
