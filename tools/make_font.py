#!/usr/bin/python3
"""Builds resources/fonts/VelmoraFonts.ttf, the astrological symbol font, from DejaVu Sans.

Run with Debian's python3 (package python3-fontforge) and fonts-dejavu-core installed:
    /usr/bin/python3 tools/make_font.py
Letters: a-j, l, n the points; r retrograde; A-L the signs as pictures (the symbol cut out of
a disc); M-X the plain sign symbols; v z x w y the aspects; digits and space as in DejaVu Sans.
"""
import math
import os
import sys

import fontforge
import psMat

SOURCE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "fonts",
                   "VelmoraFonts.ttf")

# letter -> (code point in DejaVu Sans, glyph name)
POINTS = {
    "a": (0x2609, "sun"), "b": (0x263D, "moon"), "c": (0x263F, "mercury"),
    "d": (0x2640, "venus"), "e": (0x2642, "mars"), "f": (0x2643, "jupiter"),
    "g": (0x2644, "saturn"), "h": (0x2645, "uranus"), "i": (0x2646, "neptune"),
    "j": (0x2647, "pluto"), "l": (0x260A, "node"), "n": (0x26B8, "blackmoon"),
    "r": (0x211E, "retrograde"),
    "v": (0x260C, "conjunction"), "x": (0x25A1, "square"), "w": (0x260D, "opposition"),
    "y": (0x25B3, "trine"),
}
SIGNS = ["aries", "taurus", "gemini", "cancer", "leo", "virgo", "libra", "scorpio",
         "sagittarius", "capricorn", "aquarius", "pisces"]
KAPPA = 0.5522847498


def copy_glyph(src, font, code, letter, name):
    src.selection.select(code)
    src.unlinkReferences()
    src.copy()
    font.selection.select(ord(letter))
    font.paste()
    glyph = font[ord(letter)]
    glyph.glyphname = name
    return glyph


def draw_circle(pen, cx, cy, r):
    k = KAPPA * r
    pen.moveTo((cx + r, cy))
    pen.curveTo((cx + r, cy + k), (cx + k, cy + r), (cx, cy + r))
    pen.curveTo((cx - k, cy + r), (cx - r, cy + k), (cx - r, cy))
    pen.curveTo((cx - r, cy - k), (cx - k, cy - r), (cx, cy - r))
    pen.curveTo((cx + k, cy - r), (cx + r, cy - k), (cx + r, cy))
    pen.closePath()


def centre_of(layer):
    xmin, ymin, xmax, ymax = layer.boundingBox()
    return (xmin + xmax) / 2, (ymin + ymax) / 2, max(xmax - xmin, ymax - ymin)


def picture_sign(src, font, index):
    """The sign symbol cut out of a filled disc: a badge, unlike the bare symbol."""
    letter = chr(ord("A") + index)
    symbol = src[0x2648 + index]
    width = symbol.width + 200
    radius = width / 2 - 40
    cx, cy = width / 2, 700
    glyph = font.createChar(ord(letter), SIGNS[index] + ".picture")
    pen = glyph.glyphPen()
    draw_circle(pen, cx, cy, radius)
    pen = None
    glyph.width = width
    glyph.correctDirection()

    cut = symbol.foreground.dup()
    cut.is_quadratic = False
    sx, sy, size = centre_of(cut)
    scale = 1.15 * radius / size
    cut.transform(psMat.compose(psMat.translate(-sx, -sy),
                                psMat.compose(psMat.scale(scale), psMat.translate(cx, cy))))
    # Reversed inside the disc, the symbol's strokes become holes and its counters solid again.
    layer = glyph.foreground
    for contour in cut:
        contour.reverseDirection()
        layer += contour
    glyph.foreground = layer
    return glyph


def sextile(font, width):
    """Six arms from the centre: three bars at 0, 60 and 120 degrees."""
    glyph = font.createChar(ord("z"), "sextile")
    pen = glyph.glyphPen()
    cx, cy, half, thick = width / 2, 700, 620, 70
    for step in range(3):
        a = math.radians(90 + 60 * step)
        dx, dy = math.cos(a), math.sin(a)
        nx, ny = -dy * thick, dx * thick
        pen.moveTo((cx - dx * half + nx, cy - dy * half + ny))
        pen.lineTo((cx + dx * half + nx, cy + dy * half + ny))
        pen.lineTo((cx + dx * half - nx, cy + dy * half - ny))
        pen.lineTo((cx - dx * half - nx, cy - dy * half - ny))
        pen.closePath()
    pen = None
    glyph.width = width
    glyph.removeOverlap()
    glyph.correctDirection()
    return glyph


def main():
    src = fontforge.open(SOURCE)
    font = fontforge.font()
    font.encoding = "UnicodeFull"
    font.em = src.em
    font.ascent, font.descent = src.ascent, src.descent
    font.fontname = font.familyname = font.fullname = "VelmoraFonts"
    font.version = "1.0"
    font.copyright = ("VelmoraFonts: astrological symbols for Velmora. Glyphs derived from "
                      "DejaVu Sans (Bitstream Vera licence; DejaVu changes in the public domain).")
    font.appendSFNTName("English (US)", "License",
                        "Bitstream Vera licence, see LICENSE-DejaVu in the same folder.")

    for letter, (code, name) in POINTS.items():
        copy_glyph(src, font, code, letter, name)
    for index, name in enumerate(SIGNS):
        copy_glyph(src, font, 0x2648 + index, chr(ord("M") + index), name)
        picture_sign(src, font, index)
    sextile(font, font[ord("x")].width)
    for ch in "0123456789 ":
        copy_glyph(src, font, ord(ch), ch, src[ord(ch)].glyphname)

    for glyph in font.glyphs():
        glyph.round()
        glyph.addExtrema()
    font.generate(OUT)
    print("wrote", os.path.normpath(OUT))


if __name__ == "__main__":
    sys.exit(main())
