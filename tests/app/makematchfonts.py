#!/usr/bin/python3
"""Makes the fonts the font-match test needs, in FOLDER:
a collection of two faces in one file (MatchCollection.ttc), a variable font
with three named instances (MatchVariable.ttf) and a plain font to add as an
application font (MatchApplication.ttf)."""
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTCollection


def square():
    pen = TTGlyphPen(None)
    pen.moveTo((100, 0))
    pen.lineTo((100, 700))
    pen.lineTo((500, 700))
    pen.lineTo((500, 0))
    pen.closePath()
    return pen.glyph()


def font(family, style, weight, variable=False):
    builder = FontBuilder(1000, isTTF=True)
    glyphs = [".notdef", "A", "B"]
    builder.setupGlyphOrder(glyphs)
    builder.setupCharacterMap({ord("A"): "A", ord("B"): "B"})
    builder.setupGlyf({name: square() for name in glyphs})
    builder.setupHorizontalMetrics({name: (600, 100) for name in glyphs})
    builder.setupHorizontalHeader(ascent=800, descent=-200)
    builder.setupNameTable({"familyName": family, "styleName": style})
    builder.setupOS2(usWeightClass=weight, sTypoAscender=800, sTypoDescender=-200, usWinAscent=800, usWinDescent=200)
    builder.setupPost()
    if variable:
        builder.setupFvar(
            axes=[("wght", 100, 400, 900, "Weight")],
            instances=[
                {"location": {"wght": 300}, "stylename": "Light"},
                {"location": {"wght": 400}, "stylename": "Regular"},
                {"location": {"wght": 700}, "stylename": "Bold"},
            ],
        )
        builder.setupGvar({})
    return builder.font


def main(folder):
    collection = TTCollection()
    collection.fonts = [font("Match Collection", "Regular", 400), font("Match Collection", "Bold", 700)]
    collection.save(f"{folder}/MatchCollection.ttc")
    font("Match Variable", "Regular", 400, variable=True).save(f"{folder}/MatchVariable.ttf")
    font("Match Application", "Regular", 400).save(f"{folder}/MatchApplication.ttf")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: makematchfonts.py FOLDER")
    main(sys.argv[1])
