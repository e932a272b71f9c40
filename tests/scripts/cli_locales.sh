#!/usr/bin/env bash
# Runs timer555-cli as a process under the C locale and under a comma-decimal
# locale and fails unless every output, file and exit status is the same
# byte for byte: numbers in output and files never follow the desktop's
# language. Arguments: the timer555-cli executable.
set -euo pipefail
cli="$1"
comma=de_DE.UTF-8
if ! locale -a | grep -qix 'de_DE.utf8'; then
  echo "the $comma locale is missing: scripts/setup generates it" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

commands=(
  "render app8 -o OUT/app8.svg"
  "render app8 -o OUT/app8.png"
  "render design1 -f 1000.5 -d 75.25 -o OUT/design1.svg"
  "render design3 -f 4888 -d 15 --timer 556B -o OUT/design3.svg"
  "design 1 -f 1000 -d 75 --set R1=8.2 --json"
  "design 3 -f 4888 -d 15 --set R1=5.3124"
  "design 2 -f 1000.25"
  "design 4 -t 0.5 --c1-up 3 --json"
  "check 3 -f 1000 -d 25 --vcc 5.5 --tolerance 1,2.5"
  "check 1 -f 1000.5 -d 75.5 --json --series E96 --temperature -20.5,85"
  "export 3 -f 1000.5 -d 25 --r1 1k --r2 3k --c1 100n --kicad OUT/b.kicad_sch --bom OUT/b.csv"
)

run_all() {
  local locale="$1" dir="$work/$1"
  mkdir -p "$dir"
  local i=0
  for command in "${commands[@]}"; do
    i=$((i + 1))
    # shellcheck disable=SC2086
    set -- ${command//OUT/$dir}
    status=0
    LC_ALL="$locale" LANG="$locale" QT_QPA_PLATFORM=offscreen "$cli" "$@" \
      >"$dir/$i.out" 2>"$dir/$i.err" || status=$?
    echo "$status" >"$dir/$i.status"
  done
}

run_all C
run_all "$comma"
if ! diff -r "$work/C" "$work/$comma"; then
  echo "timer555-cli writes differently under $comma" >&2
  exit 1
fi
# No number with a decimal comma inside an SVG attribute.
if grep -nE '="-?[0-9]+,[0-9]+"' "$work/$comma"/*.svg; then
  echo "an SVG attribute holds a decimal comma" >&2
  exit 1
fi
for f in "$work/C"/*.status; do
  [ "$(cat "$f")" = 0 ] || { echo "failed: $f"; cat "${f%.status}.err"; exit 1; }
done
echo "same output under C and $comma for ${#commands[@]} commands"
