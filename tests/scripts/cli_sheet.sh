#!/usr/bin/env bash
# Reads the design sheet back as a person and a printer would: its text (every
# figure `parts` gives for the chosen parts, as text, under a comma-decimal
# locale too), its page size, its fonts embedded, and a rendering that is not
# blank. Arguments: the timer555-cli executable.
set -euo pipefail
cli="$1"
for tool in pdftotext pdftoppm pdfinfo pdffonts; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: scripts/setup installs poppler-utils" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen
design=(astable-below -f 1000 -d 25 --vcc 5 --samples 2000)

# The first choice as `parts` writes it, up to its yield's figure.
"$cli" parts "${design[@]}" >"$work/parts.txt"
choice=$(sed -n '3p' "$work/parts.txt" | sed 's/^  //; s/ (98 % of boards.*//')
[ -n "$choice" ] || fail "no choice in: $(cat "$work/parts.txt")"

# The text of a page as one line of single spaces.
text_of() { pdftotext -raw "$1" - | tr -s ' \n' '  '; }

for locale in C de_DE.UTF-8; do
  LC_ALL=$locale LANG=$locale "$cli" export "${design[@]}" --choice 1 --sheet "$work/a4.pdf" \
    --paper a4 || fail "export under $locale"
  text=$(text_of "$work/a4.pdf")
  for expected in "Design sheet: Astable, duty cycle below 50 %" \
    "Target 1.000 kHz, 25.0 % at 5.0 V, bipolar timer, built with a 555" \
    "Built: $choice" "Worst case with R ±5.0 %, C ±10.0 %, 0 to 70 °C: frequency" \
    "Yield over 2000 boards (seed 555)" "R1 1.2k Resistor, metal film" "C1 220n Capacitor, film" \
    "D1 1N4148" "Frequency 1.366 kHz 1.011 kHz" "diode-drop:" "seed 555, 2000 boards" \
    "timer555 "; do
    grep -qF -- "$expected" <<<"$text" || fail "$locale: the sheet lacks '$expected': $text"
  done
done
pdfinfo "$work/a4.pdf" | grep -q "^Pages: *1$" || fail "the sheet is not one page"
pdfinfo "$work/a4.pdf" | grep -q "(A4)" || fail "not A4: $(pdfinfo "$work/a4.pdf")"
pdffonts "$work/a4.pdf" | awk 'NR > 2 && $(NF-4) != "yes" { bad = 1 } END { exit bad }' ||
  fail "a font is not embedded: $(pdffonts "$work/a4.pdf")"

# Letter, a 556 half, the one-shot: the page holds it all above the footer.
"$cli" export monostable -t 0.01 --timer 556B --paper letter --sheet "$work/letter.pdf" ||
  fail "export letter"
pdfinfo "$work/letter.pdf" | grep -q "(letter)" || fail "not letter: $(pdfinfo "$work/letter.pdf")"
text=$(text_of "$work/letter.pdf")
for expected in "Monostable (one-shot)" "built with half B of a 556" "Pulse 10.00 ms" "Conditions"; do
  grep -qF -- "$expected" <<<"$text" || fail "letter: the sheet lacks '$expected': $text"
done
[ "$(grep -o "U1 NE556" <<<"$text" | wc -l)" = 1 ] || fail "the 556 is listed twice: $text"

# Rendered, the page is mostly white with a fair share of ink: not blank.
pdftoppm -r 30 -gray "$work/a4.pdf" "$work/page"
ink=$(/usr/bin/python3 - "$work"/page*.pgm <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace():
        pos += 1
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end]); pos = end
pixels = data[pos + 1:]
print(sum(1 for p in pixels if p < 128) * 1000 // len(pixels))
PY
)
[ "$ink" -ge 20 ] && [ "$ink" -le 400 ] || fail "the rendered sheet has $ink per mille of ink"

# With ngspice, the simulated figures and waveform join the predicted ones.
if command -v ngspice >/dev/null; then
  "$cli" export "${design[@]}" --choice 1 --simulate --sheet "$work/sim.pdf" || fail "--simulate"
  text=$(text_of "$work/sim.pdf")
  grep -qF "Timing: ideal, predicted and simulated" <<<"$text" || fail "no simulation: $text"
  grep -qF "simulated by ngspice" <<<"$text" || fail "no simulated waveform: $text"
fi
echo "design sheet: text, page, fonts and picture as expected"
