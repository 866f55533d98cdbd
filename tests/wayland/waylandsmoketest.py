"""Letterloom on a Wayland desktop: the real program with Qt's Wayland plugin
under a headless Weston compositor counts the fonts, opens the preview and
closes. Driven over the accessibility bus, since a headless compositor has no
input devices. Skips where the compositor cannot start.
Usage: waylandsmoketest.py LETTERLOOM_EXECUTABLE"""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "screenreader"))
import screenreader  # noqa: E402
from screenreader import check  # noqa: E402

SOCKET = "letterloom-wayland"


def start_compositor(world):
    """A headless Weston on a socket in the private runtime folder; the program
    sees no X display."""
    world.env.pop("DISPLAY", None)
    world.env["WAYLAND_DISPLAY"] = SOCKET
    weston = shutil.which("weston")
    if not weston:
        screenreader.skip("weston is not installed: no Wayland compositor to test under")
    log = open(world.path("weston.log"), "w")
    compositor = subprocess.Popen([weston, "--backend=headless-backend.so", f"--socket={SOCKET}", "--idle-time=0"],
                                  env=world.env, stdout=log, stderr=subprocess.STDOUT)
    socket = os.path.join(world.path("runtime"), SOCKET)
    deadline = time.monotonic() + screenreader.WAIT_SECONDS
    while not os.path.exists(socket):
        if compositor.poll() is not None or time.monotonic() > deadline:
            with open(world.path("weston.log")) as output:
                print(output.read())
            screenreader.skip("the headless Weston compositor did not start (its log is above)")
        time.sleep(0.05)


def census_and_preview(program, main_window):
    atspi = program.atspi
    fonts = program.wait_find(atspi.ROLE_LIST, "Verfügbare Schriften", main_window)
    check(fonts is not None and [fonts[i].name for i in range(fonts.childCount)]
          == ["Liberation Mono", "Liberation Sans", "Liberation Serif"], "the census found the three fonts")
    for name in ("alle hinzufügen", "Druckvorschau"):
        program.press(program.wait_find(atspi.ROLE_PUSH_BUTTON, name, main_window))
    preview = program.window(atspi.ROLE_DIALOG, "Vorschau")
    if not preview:
        return
    catalogue = program.wait_find(atspi.ROLE_TEXT, "Schriftenkatalog", preview)
    screenreader.wait_for(lambda: "Liberation Serif" in catalogue.queryText().getText(0, -1),
                          "the preview shows the catalogue")
    program.press(program.wait_find(atspi.ROLE_PUSH_BUTTON, "zurück", preview))
    program.window_gone(atspi.ROLE_DIALOG, "Vorschau")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    screenreader.run(sys.argv[1], "wayland", start_compositor, census_and_preview)
