#!/usr/bin/python3
"""Build resources/fonts/WallcalcSymbols.ttf, the report's symbol font.

The calculation report marks six engineering symbols with private-use
characters. The report box draws them with this small font, installed as a
fallback family behind the Chinese text face. Its glyphs are outlines of
DejaVu Sans, copied (composites decomposed), moved and scaled:

    U+E001  bar-grade symbol (Phi-like circle with a vertical stroke)
    U+E010  superscript two            L2, mm2, kN/m2
    U+E011  superscript three          kN/m3
    U+E020  subscript one              x1, As1, alpha1
    U+E021  subscript two              x2
    U+E030  raised "0.5" exponent      (...)^0.5, one glyph

The vertical metrics are kept within those of AR PL UMing CN so that a line
holding a symbol is no taller than one without. At 11 to 16 pixels UMing
draws from embedded bitmaps whose metrics are tighter than its outlines'
(at 12 px, 9 pt on a 96 dpi screen: ascent 11 px, descent 1 px), and Qt
takes a fallback font's descent unrounded, so the descent here must stay
below 1/12 em.

Needs Debian's python3-fonttools; the generated font is committed, so the
build does not. Run:  /usr/bin/python3 scripts/make-symbol-font.py
"""

import argparse
import os
import subprocess
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.misc.timeTools import timestampFromString
from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

FAMILY = "Wallcalc Symbols"
STYLE = "Regular"
VERSION = "1.000"

UPM = 2048  # same as DejaVu Sans, so outlines copy without rescaling
# Vertical metrics, font units: 0.80 em and 0.073 em. UMing's bitmap strikes
# go down to ascent 11/13 em and descent 1/12 em, its outlines to 917/1024
# and 155/1024 em.
ASCENT = 1640
DESCENT = 150

SUBSCRIPT_DROP = 150      # DejaVu's subscripts sit on the baseline; lower them
SIDE_BEARING = 70         # around the composed "0.5"
GAP = 50                  # between its digits and the decimal point
POINT_SCALE = 0.85        # full stop of the raised "0.5"; at 0.58, the size of
                          # the superscript digits, it fades out at 12 px

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUT = os.path.join(HERE, os.pardir, "resources", "fonts", "WallcalcSymbols.ttf")


def find_dejavu():
    """Locate DejaVu Sans (Book) through fontconfig."""
    try:
        out = subprocess.run(
            ["fc-match", "-f", "%{file}\n%{family}", "DejaVu Sans:style=Book"],
            check=True, capture_output=True, text=True).stdout
    except (OSError, subprocess.CalledProcessError) as err:
        sys.exit(f"cannot ask fontconfig for DejaVu Sans: {err}")
    path, _, family = out.partition("\n")
    if "DejaVu Sans" not in family.split(","):
        sys.exit("DejaVu Sans is not installed (Debian package fonts-dejavu-core)")
    return path


class Source:
    """Outlines of the source font, decomposed, for placing into new glyphs."""

    def __init__(self, path):
        self.font = TTFont(path)
        self.cmap = self.font.getBestCmap()
        self.glyphs = self.font.getGlyphSet()

    def outline(self, char):
        rec = DecomposingRecordingPen(self.glyphs)
        self.glyphs[self.cmap[ord(char)]].draw(rec)
        return rec

    def advance(self, char):
        return self.font["hmtx"][self.cmap[ord(char)]][0]

    def bounds(self, char, scale=1.0):
        pen = BoundsPen(None)
        self.outline(char).replay(TransformPen(pen, (scale, 0, 0, scale, 0, 0)))
        return pen.bounds  # xMin, yMin, xMax, yMax


def place(pen, recording, scale=1.0, dx=0, dy=0):
    recording.replay(TransformPen(pen, (scale, 0, 0, scale, dx, dy)))


def build_glyphs(src):
    """Return {glyph name: (TTGlyph, advance width)} and the cmap."""
    glyphs = {}

    def simple(name, char, dy=0):
        pen = TTGlyphPen(None)
        place(pen, src.outline(char), dy=dy)
        glyphs[name] = (pen.glyph(), src.advance(char))

    # .notdef: an empty box, as tall as the superscripts reach
    pen = TTGlyphPen(None)
    pen.moveTo((100, 0)); pen.lineTo((100, 1400)); pen.lineTo((700, 1400))
    pen.lineTo((700, 0)); pen.closePath()
    pen.moveTo((180, 80)); pen.lineTo((620, 80)); pen.lineTo((620, 1320))
    pen.lineTo((180, 1320)); pen.closePath()
    glyphs[".notdef"] = (pen.glyph(), 800)

    simple("uniE001", "\u03a6")                      # Phi
    simple("uniE010", "\u00b2")                      # superscript two
    simple("uniE011", "\u00b3")                      # superscript three
    simple("uniE020", "\u2081", dy=-SUBSCRIPT_DROP)  # subscript one (a composite)
    simple("uniE021", "\u2082", dy=-SUBSCRIPT_DROP)  # subscript two (a composite)

    # Raised "0.5": superscript zero, a reduced full stop on the
    # superscript baseline, superscript five, set tight as one exponent.
    pen = TTGlyphPen(None)
    zero = src.bounds("\u2070")
    five = src.bounds("\u2075")
    dot = src.bounds(".", POINT_SCALE)
    raised = zero[1]  # bottom of the superscript digits
    x = SIDE_BEARING
    place(pen, src.outline("\u2070"), dx=x - zero[0])
    x += zero[2] - zero[0] + GAP
    place(pen, src.outline("."), POINT_SCALE, dx=x - dot[0], dy=raised - dot[1])
    x += dot[2] - dot[0] + GAP
    place(pen, src.outline("\u2075"), dx=x - five[0])
    x += five[2] - five[0] + SIDE_BEARING
    glyphs["uniE030"] = (pen.glyph(), round(x))

    cmap = {0xE001: "uniE001", 0xE010: "uniE010", 0xE011: "uniE011",
            0xE020: "uniE020", 0xE021: "uniE021", 0xE030: "uniE030"}
    return glyphs, cmap


def build_font(src):
    glyphs, cmap = build_glyphs(src)
    order = [".notdef"] + sorted(n for n in glyphs if n != ".notdef")

    fb = FontBuilder(UPM, isTTF=True)
    fb.font.recalcTimestamp = False  # reproducible output
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf({n: glyphs[n][0] for n in order})
    glyf = fb.font["glyf"]
    metrics = {}
    for n in order:
        g = glyf[n]
        g.recalcBounds(glyf)
        metrics[n] = (glyphs[n][1], getattr(g, "xMin", 0))
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT, lineGap=0)

    src_name = src.font["name"]
    copyright_ = (src_name.getDebugName(0) or "").strip()
    fb.setupNameTable({
        "copyright": copyright_ + " Glyphs rearranged for wallcalc.",
        "familyName": FAMILY,
        "styleName": STYLE,
        "uniqueFontIdentifier": f"{FAMILY} {STYLE} {VERSION}",
        "fullName": f"{FAMILY} {STYLE}",
        "psName": "WallcalcSymbols-Regular",
        "version": f"Version {VERSION}",
        "description": "Superscripts, subscripts, a raised 0.5 and the bar-grade "
                       "symbol at private-use code points, from DejaVu Sans outlines.",
        "licenseDescription": "Bitstream Vera Fonts licence (with the DejaVu "
                              "changes in the public domain); see LICENSE-DejaVu.txt.",
    })
    fb.setupOS2(
        version=4,
        usWeightClass=400,
        usWidthClass=5,
        fsType=0,
        sTypoAscender=ASCENT,
        sTypoDescender=-DESCENT,
        sTypoLineGap=0,
        usWinAscent=ASCENT,
        usWinDescent=DESCENT,
        fsSelection=0x40 | 0x80,  # REGULAR, USE_TYPO_METRICS
        achVendID="NONE",
        sxHeight=1120,
        sCapHeight=1493,
        ulUnicodeRange1=0,
        ulUnicodeRange2=1 << (60 - 32),  # bit 60: Private Use Area
        ulCodePageRange1=1,  # Latin 1, so that no tool takes the font for a symbol font
    )
    fb.setupPost(keepGlyphNames=True)
    fb.setupMaxp()
    stamp = timestampFromString("Mon Jan  1 00:00:00 2024")  # fixed, for reproducible builds
    fb.font["head"].created = fb.font["head"].modified = stamp
    fb.font["head"].fontRevision = float(VERSION)
    return fb.font


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--source", help="DejaVuSans.ttf (default: ask fontconfig)")
    ap.add_argument("--output", default=DEFAULT_OUT, help="font file to write")
    args = ap.parse_args()

    font = build_font(Source(args.source or find_dejavu()))
    os.makedirs(os.path.dirname(os.path.abspath(args.output)), exist_ok=True)
    font.save(args.output)

    check = TTFont(args.output)
    cps = sorted(check.getBestCmap())
    print(f"wrote {os.path.normpath(args.output)}: {len(check.getGlyphOrder())} glyphs, "
          "code points " + " ".join(f"U+{c:04X}" for c in cps))


if __name__ == "__main__":
    main()
