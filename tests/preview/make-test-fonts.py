#!/usr/bin/python3
"""Makes the fonts of the own-script tests from installed fonts, as subsets under names of their own.

Usage: tests/preview/make-test-fonts.py DIR
  DIR/LetterloomHebrew.ttf    "Letterloom Hebrew": the Hebrew letters, a space and a hyphen, no Latin and no "_"
  DIR/LetterloomCherokee.ttf  "Letterloom Cherokee": Cherokee capitals, a script Qt names no writing system for
  DIR/LetterloomPlain.ttf     "Letterloom Plain": Latin letters, digits and punctuation without "_"
  DIR/LetterloomAdlam.ttf     "Letterloom Adlam": ASCII punctuation and digits (from Noto Sans), then Adlam
                              letters, digits and punctuation beyond the Basic Multilingual Plane
  DIR/LetterloomOriya.ttf     "Letterloom Oriya": ASCII punctuation and digits, then Oriya, a script Qt shapes
                              only with a font whose layout tables name it
  DIR/LetterloomSymbols.ttf   "Letterloom Symbols": ASCII digits, "#" and "*", then arrows and shapes, no letter
  DIR/LetterloomThaana.ttf    "Letterloom Thaana": Thaana, whose layout tables name it for positioning only,
                              with Arabic digits and signs
Needs python3-fonttools, fonts-noto-core and fonts-liberation2.
"""
import os
import sys

from fontTools import merge, subset
from fontTools.ttLib import TTFont

NOTO = "/usr/share/fonts/truetype/noto/"
LIBERATION = "/usr/share/fonts/truetype/liberation2/"
ASCII_SIGNS = [code for code in range(0x21, 0x7F) if not chr(code).isalpha()]
# Name, then the source fonts, each with the characters taken from it.
FONTS = (
    ("LetterloomHebrew", ((NOTO + "NotoSansHebrew-Regular.ttf", [0x20, 0x2D] + list(range(0x5D0, 0x5EB))),)),
    ("LetterloomCherokee", ((NOTO + "NotoSansCherokee-Regular.ttf", [0x20] + list(range(0x13A0, 0x13F6))),)),
    ("LetterloomPlain",
     ((LIBERATION + "LiberationSans-Regular.ttf", [code for code in range(0x20, 0x7F) if code != 0x5F]),)),
    ("LetterloomAdlam", ((NOTO + "NotoSansAdlam-Regular.ttf", [0x20] + ASCII_SIGNS + list(range(0x1E900, 0x1E960))),
                         (NOTO + "NotoSans-Regular.ttf", list(range(0x30, 0x3A))))),
    ("LetterloomOriya", ((NOTO + "NotoSansOriya-Regular.ttf", [0x20] + ASCII_SIGNS + list(range(0xB00, 0xB80))),)),
    ("LetterloomSymbols", ((NOTO + "NotoSansSymbols2-Regular.ttf",
                            [0x20, 0x23, 0x2A] + list(range(0x30, 0x3A)) + list(range(0x2190, 0x2200))
                            + list(range(0x25A0, 0x2600))),)),
    ("LetterloomThaana", ((NOTO + "NotoSansThaana-Regular.ttf",
                           [0x20, 0x60C, 0x61B, 0x61F] + list(range(0x660, 0x66A)) + list(range(0x780, 0x7C0))),)),
)
# Family, full name, PostScript name, typographic and WWS family.
FAMILY_NAME_IDS = (1, 4, 6, 16, 21)


def subset_of(source, characters, path):
    font = TTFont(source)
    options = subset.Options()
    options.layout_features = ["*"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=characters)
    subsetter.subset(font)
    font.save(path)
    return path


def make(name, sources, folder):
    path = os.path.join(folder, name + ".ttf")
    parts = [subset_of(source, characters, "%s.%d" % (path, i)) for i, (source, characters) in enumerate(sources)]
    font = merge.Merger().merge(parts) if len(parts) > 1 else TTFont(parts[0])
    family = "Letterloom " + name[len("Letterloom"):]
    names = font["name"]
    names.names = [record for record in names.names if record.nameID not in FAMILY_NAME_IDS]
    for name_id, text in ((1, family), (4, family), (6, name)):
        names.setName(text, name_id, 3, 1, 0x409)
    font.save(path)
    for part in parts:
        os.remove(part)
    print(path)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    for name, sources in FONTS:
        make(name, sources, sys.argv[1])


if __name__ == "__main__":
    main()
