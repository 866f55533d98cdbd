"""Letterloom as a screen reader meets it: the real program on a private
accessibility bus, read and driven only through AT-SPI.
Usage: screenreadertest.py LETTERLOOM_EXECUTABLE"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "screenreader"))
import screenreader  # noqa: E402
from screenreader import check  # noqa: E402


def every_control_is_named(program, window, where):
    """Whatever takes the focus has a German name of its own, never an
    identifier; no two buttons share a name."""
    atspi = program.atspi
    unnamed, identifiers, buttons = [], [], []
    pending = [window]
    while pending:
        node = pending.pop()
        # A drop-down list's entries and its popup list are read with the list.
        if node.getRole() != atspi.ROLE_COMBO_BOX:
            pending.extend(node[i] for i in range(node.childCount))
        if node.getRole() in (atspi.ROLE_LIST_ITEM, atspi.ROLE_MENU_ITEM) or \
                not node.getState().contains(atspi.STATE_FOCUSABLE):
            continue
        if not node.name:
            unnamed.append(node.getRoleName())
        elif "_" in node.name:
            identifiers.append(node.name)
        if node.getRole() == atspi.ROLE_PUSH_BUTTON:
            buttons.append(node.name)
    check(not unnamed, f"{where}: every control has a name (unnamed: {unnamed})")
    check(not identifiers, f"{where}: no control is named by an identifier ({identifiers})")
    shared = sorted({name for name in buttons if buttons.count(name) > 1})
    check(not shared, f"{where}: no two buttons share a name ({shared})")


def read_main_window(program, main):
    atspi = program.atspi
    menu_bar = program.find(lambda n: n.getRole() == atspi.ROLE_MENU_BAR, main)
    check(menu_bar is not None and menu_bar.name == "Menüleiste", "the main window's menu bar is \"Menüleiste\"")

    more = program.wait_find(atspi.ROLE_PUSH_BUTTON, "Druckoptionen einblenden", main)
    if more:
        program.press(more)
        program.wait_find(atspi.ROLE_PUSH_BUTTON, "Druckoptionen ausblenden", main,
                          "the layout button says it hides the options once they show")

    sample = program.find(lambda n: n.getRole() == atspi.ROLE_LABEL and n.name.startswith("Schriftbeispiel:"), main)
    check(sample is not None and sample.name == "Schriftbeispiel: Liberation Mono",
          f"the sample display is read with the family it shows ({sample.name if sample else None})")

    spin = program.wait_find(atspi.ROLE_SPIN_BUTTON, "Größe des Schriftbeispiels", main)
    if spin:
        value = spin.queryValue()
        check((value.currentValue, value.minimumValue, value.maximumValue) == (19.5, 8, 33),
              f"the spin control reads the sample's 19.5 points, from 8 to 33 "
              f"({value.currentValue}, {value.minimumValue}, {value.maximumValue})")
        halves = [spin[i] for i in range(spin.childCount)]
        check([half.name for half in halves] == ["Schriftbeispiel vergrößern", "Schriftbeispiel verkleinern"],
              f"the spin control's halves are named ({[half.name for half in halves]})")
        if halves:
            program.press(halves[0])
            screenreader.wait_for(lambda: spin.queryValue().currentValue == 24,
                                  "pressing \"Schriftbeispiel vergrößern\" makes the value 24 points")
            spin.queryValue().currentValue = 20
            screenreader.wait_for(lambda: spin.queryValue().currentValue == 20,
                                  "a screen reader can set the sample to 20 points")

    for name in ("Farbe der Schriftnamen ändern", "Farbe des Schriftbeispiels ändern"):
        check(program.find(lambda n, name=name: n.getRole() == atspi.ROLE_PUSH_BUTTON and n.name == name, main)
              is not None, f"a colour button is named \"{name}\"")
    every_control_is_named(program, main, "main window")


def read_about_window(program, main):
    atspi = program.atspi
    logo = program.wait_find(atspi.ROLE_PUSH_BUTTON, "Info über Letterloom", main,
                             "the logo is a push button named for the window it opens")
    if not logo:
        return
    check("Press" in program.actions(logo), "the logo offers a press action")
    program.press(logo)
    about = program.window(atspi.ROLE_DIALOG, "Letterloom")
    if not about:
        return
    links = []
    pending = [about]
    while pending:
        node = pending.pop(0)
        pending.extend(node[i] for i in range(node.childCount))
        if node.getRole() == atspi.ROLE_LINK:
            links.append(node)
    check([link.name for link in links] == ["www.letterloom.example", "info@letterloom.example"],
          f"the web and mail addresses are links ({[link.name for link in links]})")
    for link in links:
        check("Press" in program.actions(link), f"the link \"{link.name}\" can be followed")
    every_control_is_named(program, about, "About window")
    okay = program.wait_find(atspi.ROLE_PUSH_BUTTON, "Okay", about)
    if okay:
        program.press(okay)
        program.window_gone(atspi.ROLE_DIALOG, "Letterloom")


def read_preview(program, main):
    atspi = program.atspi
    for name in ("alle hinzufügen", "Druckvorschau"):
        button = program.wait_find(atspi.ROLE_PUSH_BUTTON, name, main)
        if not button:
            return
        program.press(button)
    preview = program.window(atspi.ROLE_DIALOG, "Vorschau")
    if not preview:
        return
    menu_bar = program.find(lambda n: n.getRole() == atspi.ROLE_MENU_BAR, preview)
    check(menu_bar is not None and menu_bar.name == "Menüleiste", "the preview's menu bar is \"Menüleiste\"")
    every_control_is_named(program, preview, "preview")
    program.wait_find(atspi.ROLE_LABEL, "Status", preview, "the empty status line is read as \"Status\"")
    program.press(program.wait_find(atspi.ROLE_PUSH_BUTTON, "Drucken", preview))
    printers = program.window(atspi.ROLE_DIALOG, "Drucken")
    if printers:
        program.press(program.wait_find(atspi.ROLE_PUSH_BUTTON, "Abbrechen", printers))
        program.wait_find(atspi.ROLE_LABEL, "Status: Abbrechen wurde gewählt.", preview,
                          "the status line's text is read with it")
    program.press(program.wait_find(atspi.ROLE_PUSH_BUTTON, "zurück", preview))
    program.window_gone(atspi.ROLE_DIALOG, "Vorschau")


def drive(program, main_window):
    read_main_window(program, main_window)
    read_about_window(program, main_window)
    read_preview(program, main_window)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    screenreader.run(sys.argv[1], "xcb", screenreader.start_x_server, drive)
