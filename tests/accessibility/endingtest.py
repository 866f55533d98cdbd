"""How the real program ends in the middle of a print job: SIGTERM, as a
desktop sends it at logout, cancels the job and leaves nothing behind; after
SIGKILL the parts stay, and the next start removes them, but never the files
of a process that still runs. Driven over AT-SPI like the accessibility test.
Usage: endingtest.py LETTERLOOM_EXECUTABLE"""
import glob
import os
import signal
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "screenreader"))
import screenreader  # noqa: E402
from screenreader import check, wait_for  # noqa: E402

NOTO = "/usr/share/fonts/truetype/noto"
FAMILIES = 120


def catalogue_fonts():
    """One file for each of 120 families, enough for a job of some seconds."""
    return sorted(glob.glob(os.path.join(NOTO, "*-Regular.ttf")))[:FAMILIES]


def leftovers(world):
    return sorted(glob.glob(os.path.join(world.path("tmp"), "letterloom-*")))


def pending_jobs(queue):
    if not queue:
        return 0
    listed = subprocess.run(["lpstat", "-o", queue], capture_output=True, text=True).stdout
    return len(listed.splitlines())


def start_job(program, world):
    """Opens the preview of every family, prints it and waits until the job
    writes its parts."""
    atspi = program.atspi
    main = program.app and program.window(atspi.ROLE_FRAME, "Letterloom")
    if not main:
        return False
    for name in ("alle hinzufügen", "Druckvorschau"):
        program.press(program.wait_find(atspi.ROLE_PUSH_BUTTON, name, main))
    preview = program.window(atspi.ROLE_DIALOG, "Vorschau")
    if not preview:
        return False
    program.press(program.wait_find(atspi.ROLE_PUSH_BUTTON, "Drucken", preview))
    printers = program.window(atspi.ROLE_DIALOG, "Drucken")
    if not printers:
        return False
    program.press(program.wait_find(atspi.ROLE_PUSH_BUTTON, "Drucken", printers))
    return wait_for(lambda: glob.glob(os.path.join(world.path("tmp"), "letterloom-teile-*")),
                    "the job writes its parts into the temporary folder")


def ended_within(program, seconds):
    try:
        return program.process.wait(seconds)
    except subprocess.TimeoutExpired:
        program.process.kill()
        program.process.wait()
        return None


def main(executable):
    if screenreader.WORLD not in os.environ:
        fonts = catalogue_fonts()
        if len(fonts) < FAMILIES:
            screenreader.skip(f"fewer than {FAMILIES} Noto families (Debian package fonts-noto-core)")
        sys.exit(screenreader.supervise(fonts))
    world = screenreader.PrivateWorld(os.environ[screenreader.WORLD])
    open(world.path("started"), "w").close()
    # A queue that takes jobs and prints none: a job that was not cancelled
    # shows as one more waiting job. Without CUPS the dialog prints to a file.
    queue = os.environ.get("LETTERLOOM_PRINTER_STOPPED", "")
    if queue:
        world.env["PRINTER"] = queue
    # Every character of every family: pages enough that the job is still
    # drawing when the signal comes.
    with open(world.path("config/Made by Orvik.ini"), "w") as settings:
        settings.write("[Typecaddy]\nPrint_Art=2\n")
    screenreader.start_accessibility_bus(world.env)
    screenreader.start_x_server(world)

    waiting = pending_jobs(queue)
    program = screenreader.Program(executable, world, "xcb")
    if start_job(program, world):
        program.process.send_signal(signal.SIGTERM)
        check(ended_within(program, 10) == 0, "SIGTERM in the middle of a job ends the program as a close does")
        check(leftovers(world) == [], f"nothing of the job stays in the temporary folder: {leftovers(world)}")
        check(pending_jobs(queue) == waiting and not os.path.exists(world.path("home/print.pdf")),
              "the job was cancelled, not finished")

    program = screenreader.Program(executable, world, "xcb")
    if start_job(program, world):
        program.process.kill()
        program.process.wait()
        killed = leftovers(world)
        check(killed != [], "after SIGKILL the job's parts are still there")
        # A process that has ended, and one that runs: this script.
        ended = subprocess.Popen(["true"])
        ended.wait()
        dead = os.path.join(world.path("tmp"), f"letterloom-teile-{ended.pid}-Xy12Ab")
        alive = os.path.join(world.path("tmp"), f"letterloom-druck-{os.getpid()}-Cd34Ef.pdf")
        os.mkdir(dead)
        open(os.path.join(dead, "1.pdf"), "w").close()
        open(alive, "w").close()

        program = screenreader.Program(executable, world, "xcb")
        main_window = program.app and program.window(program.atspi.ROLE_FRAME, "Letterloom")
        check(leftovers(world) == [alive], f"the next start removes what ended processes left: {leftovers(world)}")
        if main_window:
            program.press(program.wait_find(program.atspi.ROLE_PUSH_BUTTON, "Schließen", main_window))
            check(program.wait_exit() == 0, "the program ends cleanly when closed")
    screenreader.finish()


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
