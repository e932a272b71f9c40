#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it into a scratch
# root and uses what it installed: both programs, the manual pages, the menu
# entry, the metadata and the icons. The validators' output counts as failure.
set -euo pipefail
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" >/dev/null
deb=$(ls "$work"/out/timer555_*_amd64.deb)
root="$work/root"
dpkg-deb -x "$deb" "$root"

fail() { echo "FAIL: $*"; exit 1; }

version=$("$root/usr/bin/timer555-cli" --version)
[[ "$version" =~ ^timer555-cli\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "version: $version"
QT_QPA_PLATFORM=offscreen "$root/usr/bin/timer555-cli" render design1 -f 1000 -d 60 -o "$work/d.png"
[[ $(head -c 8 "$work/d.png" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "render"
"$root/usr/bin/timer555" --version | grep -qx "timer555 ${version#timer555-cli }" || fail "window version"

for page in timer555 timer555-cli; do
  gzip -t "$root/usr/share/man/man1/$page.1.gz" || fail "manual $page"
done
gzip -t "$root/usr/share/doc/timer555/changelog.gz"
[[ -s "$root/usr/share/doc/timer555/copyright" ]] || fail "copyright"
for schema in vocabulary check parts simulate design; do
  [[ -s "$root/usr/share/doc/timer555/schema/$schema.schema.json" ]] || fail "schema $schema"
done
for size in 16 22 24 32 48 64 128 256; do
  [[ -s "$root/usr/share/icons/hicolor/${size}x${size}/apps/timer555.png" ]] || fail "icon $size"
done
[[ -s "$root/usr/share/icons/hicolor/scalable/apps/timer555.svg" ]] || fail "svg icon"

desktop="$root/usr/share/applications/org.timer555.timer555.desktop"
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[[ -z "$out" ]] || fail "desktop-file-validate: $out"
grep -qx "Icon=timer555" "$desktop" || fail "desktop icon"
out=$(appstreamcli validate --no-net --pedantic \
      "$root/usr/share/metainfo/org.timer555.timer555.metainfo.xml" 2>&1) || fail "appstream: $out"
[[ "$out" == *"Validation was successful."* && "$out" != *[IWEP]:* ]] || fail "appstream: $out"

depends=$(dpkg-deb -f "$deb" Depends)
for dep in fonts-comic-neue libqt6widgets6 libqt6gui6; do
  [[ "$depends" == *"$dep"* ]] || fail "depends lacks $dep: $depends"
done
echo "ok: $(basename "$deb"), $(stat -c %s "$deb") bytes; Depends: $depends"
