#!/usr/bin/env bash
# Runs a whole window session under strace and fails if it creates, changes
# or deletes any file outside the caches Qt and fontconfig keep, or opens a
# network socket. Arguments: the test executable.
set -euo pipefail
tests="$1"
sandbox=$(mktemp -d)
trap 'rm -rf "$sandbox"' EXIT
mkdir -p "$sandbox/home" "$sandbox/cache" "$sandbox/runtime"
chmod 700 "$sandbox/runtime"
log="$sandbox/trace"
HOME="$sandbox/home" XDG_CACHE_HOME="$sandbox/cache" XDG_RUNTIME_DIR="$sandbox/runtime" \
  QT_QPA_PLATFORM=offscreen strace -f -qq -o "$log" \
  -e trace=open,openat,creat,unlink,unlinkat,rename,renameat,renameat2,mkdir,mkdirat,rmdir,truncate,link,symlink,socket \
  "$tests" --gtest_filter='TouchNothing.*' > "$sandbox/out" 2>&1 || { cat "$sandbox/out"; exit 1; }

allowed() {
  case "$1" in
    "$sandbox"/cache/* | "$sandbox"/runtime/* | /dev/*) return 0 ;;
  esac
  return 1
}

status=0
while IFS= read -r line; do
  path=$(sed -n 's/^[^"]*"\([^"]*\)".*/\1/p' <<<"$line")
  case "$line" in
    *socket\(AF_INET* | *socket\(AF_INET6*)
      echo "network socket: $line"; status=1 ;;
    *open*O_WRONLY* | *open*O_RDWR* | *open*O_CREAT* | *creat\(* | *unlink* | *rename* | \
    *mkdir* | *rmdir* | *truncate* | *link\(* | *symlink\(*)
      case "$line" in *"= -1 "*) continue ;; esac
      if ! allowed "$path"; then echo "file touched: $line"; status=1; fi ;;
  esac
done < "$log"
[ "$status" -eq 0 ] && echo "no file outside the caches touched, no network socket opened"
exit "$status"
