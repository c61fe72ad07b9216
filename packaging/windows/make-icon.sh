#!/usr/bin/env bash
# Makes corvalent.ico, the Windows icon of the desktop program, from the icon of the Linux
# package, in the sizes Windows asks for: 16, 20, 24 and 32 (small icons, the taskbar and
# title bars at 100 to 200 %), 40, 48 and 64 (lists and tiles), 256 (large icons, PNG-packed).
# Run it after corvalent.svg changes; the build takes the .ico as it is committed, so that a
# build on Windows needs neither tool. Needs rsvg-convert (librsvg2-bin) and convert
# (imagemagick).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pngs=()
for size in 16 20 24 32 40 48 64 256; do
  rsvg-convert -w "$size" -h "$size" -o "$work/$size.png" "$here/../linux/corvalent.svg"
  pngs+=("$work/$size.png")
done
convert "${pngs[@]}" "$here/corvalent.ico"
echo "$here/corvalent.ico"
