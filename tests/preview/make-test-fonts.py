#!/usr/bin/python3
"""Makes the fonts of the own-script tests from installed fonts, as subsets under names of their own.

Usage: tests/preview/make-test-fonts.py DIR
  DIR/LetterloomHebrew.ttf    "Letterloom Hebrew": the Hebrew letters, a space and a hyphen, no Latin and no "_"
  DIR/LetterloomCherokee.ttf  "Letterloom Cherokee": Cherokee, a script Qt names no writing system for
  DIR/LetterloomPlain.ttf     "Letterloom Plain": Latin letters, digits and punctuation without "_"
Needs python3-fonttools, fonts-noto-core and fonts-liberation2.
"""
import os
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

NOTO = "/usr/share/fonts/truetype/noto/"
LIBERATION = "/usr/share/fonts/truetype/liberation2/"
FONTS = (
    ("LetterloomHebrew", NOTO + "NotoSansHebrew-Regular.ttf", [0x20, 0x2D] + list(range(0x5D0, 0x5EB))),
    ("LetterloomCherokee", NOTO + "NotoSansCherokee-Regular.ttf", [0x20] + list(range(0x13A0, 0x13F6))),
    ("LetterloomPlain", LIBERATION + "LiberationSans-Regular.ttf", [code for code in range(0x20, 0x7F) if code != 0x5F]),
)
# Family, full name, PostScript name, typographic and WWS family.
FAMILY_NAME_IDS = (1, 4, 6, 16, 21)


def make(name, source, characters, folder):
    font = TTFont(source)
    options = subset.Options()
    options.layout_features = ["*"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=characters)
    subsetter.subset(font)
    family = "Letterloom " + name[len("Letterloom"):]
    names = font["name"]
    names.names = [record for record in names.names if record.nameID not in FAMILY_NAME_IDS]
    for name_id, text in ((1, family), (4, family), (6, name)):
        names.setName(text, name_id, 3, 1, 0x409)
    path = os.path.join(folder, name + ".ttf")
    font.save(path)
    print(path)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    for name, source, characters in FONTS:
        make(name, source, characters, sys.argv[1])


if __name__ == "__main__":
    main()
