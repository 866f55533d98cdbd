#!/usr/bin/python3
"""Makes a large, reproducible font set for the benchmarks.

Usage:
  bench/make-fontset.py COUNT DIR
      DIR/fonts.conf is a fontconfig configuration with COUNT families in all:
      the installed ones, with the system's own configuration (aliases such as
      Arial and Courier New, rendering settings), as on a real desktop, and as
      many more in DIR/fonts as it takes: renamed copies of the installed
      TrueType and OpenType fonts taken in turn (sorted by path), so sizes and
      scripts stay those of real fonts. Its cache is built at once, so no
      benchmark pays for it. Prints the configuration's path.
        FONTCONFIG_FILE=$(bench/make-fontset.py 10000 /tmp/fonts10k) build/bench/preview_bench
  bench/make-fontset.py --rename SOURCE TARGET FAMILY
      writes one copy of the font file SOURCE whose family is FAMILY.

Needs python3-fonttools. Running it again on the same DIR gives the same set.
"""
import os
import re
import subprocess
import sys

from fontTools.ttLib import TTFont

# Family, full name, PostScript name, typographic and WWS family: every name a
# font database could list the font under.
FAMILY_NAME_IDS = (1, 4, 6, 16, 21)


def fc_list(*arguments):
    # The system's fonts, whatever configuration the caller's environment names.
    environment = {key: value for key, value in os.environ.items() if key != "FONTCONFIG_FILE"}
    return subprocess.run(["fc-list", *arguments], check=True, capture_output=True, text=True,
                          env=environment).stdout


def installed_fonts():
    listing = fc_list("--format", "%{file}\n", ":fontformat=TrueType") + fc_list("--format", "%{file}\n",
                                                                               ":fontformat=CFF")
    return sorted({path for path in listing.splitlines() if path.lower().endswith((".ttf", ".otf"))})


def rename(source, target, family):
    font = TTFont(source, lazy=True, fontNumber=0)
    names = font["name"]
    names.names = [record for record in names.names if record.nameID not in FAMILY_NAME_IDS]
    postscript = re.sub(r"[^A-Za-z0-9-]", "", family)[:63] or "Font"
    for name_id, text in ((1, family), (4, family), (6, postscript)):
        names.setName(text, name_id, 3, 1, 0x409)
    font.save(target)


def installed_family_count():
    return len(set(fc_list("--format", "%{family[0]}\n").splitlines()))


def make_set(total, folder):
    count = max(0, total - installed_family_count())
    sources = installed_fonts()
    if not sources:
        sys.exit("no installed TrueType or OpenType fonts found")
    fonts = os.path.join(folder, "fonts")
    cache = os.path.join(folder, "cache")
    os.makedirs(fonts, exist_ok=True)
    os.makedirs(cache, exist_ok=True)
    for stale in os.listdir(fonts):
        number = re.fullmatch(r"bench(\d+)\.\w+", stale)
        if number and int(number.group(1)) >= count:
            os.remove(os.path.join(fonts, stale))
    for index in range(count):
        source = sources[index % len(sources)]
        target = os.path.join(fonts, "bench%05d%s" % (index, os.path.splitext(source)[1].lower()))
        if not os.path.exists(target):
            stem = os.path.splitext(os.path.basename(source))[0]
            rename(source, target, "%s %05d" % (stem.split("-")[0], index))
    config = os.path.join(folder, "fonts.conf")
    with open(config, "w", encoding="utf-8") as out:
        out.write('<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "fonts.dtd">\n<fontconfig>\n'
                  "  <include>/etc/fonts/fonts.conf</include>\n"
                  "  <dir>%s</dir>\n  <cachedir>%s</cachedir>\n</fontconfig>\n" % (fonts, cache))
    subprocess.run(["fc-cache", fonts], check=True, env=dict(os.environ, FONTCONFIG_FILE=config))
    print(config)


def main(arguments):
    if len(arguments) == 4 and arguments[0] == "--rename":
        rename(arguments[1], arguments[2], arguments[3])
    elif len(arguments) == 2 and arguments[0].isdigit() and int(arguments[0]) > 0:
        make_set(int(arguments[0]), os.path.abspath(arguments[1]))
    else:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
