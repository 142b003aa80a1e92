#!/bin/sh
# Render the program's raster artwork from its SVG sources in resources/:
#
#   diagram.svg -> diagram.png                 the wall sketch, 512 x 384,
#                                              shown unscaled in the main window
#   icon.svg    -> icon-16.png, icon-32.png,   the window icon
#                  icon-48.png, wallcalc.ico   (Windows: each size in 16 colours,
#                                              256 colours and true colour)
#
# The PNGs and the .ico are committed; run this only after editing an SVG.
# Needs rsvg-convert (librsvg2-bin), ImageMagick (imagemagick) and the fonts
# of the diagram's labels: AR PL UMing CN (fonts-arphic-uming) and DejaVu
# Serif Italic (fonts-dejavu-extra).
set -eu

res=$(cd "$(dirname "$0")/../resources" && pwd)

need() {
    command -v "$1" >/dev/null 2>&1 || { echo "$0: $1 not found (Debian package $2)" >&2; exit 1; }
}
need rsvg-convert librsvg2-bin
need convert imagemagick
need identify imagemagick
need fc-list fontconfig

# fontconfig would quietly substitute a missing face; refuse instead
font() {
    [ -n "$(fc-list "$1" family)" ] || { echo "$0: font '$1' not installed (Debian package $2)" >&2; exit 1; }
}
font ':family=AR PL UMing CN' fonts-arphic-uming
font ':family=DejaVu Serif:style=Italic' fonts-dejavu-extra

size_is() {
    got=$(identify -format '%wx%h' "$1")
    [ "$got" = "$2" ] || { echo "$0: $1 is $got, expected $2" >&2; exit 1; }
}

# --- diagram: opaque, black on white
rsvg-convert --width 512 --height 384 --background-color white \
    --output "$res/diagram.png" "$res/diagram.svg"
size_is "$res/diagram.png" 512x384
# Stored as what it is, 8-bit grey: a third of the bytes to inflate at every start of the
# window, the same pixels.
convert "$res/diagram.png" -strip -define png:color-type=0 -define png:bit-depth=8 "$res/diagram.png"

# --- icon
for s in 16 32 48; do
    rsvg-convert --width "$s" --height "$s" --output "$res/icon-$s.png" "$res/icon.svg"
    size_is "$res/icon-$s.png" "${s}x$s"
done

# Nine images, each size as true colour (24-bit colour with an alpha channel),
# 256 colours and 16 colours (palette and a transparency mask, for old
# displays). ImageMagick picks an icon's bit depth from the number of colours
# in use, and a flat icon needs fewer than 16, so the container is assembled
# here; ImageMagick only reduces the colours.
ico_frames() {
    for s in 48 32 16; do
        for bits in 32 8 4; do
            case $bits in
                32) set -- ;;
                8) set -- -channel A -threshold 50% +channel +dither -colors 255 ;;
                4) set -- -channel A -threshold 50% +channel +dither -colors 15 ;;
            esac
            printf '%s %s %s\n' "$s" "$bits" "$(convert "$res/icon-$s.png" "$@" -depth 8 rgba:- | od -An -v -tx1 | tr -d ' \n')"
        done
    done
}
ico_frames | /usr/bin/python3 -c '
import struct, sys

frames = []
for line in sys.stdin:
    size, bits, hexdata = line.split()
    size, bits, rgba = int(size), int(bits), bytes.fromhex(hexdata)
    px = [rgba[i:i + 4] for i in range(0, len(rgba), 4)]
    assert len(px) == size * size
    row = lambda y: px[(size - 1 - y) * size:(size - y) * size]   # bottom-up
    pad = lambda b: b + bytes(-len(b) % 4)
    mask = b""
    for y in range(size):
        bitsrow = bytearray((size + 7) // 8)
        for x, p in enumerate(row(y)):
            if p[3] == 0:
                bitsrow[x // 8] |= 0x80 >> (x % 8)
        mask += pad(bytes(bitsrow))
    if bits == 32:
        xor = b"".join(bytes((p[2], p[1], p[0], p[3])) for y in range(size) for p in row(y))
        palette = b""
    else:
        colours = [b"\0\0\0"]     # index 0, black, under the transparent pixels
        for p in px:
            if p[3] and p[:3] not in colours:
                colours.append(p[:3])
        assert len(colours) <= 1 << bits, (size, bits, len(colours))
        index = {c: i for i, c in enumerate(colours)}
        colours += [b"\0\0\0"] * ((1 << bits) - len(colours))
        palette = b"".join(bytes((c[2], c[1], c[0], 0)) for c in colours)
        xor = b""
        for y in range(size):
            idx = [index[p[:3]] if p[3] else 0 for p in row(y)]
            if bits == 4:
                idx += [0] * (len(idx) % 2)
                packed = bytes(idx[i] << 4 | idx[i + 1] for i in range(0, len(idx), 2))
            else:
                packed = bytes(idx)
            xor += pad(packed)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    frames.append((size, bits, header + palette + xor + mask))

out = struct.pack("<HHH", 0, 1, len(frames))
offset = 6 + 16 * len(frames)
for size, bits, data in frames:
    out += struct.pack("<BBBBHHII", size, size, 16 if bits == 4 else 0, 0, 1, bits,
                       len(data), offset)
    offset += len(data)
out += b"".join(d for _, _, d in frames)
sys.stdout.buffer.write(out)
' > "$res/wallcalc.ico"
[ "$(identify "$res/wallcalc.ico" | wc -l)" -eq 9 ] || { echo "$0: wallcalc.ico must hold 9 images" >&2; exit 1; }

echo "rendered diagram.png, icon-16/32/48.png and wallcalc.ico"
