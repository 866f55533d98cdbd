"""The real program ended in the middle of a print job: SIGTERM cancels the job
and leaves nothing behind; what SIGKILL leaves, the next start removes, but
never the files of a process that still runs. Driven over AT-SPI.
Usage: endingtest.py LETTERLOOM_EXECUTABLE"""
import glob
import os
import signal
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "screenreader"))
import screenreader  # noqa: E402
from screenreader import check, wait_for  # noqa: E402

FONTS = sorted(glob.glob("/usr/share/fonts/truetype/noto/*-Regular.ttf"))[:120]


def leftovers(world):
    return sorted(glob.glob(world.path("tmp/letterloom-*")))


def start_job(executable, world):
    """Prints the catalogue of every family and waits until the job writes its parts."""
    program = screenreader.Program(executable, world, "xcb")
    press = lambda name, within: program.press(program.wait_find(program.atspi.ROLE_PUSH_BUTTON, name, within))
    main = program.app and program.window(program.atspi.ROLE_FRAME, "Letterloom")
    if main:
        press("alle hinzufügen", main)
        press("Druckvorschau", main)
        press("Drucken", program.window(program.atspi.ROLE_DIALOG, "Vorschau"))
        press("Drucken", program.window(program.atspi.ROLE_DIALOG, "Drucken"))
    writing = main and wait_for(lambda: glob.glob(world.path("tmp/letterloom-teile-*")), "the job writes its parts")
    return program if writing else None


def main(executable):
    if screenreader.WORLD not in os.environ:
        if len(FONTS) < 120:
            screenreader.skip("fewer than 120 Noto families (Debian package fonts-noto-core)")
        sys.exit(screenreader.supervise(FONTS))
    world = screenreader.PrivateWorld(os.environ[screenreader.WORLD])
    open(world.path("started"), "w").close()
    # Every character of every family: the job still draws when the signal comes.
    with open(world.path("config/Made by Orvik.ini"), "w") as settings:
        settings.write("[Typecaddy]\nPrint_Art=2\n")
    # A queue that prints nothing; without CUPS the dialog writes a file in the home folder.
    queue = os.environ.get("LETTERLOOM_PRINTER_STOPPED")
    if queue:
        world.env["PRINTER"] = queue
    jobs = lambda: subprocess.run(["lpstat", "-o", queue], capture_output=True).stdout if queue else b""
    screenreader.start_accessibility_bus(world.env)
    screenreader.start_x_server(world)

    waiting = jobs()
    program = start_job(executable, world)
    if program:
        program.process.send_signal(signal.SIGTERM)
        check(program.wait_exit() == 0, "SIGTERM in the middle of a job ends the program as a close does")
        check(leftovers(world) == [], f"nothing of the job stays in the temporary folder: {leftovers(world)}")
        check(jobs() == waiting and not os.path.exists(world.path("home/print.pdf")), "the job was cancelled")

    program = start_job(executable, world)
    if program:
        program.process.kill()
        program.process.wait()
        check(leftovers(world) != [], "after SIGKILL the job's parts are still there")
        ended = subprocess.Popen(["true"])
        ended.wait()
        os.mkdir(world.path(f"tmp/letterloom-teile-{ended.pid}-Xy12Ab"))
        running = world.path(f"tmp/letterloom-druck-{os.getpid()}-Cd34Ef.pdf")
        open(running, "w").close()
        program = screenreader.Program(executable, world, "xcb")
        main_window = program.app and program.window(program.atspi.ROLE_FRAME, "Letterloom")
        check(leftovers(world) == [running], f"a start removes what ended processes left: {leftovers(world)}")
        if main_window:
            program.press(program.wait_find(program.atspi.ROLE_PUSH_BUTTON, "Schließen", main_window))
            check(program.wait_exit() == 0, "the program ends cleanly when closed")
    screenreader.finish()


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
