#!/usr/bin/python3
"""The real program in a real X window against hostile input: floods of keys and exposes,
the pointer outside the window, a minimise, level files that are no level files, and menu
images that are missing or broken.

Runs build/zarvok, or the program that ZARVOK_PROGRAM names (CTest gives the
AddressSanitizer build's), on its own Xvfb; closes with a 'N passed, N failed' line.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

from Xlib import X, XK, protocol
from Xlib.ext import xtest

import run
from run import Game, until

OFF_WINDOW = (1200, 950)  # a point of the 1280 x 1024 screen outside the 1000 x 800 window


def shows_level(game):
    """The shipped level 1: brick at the top-left cell and sky in the middle."""
    return (game.block(0, 0, 20, 20) == run.tile("baksteen.bmp")
            and game.block(500, 300, 20, 20) == run.tile("lucht.bmp"))


def ends_cleanly(game):
    """Closes the window as the close box does; the program ends with status 0 and writes
    no sanitizer report. What it wrote on the console."""
    assert game.proc.poll() is None, f"the program ended by itself: {game.proc.returncode}"
    game.user_close()
    code = game.wait(30)
    errors = game.proc.stderr.read() if code is not None else ""
    assert code == 0, f"exit status {code}: {errors[-2000:]}"
    assert "ERROR:" not in errors and "runtime error" not in errors, errors[-2000:]
    return errors


def goes_on_and_closes(game):
    until(lambda: shows_level(game), "the level is still shown")
    ends_cleanly(game)


def playing(xserver, cwd=run.DATA):
    game = Game(xserver, cwd)
    try:
        game.start()
        until(lambda: shows_level(game), "the level shown")
    except AssertionError:
        game.stop()
        raise
    return game


def keycode(game, name):
    return game.dpy.keysym_to_keycode(XK.string_to_keysym(name))


def case_thousands_of_keys_in_one_frame(xserver):
    game = playing(xserver)
    try:
        names = ["Left", "Right", "Up", "Control_L", "a", "space", "F1", "Escape", "Shift_L"]
        codes = [keycode(game, n) for n in names]
        root = game.dpy.screen().root
        for i in range(6000):  # 12000 events sent before the next frame
            for kind in (protocol.event.KeyPress, protocol.event.KeyRelease):
                event = kind(time=X.CurrentTime, root=root, window=game.window,
                             same_screen=1, child=X.NONE, root_x=0, root_y=0, event_x=0,
                             event_y=0, state=0, detail=codes[i % len(codes)])
                game.window.send_event(event, propagate=True)
        game.dpy.sync()
        game.key("key", "Right")  # it still takes keys
        goes_on_and_closes(game)
    finally:
        game.stop()


def case_clicks_and_drags_outside_the_window(xserver):
    game = playing(xserver)
    dpy = game.dpy
    try:
        def move(x, y):
            xtest.fake_input(dpy, X.MotionNotify, x=x, y=y)

        def button(down):
            xtest.fake_input(dpy, X.ButtonPress if down else X.ButtonRelease, 1)

        for x, y in (OFF_WINDOW, (1279, 1023), (0, 1023)):  # clicks and a double click
            move(x, y)
            for _ in range(2):
                button(True)
                button(False)
        move(500, 400)  # a drag out of the window, released far outside
        button(True)
        for step in range(40):
            move(500 + 20 * step, 400 + 16 * step)
        button(False)
        move(*OFF_WINDOW)  # and one from outside in
        button(True)
        move(300, 300)
        button(False)
        dpy.sync()
        goes_on_and_closes(game)
    finally:
        game.stop()


def case_minimise_restore_and_an_expose_storm(xserver):
    game = playing(xserver)
    try:
        game.window.unmap()  # what minimising does to the window
        game.dpy.sync()
        time.sleep(0.5)
        game.window.map()
        game.dpy.sync()
        until(lambda: shows_level(game), "repainted after the restore")
        for _ in range(20000):
            game.window.send_event(
                protocol.event.Expose(window=game.window, x=0, y=0, width=1000, height=800,
                                      count=0), event_mask=X.ExposureMask)
        game.dpy.sync()
        goes_on_and_closes(game)
    finally:
        game.stop()


class DataCopy:
    """A copy of data/ in a scratch directory that everyone may read."""

    def __enter__(self):
        self.dir = tempfile.mkdtemp(prefix="zarvok-data-")
        os.chmod(self.dir, 0o755)
        shutil.copytree(os.path.join(run.DATA, "images"), os.path.join(self.dir, "images"))
        for name in ("level1.txt", "level2.txt"):
            shutil.copy(os.path.join(run.DATA, name), self.dir)
        self.level1 = os.path.join(self.dir, "level1.txt")
        return self

    def __exit__(self, *exc):
        shutil.rmtree(self.dir)


def refused(xserver, cwd, message, command=()):
    """The program, run in cwd, ends with status 1 and the message on the console once
    start is clicked."""
    game = Game(xserver, cwd, list(command))
    try:
        game.start()
        code = game.wait(60)
        errors = game.proc.stderr.read() if code is not None else ""
        assert code == 1, f"exit status {code}: {errors[-2000:]}"
        assert message in errors, errors[-2000:]
    finally:
        game.stop()


def case_a_level_file_that_is_a_directory_a_device_or_unreadable(xserver):
    with DataCopy() as data:
        os.remove(data.level1)
        os.mkdir(data.level1)
        refused(xserver, data.dir, "level1.txt: cannot be opened: it is a directory")
        os.rmdir(data.level1)
        os.symlink("/dev/zero", data.level1)
        refused(xserver, data.dir, "level1.txt: cannot be opened: it is not a plain file")
        os.remove(data.level1)
        shutil.copy(os.path.join(run.DATA, "level1.txt"), data.level1)
        os.chmod(data.level1, 0)
        # The superuser reads any file: the program then runs as nobody.
        as_user = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]
        refused(xserver, data.dir, "level1.txt: cannot be opened: Permission denied",
                as_user if os.getuid() == 0 else [])


def case_a_level_file_with_crlf_line_ends_or_larger_than_any_level(xserver):
    with DataCopy() as data:
        with open(os.path.join(run.DATA, "level1.txt"), "rb") as f:
            text = f.read().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
        with open(data.level1, "wb") as f:
            f.write(text)
        game = playing(xserver, data.dir)
        try:
            ends_cleanly(game)
        finally:
            game.stop()
        os.truncate(data.level1, 40_000_000_000)  # sparse: 40 GB of zero bytes past the codes
        refused(xserver, data.dir, "level1.txt: cannot be used: it holds 40000000000 bytes")


def case_menu_images_missing_or_corrupt(xserver):
    with DataCopy() as data:
        images = os.path.join(data.dir, "images")
        os.remove(os.path.join(images, "Menu.bmp"))  # missing
        os.truncate(os.path.join(images, "start0.bmp"), 60)  # cut off after its header
        with open(os.path.join(images, "settings0.bmp"), "wb") as f:
            f.write(b"BM" + bytes(range(256)) * 40)  # garbage behind a BMP signature
        os.remove(os.path.join(images, "back1.bmp"))
        os.mkdir(os.path.join(images, "back1.bmp"))  # a directory
        game = Game(xserver, data.dir)
        try:
            # The buttons take clicks where their pictures would be: settings, up, back,
            # then start. Where the menu picture is missing the window stays black.
            until(lambda: game.shows("quit0.bmp", 50, 350), "the quit button")
            assert game.pixel(700, 700) == (0, 0, 0), "no menu picture"
            for point in (run.SETTINGS, run.UP, run.BACK):
                game.click(*point)
            game.click(*run.START)
            until(lambda: shows_level(game), "level 1 after start")
            errors = ends_cleanly(game)
            for line in ("images/Menu.bmp: cannot be loaded: missing",
                         "images/start0.bmp: cannot be loaded: cut off",
                         "images/back1.bmp: cannot be loaded: it is a folder"):
                assert errors.count(line) == 1, errors[-2000:]
        finally:
            game.stop()


CASES = [case_thousands_of_keys_in_one_frame,
         case_clicks_and_drags_outside_the_window,
         case_minimise_restore_and_an_expose_storm,
         case_a_level_file_that_is_a_directory_a_device_or_unreadable,
         case_a_level_file_with_crlf_line_ends_or_larger_than_any_level,
         case_menu_images_missing_or_corrupt]

if __name__ == "__main__":
    sys.exit(run.main(CASES))
