#!/usr/bin/python3
"""End-to-end tests of the real program in a real X window.

Starts its own Xvfb, runs build/zarvok (or the program that ZARVOK_PROGRAM names, such as
a sanitizer build) from data/ as a player would, drives it with
xdotool and python3-xlib, and reads the window back. Prints one line per case and a
closing 'N passed, N failed' line; exits non-zero when a case fails.
"""
import os
import subprocess
import sys
import time

from PIL import Image
from Xlib import X, display, protocol

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PROGRAM = os.path.abspath(os.environ.get("ZARVOK_PROGRAM", os.path.join(ROOT, "build", "zarvok")))
DATA = os.path.join(ROOT, "data")
# For a program built with sanitizers: stop at the first report, and leave out the leaks
# that the system's own libraries keep (tests/lsan.supp says which).
SANITIZER_ENV = {
    "ASAN_OPTIONS": "detect_leaks=1 halt_on_error=1",
    "LSAN_OPTIONS": "suppressions=" + os.path.join(ROOT, "tests", "lsan.supp")
                    + " print_suppressions=0",
    "UBSAN_OPTIONS": "halt_on_error=1 print_stacktrace=1",
    "TSAN_OPTIONS": "halt_on_error=1 second_deadlock_stack=1 suppressions="
                    + os.path.join(ROOT, "tests", "tsan.supp"),
}


class Xserver:
    """An Xvfb of our own on the first free display number."""

    def __enter__(self):
        read, write = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            self.name = ":" + f.readline().strip()
        self.env = dict(os.environ, DISPLAY=self.name, **SANITIZER_ENV)
        self.env.pop("SDL_VIDEODRIVER", None)
        return self

    def __exit__(self, *exc):
        self.proc.terminate()
        self.proc.wait(10)


def find_window(xserver, *criteria):
    """The window that xdotool finds by the criteria. A search can fail while another
    program's window is going away, so a failed one is repeated."""
    end = time.monotonic() + 30
    while True:
        found = subprocess.run(["xdotool", "search", "--sync", *criteria], env=xserver.env,
                               capture_output=True, text=True, timeout=30)
        if found.stdout.split():
            return int(found.stdout.split()[0])
        assert time.monotonic() < end, f"no window {criteria}: {found.stderr.strip()}"
        time.sleep(0.1)


class Game:
    """The program running on an X server, with its window found."""

    def __init__(self, xserver, cwd=DATA):
        self.xserver = xserver
        self.proc = subprocess.Popen([PROGRAM], cwd=cwd, env=xserver.env,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        try:  # this process's window: an earlier game's may outlive its process a while
            self.wid = find_window(xserver, "--pid", str(self.proc.pid), "--name", "^Zarvok$")
        except BaseException:
            self.proc.kill()
            self.proc.wait(10)
            raise
        self.dpy = display.Display(xserver.name)
        self.window = self.dpy.create_resource_object("window", self.wid)

    def geometry(self):
        g = self.window.get_geometry()
        return g.width, g.height

    def pixel(self, x, y):
        """The colour the window shows at (x, y) as (r, g, b)."""
        image = self.window.get_image(x, y, 1, 1, X.ZPixmap, 0xFFFFFFFF)
        b, g, r = image.data[0], image.data[1], image.data[2]
        return r, g, b

    def block(self, x, y, w, h):
        """What the window shows in a w x h block at (x, y), as a list of (r, g, b) rows."""
        image = self.window.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF)
        data = image.data
        return [[(data[4 * (r * w + c) + 2], data[4 * (r * w + c) + 1], data[4 * (r * w + c)])
                 for c in range(w)] for r in range(h)]

    def user_close(self):
        """What the close box does: a WM_DELETE_WINDOW message from the window manager."""
        protocols = self.dpy.intern_atom("WM_PROTOCOLS")
        delete = self.dpy.intern_atom("WM_DELETE_WINDOW")
        event = protocol.event.ClientMessage(window=self.window, client_type=protocols,
                                             data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        self.window.send_event(event, event_mask=X.NoEventMask)
        self.dpy.flush()

    def key(self, action, name):
        """A key event through the X server: action is key, keydown or keyup."""
        subprocess.run(["xdotool", action, "--window", str(self.wid), name],
                       env=self.xserver.env, check=True, timeout=10)

    def wait(self, seconds):
        try:
            return self.proc.wait(seconds)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait(10)
        self.dpy.close()


def until(condition, what, limit=30.0):
    """Waits for the condition to hold, however slowly the machine runs; fails only on a
    hang (limit seconds)."""
    end = time.monotonic() + limit
    while not condition():
        assert time.monotonic() < end, f"never: {what}"
        time.sleep(0.05)


def case_window_has_title_and_fixed_client_size(xserver):
    game = Game(xserver)
    try:
        assert game.geometry() == (1000, 800), game.geometry()
        hints = game.window.get_wm_normal_hints()
        assert (hints.min_width, hints.min_height) == (1000, 800), hints
        assert (hints.max_width, hints.max_height) == (1000, 800), hints
    finally:
        game.stop()


def tile(name):
    """The 20 x 20 picture of a tile file as rows of (r, g, b)."""
    with Image.open(os.path.join(DATA, "images", name)) as picture:
        rgb = picture.convert("RGB")
        return [[rgb.getpixel((c, r)) for c in range(20)] for r in range(20)]


def case_the_level_shows_its_tiles_in_their_colours(xserver):
    game = Game(xserver)
    try:
        until(lambda: game.block(0, 0, 20, 20) == tile("baksteen.bmp"), "brick at the top-left")
        assert game.block(500, 300, 20, 20) == tile("lucht.bmp"), "sky in the middle"
    finally:
        game.stop()


def sky_block(w, h):
    """A w x h block of sky tiles as the window shows it at a multiple of 20."""
    sky = tile("lucht.bmp")
    return [[sky[r % 20][c % 20] for c in range(w)] for r in range(h)]


def case_the_arrow_key_walks_the_player(xserver):
    game = Game(xserver)
    try:
        # he falls from his start onto the first ledge, at (100, 100)
        until(lambda: game.block(100, 100, 60, 60) != sky_block(60, 60), "the player at his start")
        game.key("keydown", "Right")
        until(lambda: game.block(100, 100, 60, 60) == sky_block(60, 60), "he has walked away")
        game.key("keyup", "Right")
    finally:
        game.stop()


def case_user_close_ends_the_program_at_once(xserver):
    game = Game(xserver)
    try:
        time.sleep(1.0)  # in play
        start = time.monotonic()
        game.user_close()
        code = game.wait(30)  # a hang guard, not a speed requirement
        took = time.monotonic() - start
        assert code == 0, f"exit status {code}: {game.proc.stderr.read() if code else ''}"
        print(f"        closed to exit: {took * 1000:.0f} ms")
    finally:
        game.stop()


def case_no_display_is_a_clear_error(xserver):
    env = dict(os.environ, **SANITIZER_ENV)
    env.pop("DISPLAY", None)
    env.pop("SDL_VIDEODRIVER", None)
    done = subprocess.run([PROGRAM], cwd=DATA, env=env, capture_output=True, text=True,
                          timeout=20)
    assert done.returncode == 1, done.returncode
    assert "display" in done.stderr, done.stderr


CASES = [case_window_has_title_and_fixed_client_size,
         case_the_level_shows_its_tiles_in_their_colours,
         case_the_arrow_key_walks_the_player,
         case_user_close_ends_the_program_at_once,
         case_no_display_is_a_clear_error]


def main(cases=None):
    passed = failed = 0
    with Xserver() as xserver:
        for case in cases or CASES:
            name = case.__name__[len("case_"):]
            try:
                case(xserver)
                print(f"ok      {name}")
                passed += 1
            except Exception as error:  # a failed case is reported, the others still run
                print(f"FAILED  {name}: {error!r}")
                failed += 1
    print(f"e2e: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
