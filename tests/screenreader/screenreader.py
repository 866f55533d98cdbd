"""Starts Letterloom in a private world and reads it the way a screen reader
does: over a private accessibility bus (AT-SPI), by names, roles, values and
actions. Used by the accessibility test and the Wayland smoke test."""
import ctypes
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
WAIT_SECONDS = 30
# Well below CTest's TIMEOUT, so that this script, not CTest's SIGKILL, ends
# a run whose accessibility bus got stuck, and ends everything it started.
LIMIT_SECONDS = 90
WORLD = "LETTERLOOM_PRIVATE_WORLD"
FONT_DIR = "/usr/share/fonts/truetype/liberation2"
FONT_FILES = ["LiberationSans-Regular.ttf", "LiberationSerif-Regular.ttf", "LiberationMono-Regular.ttf"]

failures = []


def skip(reason):
    print(f"SKIPPED: {reason}", flush=True)
    sys.exit(SKIPPED)


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def finish():
    print(f"{len(failures)} checks failed" if failures else "all checks passed", flush=True)
    sys.exit(1 if failures else 0)


def wait_for(condition, what, seconds=WAIT_SECONDS):
    """Polls `condition` until it gives a true value, or fails the check."""
    deadline = time.monotonic() + seconds
    while True:
        try:
            result = condition()
        except Exception:  # the object went away or is not there yet
            result = None
        if result:
            print(f"ok    {what}", flush=True)
            return result
        if time.monotonic() > deadline:
            check(False, f"{what} (waited {seconds} s)")
            return None
        time.sleep(0.05)


def end_group(group):
    """Ends every process of `group`, asking first. This script is their
    subreaper, so even the bus services the session bus detaches are its
    children, and none of them outlives it as an orphan or a zombie."""
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(group, sig)
        except ProcessLookupError:
            pass
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline:
            try:
                if os.waitpid(-group, os.WNOHANG)[0] == 0:
                    time.sleep(0.05)
            except ChildProcessError:
                return


def interrupted(signum, _frame):
    raise SystemExit(f"FAIL  the test was stopped by {signal.Signals(signum).name}")


def supervise(fonts=None):
    """Runs this script again in a private world under its own D-Bus session,
    in a process group of its own, within LIMIT_SECONDS. The session bus and
    the accessibility bus it starts keep their sockets in the world's runtime
    folder: in a shared one, the bus of a run beside this one would replace
    this run's bus under the same name."""
    runner = shutil.which("dbus-run-session")
    if not runner:
        skip("dbus-run-session is missing (Debian package dbus): no private session bus")
    PR_SET_CHILD_SUBREAPER = 36
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1)
    stops = (signal.SIGTERM, signal.SIGINT, signal.SIGHUP)
    for sig in stops:
        signal.signal(sig, interrupted)
    world = PrivateWorld(tempfile.mkdtemp(prefix="letterloom-screenreader-"), fonts)
    session = None
    try:
        env = dict(world.env, **{WORLD: world.root})
        for outer in ("DISPLAY", "WAYLAND_DISPLAY", "AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"):
            env.pop(outer, None)
        session = subprocess.Popen([runner, "--", sys.executable, *sys.argv], env=env, start_new_session=True)
        try:
            code = session.wait(LIMIT_SECONDS)
        except subprocess.TimeoutExpired:
            print(f"FAIL  the test ends within {LIMIT_SECONDS} s (the accessibility bus may be stuck)", flush=True)
            return 1
        if code != 0 and not os.path.exists(world.path("started")):
            skip(f"the private session bus did not start (dbus-run-session exit {code})")
        if code not in (0, 1, SKIPPED):
            print(f"FAIL  the screen reader side ended abnormally (exit status {code})", flush=True)
        return code
    finally:
        for sig in stops:
            signal.signal(sig, signal.SIG_IGN)
        if session:
            end_group(session.pid)
        world.remove()


class PrivateWorld:
    """Home, runtime, temporary, settings and font folders of one run;
    fontconfig sees only the font files it is given, by default the three
    Liberation families."""

    def __init__(self, root, fonts=None):
        self.root = root
        if not os.path.exists(self.path("fonts.conf")):
            self.create(fonts or [os.path.join(FONT_DIR, name) for name in FONT_FILES])
        self.env = dict(os.environ, HOME=self.path("home"), XDG_RUNTIME_DIR=self.path("runtime"),
                        XDG_CONFIG_HOME=self.path("config"), XDG_CACHE_HOME=self.path("cache"),
                        TMPDIR=self.path("tmp"), FONTCONFIG_FILE=self.path("fonts.conf"),
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", LANG="de_DE.UTF-8")

    def create(self, fonts):
        for folder in ("home", "runtime", "config", "cache", "tmp", "fonts", "fontcache"):
            os.makedirs(self.path(folder), mode=0o700)
        for font in fonts:
            shutil.copy(font, self.path("fonts"))
        with open(self.path("fonts.conf"), "w") as config:
            config.write(f'<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "fonts.dtd">\n<fontconfig>\n'
                         f'  <dir>{self.path("fonts")}</dir>\n  <cachedir>{self.path("fontcache")}</cachedir>\n'
                         f'</fontconfig>\n')

    def path(self, name):
        return os.path.join(self.root, name)

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


def start_x_server(world):
    """A private Xvfb display. It picks a free display number itself, which
    xvfb-run -a cannot do safely while other test runs start displays."""
    xvfb = shutil.which("Xvfb")
    if not xvfb:
        skip("Xvfb is missing (Debian package xvfb): no X display")
    read_end, write_end = os.pipe()
    subprocess.Popen([xvfb, "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                     pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as answer:
        display = answer.readline().strip()
    if not display:
        skip("Xvfb did not start")
    world.env["DISPLAY"] = f":{display}"


def start_accessibility_bus(env):
    """Asks the session bus for the accessibility bus, which it starts on
    demand and ends with the session; skips if it cannot."""
    ask = ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
           "org.a11y.Bus.GetAddress"]
    deadline = time.monotonic() + WAIT_SECONDS
    while subprocess.run(ask, env=env, capture_output=True).returncode != 0:
        if time.monotonic() > deadline:
            skip("the accessibility bus did not start (is at-spi2-core installed?)")
        time.sleep(0.05)


class Program:
    """The real program, started with `platform`, as a screen reader sees it."""

    def __init__(self, executable, world, platform):
        import pyatspi  # only now: it connects to the session bus on import
        self.atspi = pyatspi
        env = dict(world.env, QT_QPA_PLATFORM=platform)
        self.process = subprocess.Popen([executable], env=env)
        self.app = wait_for(self._application, "the program appears on the accessibility bus")
        if not self.app:
            desktop = self.atspi.Registry.getDesktop(0)
            listed = [(app.name, app.get_process_id()) for app in desktop if app is not None]
            print(f"the bus lists {listed}; the program (pid {self.process.pid}) "
                  f"{'runs' if self.process.poll() is None else 'has ended'}", flush=True)

    def _application(self):
        # Nothing here runs the event loop that would tell the desktop about a
        # new program, so its list of programs is read afresh each time.
        desktop = self.atspi.Registry.getDesktop(0)
        desktop.clear_cache()
        for app in desktop:
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def find(self, predicate, within=None):
        """The first object below `within` (default: the program) that fits."""
        root = within or self.app
        root.clear_cache()
        pending = [root]
        while pending:
            node = pending.pop(0)
            if node is None:
                continue
            if node is not root and predicate(node):
                return node
            pending.extend(node[i] for i in range(node.childCount))
        return None

    def wait_find(self, role, name, within=None, what=None):
        return wait_for(lambda: self.find(lambda n: n.getRole() == role and n.name == name, within),
                        what or f"\"{name}\" is there")

    def window(self, role, name):
        return self.wait_find(role, name, what=f"the window \"{name}\" opens")

    def window_gone(self, role, name):
        return wait_for(lambda: self.find(lambda n: n.getRole() == role and n.name == name
                                          and n.getState().contains(self.atspi.STATE_SHOWING)) is None,
                        f"the window \"{name}\" closes")

    @staticmethod
    def actions(node):
        action = node.queryAction()
        return [action.getName(i) for i in range(action.nActions)]

    def press(self, node):
        if node is None:
            return False
        action = node.queryAction()
        for i in range(action.nActions):
            if action.getName(i) == "Press":
                return action.doAction(i)
        return check(False, f"\"{node.name}\" offers a press action")

    def wait_exit(self):
        try:
            return self.process.wait(WAIT_SECONDS)
        except subprocess.TimeoutExpired:
            self.process.kill()
            check(False, f"the program ends within {WAIT_SECONDS} s of closing")
            return None



def run(executable, platform, start_window_system, drive):
    """Starts the program on `platform` in a private world with its own
    session and accessibility bus, lets `drive(program, main_window)` work
    with it, closes it with "Schließen" and reports. Whatever this run
    started ends with it."""
    if WORLD not in os.environ:
        sys.exit(supervise())
    world = PrivateWorld(os.environ[WORLD])
    open(world.path("started"), "w").close()
    start_accessibility_bus(world.env)
    start_window_system(world)
    program = Program(executable, world, platform)
    main_window = program.app and program.window(program.atspi.ROLE_FRAME, "Letterloom")
    if main_window:
        drive(program, main_window)
        program.press(program.wait_find(program.atspi.ROLE_PUSH_BUTTON, "Schließen", main_window))
        check(program.wait_exit() == 0, "the program ends cleanly when closed")
    finish()
