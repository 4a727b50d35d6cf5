#!/usr/bin/env bash
# Makes quorvel.ico, the program's icon "DEFAULT_ICON": a golden bell on a
# blue disc, as images of 16 x 16, 32 x 32 and 48 x 48 pixels in 16 colours,
# and the same images as quorvel-16.png, quorvel-32.png and quorvel-48.png for
# the Linux window. Needs ImageMagick.
#   bash resources/make-icon.sh
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The distribution's own convert, not whatever else is first on the path.
im=/usr/bin/convert
[ -x "$im" ] || im=convert

# Drawn at 192 x 192 and scaled down.
"$im" -size 192x192 xc:none \
  -fill '#1f5fbf' -stroke '#0b2f6f' -strokewidth 6 -draw 'circle 96,96 96,6' \
  -fill '#ffcc00' -stroke '#7a5200' -strokewidth 6 \
  -draw 'path "M 96,34 C 60,34 56,70 56,96 L 56,124 L 40,144 L 152,144 L 136,124 L 136,96 C 136,70 132,34 96,34 Z"' \
  -draw 'circle 96,156 96,168' \
  -fill '#ffcc00' -draw 'circle 96,32 96,24' \
  "$work/master.png"

for size in 16 32 48; do
  "$im" "$work/master.png" -filter Lanczos -resize ${size}x${size} \
    -background none -alpha on -channel A -threshold 50% +channel \
    -dither None -colors 15 -type PaletteAlpha -strip -define png:exclude-chunks=date,time "PNG8:quorvel-$size.png"
done
"$im" quorvel-16.png quorvel-32.png quorvel-48.png -colors 16 -depth 4 quorvel.ico

python3 - quorvel.ico <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
reserved, kind, count = struct.unpack_from("<HHH", data, 0)
assert (reserved, kind, count) == (0, 1, 3), (reserved, kind, count)
sizes = []
for i in range(count):
    w, h, colours, _, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
    header_bits = struct.unpack_from("<H", data, offset + 14)[0]
    assert header_bits == 4, (w, header_bits)
    sizes.append(w)
assert sorted(sizes) == [16, 32, 48], sizes
PY
echo "resources/quorvel.ico: 16, 32 and 48 pixels, 16 colours"
