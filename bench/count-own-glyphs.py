#!/usr/bin/python3
"""Counts the families of a printed catalogue whose samples show the family's own glyphs.

Usage:
  bench/count-own-glyphs.py CATALOGUE.pdf [LEAST] [--list]
      Reads the catalogue's text runs with poppler's pdftohtml -xml, which
      names the font of every run, and counts per family the characters drawn
      in one of the family's own fonts (the PostScript names fontconfig lists
      under the family's name) below its name line. Empty boxes of missing
      glyphs have no text, spaces are not counted, and neither is the rule of
      underscores under each block, which shows nothing of the font. Qt's PDF
      writer maps only characters of the Basic Multilingual Plane back to text:
      glyphs of scripts beyond it (Old Italic, Linear B) are drawn but not
      counted. Prints how
      many families draw at least LEAST (default 8) characters; --list also
      names those that do not.
      The catalogue comes from print_bench, in the font set fontconfig gives:
        build/bench/print_bench job /tmp/katalog.pdf && bench/count-own-glyphs.py /tmp/katalog.pdf

Needs poppler-utils and fontconfig's fc-list.
"""
import collections
import html
import re
import subprocess
import sys

RUN = re.compile(r'<text top="(-?\d+)" left="(-?\d+)"[^>]*font="(\d+)"[^>]*>(.*?)</text>')
FONTSPEC = re.compile(r'<fontspec id="(\d+)" size="(\d+)" family="([^"]*)"')
TAG = re.compile(r"<[^>]+>")
FOUNDRY = re.compile(r" \[[^]]*\]$")


def own_fonts():
    """Family name -> the names pdftohtml may give its fonts: the PostScript name, or its part before the style."""
    listing = subprocess.run(["fc-list", "--format", "%{family}\t%{postscriptname}\n"], check=True,
                             capture_output=True, text=True).stdout
    fonts = collections.defaultdict(set)
    for line in listing.splitlines():
        families, _, postscript = line.partition("\t")
        for family in re.split(r"(?<!\\),", families):
            fonts[family.replace("\\,", ",")].update({postscript, postscript.split("-")[0]})
    return fonts


def count(pdf):
    xml = subprocess.run(["pdftohtml", "-xml", "-i", "-stdout", pdf], check=True, capture_output=True,
                         text=True).stdout
    run_fonts = {}
    for fontspec in FONTSPEC.finditer(xml):
        run_fonts[fontspec.group(1)] = (int(fontspec.group(2)), fontspec.group(3))
    runs = []
    for run in RUN.finditer(xml):
        top, left, font, text = int(run.group(1)), int(run.group(2)), run.group(3), run.group(4)
        # Qt draws a face it makes bold twice, a pixel apart: count the text once.
        if runs and any(seen[1:] == (top, font, text) and abs(seen[0] - left) <= 2 for seen in runs[-8:]):
            continue
        runs.append((left, top, font, text))
    runs = [(run_fonts[font], text) for _, _, font, text in runs]
    # Name lines are the only italic runs at the size of the header's count line.
    heading_size = next(size for (size, _), text in runs if "Schriften)" in text)
    fonts = own_fonts()
    drawn = collections.OrderedDict()
    family = None
    for (size, font), text in runs:
        plain = html.unescape(TAG.sub("", text))
        if size == heading_size and text.startswith("<i>"):
            family = plain
            drawn[family] = 0
            continue
        if family is None or set(plain.strip()) <= {"_"}:
            continue
        own = fonts.get(family) or fonts.get(FOUNDRY.sub("", family), set())
        if font in own:
            drawn[family] += sum(1 for character in plain if not character.isspace())
    return drawn


def main():
    arguments = [argument for argument in sys.argv[1:] if argument != "--list"]
    if not arguments:
        sys.exit(__doc__)
    least = int(arguments[1]) if len(arguments) > 1 else 8
    drawn = count(arguments[0])
    showing = [family for family, characters in drawn.items() if characters >= least]
    print("%d of %d families draw at least %d characters of their samples in their own font"
          % (len(showing), len(drawn), least))
    if "--list" in sys.argv:
        for family, characters in drawn.items():
            if characters < least:
                print("  %s: %d" % (family, characters))


if __name__ == "__main__":
    main()
