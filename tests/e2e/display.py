#!/usr/bin/python3
"""The real program's display in a real X window under a window manager (fullscreen needs
one): --scale 2 on a screen large enough, and fullscreen at a whole scale toggled by F11; a
--scale the screen cannot hold is refused before any window is shown; F11 is remembered in
the settings file for the next run. On smaller screens the game is fitted: a 1366 x 768
screen shows the whole picture in a window within the screen, and a 1920 x 1080 screen in
fullscreen fills its height; the menu's buttons are found and clicked there. With two
monitors, every measure is taken on the one that holds the window.

Runs build/zarvok, or the program that ZARVOK_PROGRAM names, on Xvfbs of its own of
2200 x 1700, 1366 x 768 and 1920 x 1080, and on an Xorg of its own with two monitors (its
dummy video driver; as root); closes with a 'N passed, N failed' line.
"""
import os
import select
import subprocess
import sys
import tempfile

import numpy
from PIL import Image
from Xlib import X, display

import run
from run import Game, until

SCREEN = (2200, 1700)  # fullscreen shows the game at scale 2, 100 and 50 pixels from the edges


def scaled(array, factor):
    return numpy.repeat(numpy.repeat(array, factor, axis=0), factor, axis=1)


START0 = run.picture("start0.bmp")


def shows_start_at(game, left, top):
    """The start button at scale 2 with the picture's top-left corner at (left, top)."""
    h, w = START0.shape[:2]
    return numpy.array_equal(game.grab(left + 100, top + 100, 2 * w, 2 * h), scaled(START0, 2))


def shows_level_one_at(game, left, top):
    return numpy.array_equal(game.grab(left, top + 360, 2000, 1040), scaled(run.LEVEL1[180:700], 2))


def case_scale_two_doubles_each_pixel_and_a_click_reaches_the_game(xserver):
    """2 is the largest scale that fits, frame included: it is accepted."""
    game = Game(xserver, args=("--scale", "2"))
    try:
        assert game.geometry() == (2000, 1600), game.geometry()
        until(lambda: shows_start_at(game, 0, 0), "the start menu at scale 2")
        x, y = run.START
        game.click(2 * x + 1, 2 * y + 1)
        until(lambda: shows_level_one_at(game, 0, 0), "level 1 at scale 2")
    finally:
        game.stop()


def case_f11_toggles_fullscreen_at_a_whole_scale_and_back_and_the_game_goes_on(xserver):
    game = Game(xserver, args=("--scale", "1"))
    try:
        until(lambda: run.shows_start_menu(game), "the start menu")
        subprocess.run(["xdotool", "mousemove", "5", "5"], env=xserver.env, check=True,
                       timeout=10)  # over no button once the window fills the screen
        game.key("key", "F11")
        until(lambda: game.geometry() == SCREEN, "the window fills the screen")
        left, top = (SCREEN[0] - 2000) // 2, (SCREEN[1] - 1600) // 2
        until(lambda: shows_start_at(game, left, top), "the menu centred at scale 2")
        assert game.pixel(left - 1, top - 1) == (0, 0, 0), "black bars"
        # A release over a bar is no click: the menu stays.
        game.click(left // 2, top + 2 * run.START[1])
        x, y = run.START
        game.click(left + 2 * x + 1, top + 2 * y + 1)
        until(lambda: shows_level_one_at(game, left, top), "level 1, fullscreen")
        game.key("key", "F11")
        until(lambda: game.geometry() == (1000, 800), "the window at its own size")
        until(lambda: run.shows_level_one(game), "level 1 in the window")
        assert game.proc.poll() is None, "the game goes on"
    finally:
        game.stop()


def windows_mapped_during(xserver, action):
    """The windows that the X server mapped on its screen while `action` ran."""
    dpy = display.Display(xserver.name)
    try:
        dpy.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
        dpy.sync()
        action()
        dpy.sync()
        mapped = []
        while dpy.pending_events():
            event = dpy.next_event()
            if event.type == X.MapNotify:
                mapped.append(event.window.id)
        return mapped
    finally:
        dpy.close()


def case_a_scale_that_is_no_whole_number_or_does_not_fit_is_refused(xserver):
    for value, message in [("0", "--scale takes a whole number"),
                           ("x", "--scale takes a whole number"),
                           ("99", "--scale 99 does not fit the screen")]:
        done = []
        shown = windows_mapped_during(xserver, lambda: done.append(subprocess.run(
            [run.PROGRAM, "--scale", value], cwd=run.DATA, env=run.with_config(xserver.env),
            capture_output=True, text=True, timeout=60)))
        assert done[0].returncode == 2, (value, done[0].returncode, done[0].stderr)
        assert done[0].stderr.startswith("Zarvok: " + message), (value, done[0].stderr)
        assert not shown, (value, "a window was shown", shown)


def text_of(path):
    try:
        with open(path) as f:
            return f.read()
    except FileNotFoundError:
        return ""


def case_f11_is_remembered_and_an_option_beats_the_file(xserver):
    """F11 writes fullscreen to the settings file and the next run starts fullscreen;
    scale = 2 in the file opens 2000 x 1600, and --scale 1 beats it for its run; scale = 3
    does not fit: the largest that does, and a line that says so."""
    game = Game(xserver)
    settings = os.path.join(game.config, "zarvok", "settings")
    try:
        until(lambda: run.shows_start_menu(game), "the start menu")
        game.key("key", "F11")
        until(lambda: "\nfullscreen = yes\n" in text_of(settings), "fullscreen remembered")
    finally:
        game.stop()
    for text, args, size in [(None, (), SCREEN), ("scale = 2\n", (), (2000, 1600)),
                             ("scale = 2\n", ("--scale", "1"), (1000, 800)),
                             ("scale = 3\n", (), (2000, 1600))]:
        if text:
            with open(settings, "w") as f:
                f.write(text)
        game = Game(xserver, args=args, config=game.config)
        try:
            until(lambda: game.geometry() == size, f"{size} with {text!r} and {args}")
        finally:
            said = first_line(game) if text == "scale = 3\n" else ""
            game.stop()
    assert "the settings file's scale 3 does not fit the screen" in said, said


def first_line(game):
    """The first line the game writes on standard error, once it is there (or after 30 s)."""
    ready, _, _ = select.select([game.proc.stderr], [], [], 30)
    return game.proc.stderr.readline() if ready else ""


def manages(xserver):
    """Whether a window manager has announced itself on the screen."""
    dpy = display.Display(xserver.name)
    try:
        root = dpy.screen().root
        return root.get_full_property(dpy.intern_atom("_NET_SUPPORTING_WM_CHECK"),
                                      X.AnyPropertyType) is not None
    finally:
        dpy.close()


def frame_extents(game):
    """The window manager's frame around the window: left, right, top, bottom."""
    prop = game.window.get_full_property(game.dpy.intern_atom("_NET_FRAME_EXTENTS"),
                                         X.AnyPropertyType)
    return list(prop.value) if prop else [0, 0, 0, 0]


def scaled_back(game, left, top, width, height):
    """The picture the window shows at (left, top), width x height, brought back to the
    game's 1000 x 800."""
    grabbed = Image.fromarray(numpy.ascontiguousarray(game.grab(left, top, width, height)))
    return numpy.asarray(grabbed.resize((1000, 800), Image.BILINEAR)).astype(int)


def near(shown, expected):
    """Whether a picture brought back from another size matches the original: its mean
    difference stays within what the two blends leave."""
    return numpy.abs(shown - expected.astype(int)).mean() < 12


def finds_start_menu(picture):
    def found(name, y):
        button = run.picture(name)
        return near(picture[y:y + button.shape[0], 50:50 + button.shape[1]], button)
    return all(found(name, y) for name, y in
               (("start0.bmp", 50), ("settings0.bmp", 200), ("quit0.bmp", 350)))


def finds_level_one(picture):
    return near(picture[180:700], run.LEVEL1[180:700])


def plays_fitted(game, left, top, width, height):
    """The start menu found in the fitted picture, start clicked there, level 1 shown."""
    until(lambda: finds_start_menu(scaled_back(game, left, top, width, height)),
          "the start menu's buttons, brought back to 1000 x 800")
    assert not finds_level_one(scaled_back(game, left, top, width, height)), "no level yet"
    x, y = run.START
    game.click(left + x * width // 1000, top + y * height // 800)
    until(lambda: finds_level_one(scaled_back(game, left, top, width, height)),
          "level 1 after a click on start")


def origin(game):
    """Where the window's top-left pixel is on the X screen."""
    place = game.dpy.screen().root.translate_coords(game.window, 0, 0)
    return place.x, place.y


def frame_within(game, x, y, width, height):
    """Whether the window, frame and all, lies within that part of the X screen."""
    w, h = game.geometry()
    left, right, top, bottom = frame_extents(game)
    at_x, at_y = origin(game)
    return (at_x - left >= x and at_y - top >= y and at_x + w + right <= x + width and
            at_y + h + bottom <= y + height)


def fitted_within(game, x, y, width, height):
    """The window in the game's shape, nearly as high as that part of the screen, frame
    and all within it."""
    w, h = game.geometry()
    return w * 4 == h * 5 and height - 70 <= h and frame_within(game, x, y, width, height)


def case_a_small_screen_shows_the_whole_game_in_a_window_within_it(xserver):
    """1366 x 768 under a title bar: the window is as large as the screen allows, keeps the
    game's shape, lies with its frame on the screen, and its buttons work."""
    game = Game(xserver)
    try:
        until(lambda: fitted_within(game, 0, 0, 1366, 768),
              "the window in the game's shape, its frame on the screen")
        width, height = game.geometry()
        assert "does not fit the screen" in first_line(game)
        plays_fitted(game, 0, 0, width, height)
    finally:
        game.stop()


def case_fullscreen_fills_the_height_of_a_wide_screen(xserver):
    """1920 x 1080 in fullscreen: the game 1350 x 1080, centred between black bars."""
    game = Game(xserver, args=("--fullscreen",))
    try:
        until(lambda: game.geometry() == (1920, 1080), "the window fills the screen")
        left = (1920 - 1350) // 2

        def bars_black():
            return not game.grab(0, 0, left, 1080).any() and \
                not game.grab(left + 1350, 0, left, 1080).any()
        until(lambda: bars_black() and finds_start_menu(scaled_back(game, left, 0, 1350, 1080)),
              "the menu between black bars")
        plays_fitted(game, left, 0, 1350, 1080)
    finally:
        game.stop()


# Two monitors side by side on one X screen: the small one on the left is the primary, so
# the window opens there (SDL's display 0); the large one is SDL's display 1.
SMALL, LARGE = (1366, 768), (2200, 1700)


def case_every_measure_is_taken_on_the_monitor_that_holds_the_window(xserver):
    """--scale auto: fitted on the small monitor, where scale 1 does not fit; moved onto the
    large one, F11 fills that one at scale 2, and F11 again leaves the window at scale 2
    there, frame and all within it."""
    subprocess.run(["xdotool", "mousemove", "5", "5"], env=xserver.env, check=True,
                   timeout=10)  # over no button once the window has moved
    game = Game(xserver, args=("--scale", "auto"))
    try:
        until(lambda: fitted_within(game, 0, 0, *SMALL), "fitted on the small monitor")
        assert "scale 1 does not fit the screen" in first_line(game)
        subprocess.run(["xdotool", "windowmove", str(game.wid), str(SMALL[0] + 100), "100"],
                       env=xserver.env, check=True, timeout=10)
        until(lambda: frame_within(game, SMALL[0], 0, *LARGE), "moved onto the large monitor")
        game.key("key", "F11")
        until(lambda: game.geometry() == LARGE and origin(game) == (SMALL[0], 0),
              "the large monitor filled")
        until(lambda: shows_start_at(game, 100, 50), "the menu centred at scale 2")
        assert game.pixel(99, 49) == (0, 0, 0), "black bars"
        game.key("key", "F11")
        until(lambda: game.geometry() == (2000, 1600) and
              frame_within(game, SMALL[0], 0, *LARGE), "a window at scale 2 on the large monitor")
        until(lambda: shows_start_at(game, 0, 0), "the menu at scale 2 in the window")
    finally:
        game.stop()


XORG_CONF = """\
Section "ServerFlags"
    Option "AutoAddDevices" "false"
EndSection
Section "Device"
    Identifier "card"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Screen"
    Identifier "screen"
    Device "card"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual {width} {height}
    EndSubSection
EndSection
"""


class TwoMonitors(run.Xserver):
    """An X server with the two monitors, XRandR outputs that SDL counts as two displays:
    Xorg with its dummy video driver (an Xvfb has one output whatever its screens). Xorg
    takes a configuration and a log file of our own from root only; it shares the console
    it was started from instead of taking one of its own."""

    def __init__(self):
        super().__init__(f"{SMALL[0] + LARGE[0]}x{LARGE[1]}")
        self.folder = tempfile.mkdtemp(dir=run.CONFIGS)

    def command(self, displayfd):
        config = os.path.join(self.folder, "xorg.conf")
        with open(config, "w") as f:
            f.write(XORG_CONF.format(width=SMALL[0] + LARGE[0], height=LARGE[1]))
        return ["Xorg", "-displayfd", str(displayfd), "-config", config, "-logfile",
                os.path.join(self.folder, "xorg.log"), "-noreset", "-nolisten", "tcp",
                "-sharevts", "-novtswitch"]

    def __enter__(self):
        super().__enter__()
        try:
            assert self.name != ":", ("Xorg with the dummy video driver did not start (it needs "
                                      "root and xserver-xorg-video-dummy): " + self.errors())
            self.lay_out()
        except BaseException:
            self.__exit__()
            raise
        return self

    def errors(self):
        """The last errors in Xorg's log."""
        with open(os.path.join(self.folder, "xorg.log"), errors="replace") as log:
            said = [line.split("(EE)", 1)[1].strip() for line in log if "] (EE)" in line]
        return "; ".join([line for line in said if line][-3:])

    def xrandr(self, *args):
        subprocess.run(["xrandr", *args], env=self.env, check=True, timeout=30,
                       stdout=subprocess.DEVNULL)

    def lay_out(self):
        """Each output a mode of its monitor's size, the two side by side."""
        for output, (width, height) in (("DUMMY0", SMALL), ("DUMMY1", LARGE)):
            mode = f"{width}x{height}"  # the timings matter to no one
            self.xrandr("--newmode", mode, "100", *map(str, (width, width + 8, width + 16,
                        width + 24, height, height + 1, height + 2, height + 3)))
            self.xrandr("--addmode", output, mode)
        self.xrandr("--fb", self.screen, "--output", "DUMMY0", "--mode", "%dx%d" % SMALL,
                    "--pos", "0x0", "--primary", "--output", "DUMMY1", "--mode", "%dx%d" % LARGE,
                    "--pos", f"{SMALL[0]}x0")
        # The server counts the second output as connected from the next query that probes
        # the outputs on: SDL's own query does not.
        self.xrandr("--query")


def start_window_manager(xserver, tries=3):
    """Starts openbox and waits until it manages the screen. One that exits first is
    started again; the last one's error output is in the failure."""
    for _ in range(tries):
        errors = tempfile.TemporaryFile("w+")
        manager = subprocess.Popen(["openbox"], env=xserver.env, stdout=subprocess.DEVNULL,
                                   stderr=errors)
        until(lambda: manages(xserver) or manager.poll() is not None, "the window manager up")
        if manager.poll() is None:
            return manager
        errors.seek(0)
    raise AssertionError(f"openbox exits at start ({manager.returncode}): {errors.read()!r}")


def with_window_manager(server, cases):
    """Runs the cases on the X server with openbox managing it: (passed, failed)."""
    with server as xserver:
        manager = start_window_manager(xserver)
        try:
            return run.run_cases(xserver, cases)
        finally:
            manager.terminate()
            manager.wait(10)


def main():
    passed = failed = 0
    for server, cases in [
            (run.Xserver("x".join(map(str, SCREEN))), [
                case_scale_two_doubles_each_pixel_and_a_click_reaches_the_game,
                case_f11_toggles_fullscreen_at_a_whole_scale_and_back_and_the_game_goes_on,
                case_a_scale_that_is_no_whole_number_or_does_not_fit_is_refused,
                case_f11_is_remembered_and_an_option_beats_the_file]),
            (run.Xserver("1366x768"),
             [case_a_small_screen_shows_the_whole_game_in_a_window_within_it]),
            (run.Xserver("1920x1080"), [case_fullscreen_fills_the_height_of_a_wide_screen]),
            (TwoMonitors(), [case_every_measure_is_taken_on_the_monitor_that_holds_the_window])]:
        try:
            done = with_window_manager(server, cases)
        except Exception as error:  # no server: its cases fail, the others still run
            print(f"FAILED  {len(cases)} cases on {server.screen}: {error!r}")
            done = (0, len(cases))
        passed, failed = passed + done[0], failed + done[1]
    print(f"display: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
