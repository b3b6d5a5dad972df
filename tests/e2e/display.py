#!/usr/bin/python3
"""The real program's display in a real X window: --scale 2 on a screen large enough, and
fullscreen toggled by F11 under a window manager (fullscreen needs one); a --scale the
screen cannot hold is refused; F11 is remembered in the settings file for the next run.

Runs build/zarvok, or the program that ZARVOK_PROGRAM names, on its own Xvfb of
2200 x 1700; closes with a 'N passed, N failed' line.
"""
import os
import subprocess
import sys

import numpy
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
    game = Game(xserver, args=("--scale", "2"))
    try:
        assert game.geometry() == (2000, 1600), game.geometry()
        until(lambda: shows_start_at(game, 0, 0), "the start menu at scale 2")
        x, y = run.START
        game.click(2 * x + 1, 2 * y + 1)
        until(lambda: shows_level_one_at(game, 0, 0), "level 1 at scale 2")
    finally:
        game.stop()


def case_f11_toggles_fullscreen_and_back_and_the_game_goes_on(xserver):
    game = Game(xserver)
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


def case_a_scale_that_is_no_whole_number_or_does_not_fit_is_refused(xserver):
    for value, message in [("0", "--scale takes a whole number"),
                           ("x", "--scale takes a whole number"),
                           ("99", "--scale 99 does not fit the screen")]:
        done = subprocess.run([run.PROGRAM, "--scale", value], cwd=run.DATA,
                              env=run.with_config(xserver.env),
                              capture_output=True, text=True, timeout=60)
        assert done.returncode == 2, (value, done.returncode, done.stderr)
        assert done.stderr.startswith("Zarvok: " + message), (value, done.stderr)


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
            game.stop()
    assert "the settings file's scale 3 does not fit the screen" in game.proc.stderr.read()


def manages(xserver):
    """Whether a window manager has announced itself on the screen."""
    dpy = display.Display(xserver.name)
    try:
        root = dpy.screen().root
        return root.get_full_property(dpy.intern_atom("_NET_SUPPORTING_WM_CHECK"),
                                      X.AnyPropertyType) is not None
    finally:
        dpy.close()


def main():
    with run.Xserver("x".join(map(str, SCREEN))) as xserver:
        manager = subprocess.Popen(["openbox"], env=xserver.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        try:
            until(lambda: manages(xserver), "the window manager up")
            passed, failed = run.run_cases(xserver, [
                case_scale_two_doubles_each_pixel_and_a_click_reaches_the_game,
                case_f11_toggles_fullscreen_and_back_and_the_game_goes_on,
                case_a_scale_that_is_no_whole_number_or_does_not_fit_is_refused,
                case_f11_is_remembered_and_an_option_beats_the_file])
        finally:
            manager.terminate()
            manager.wait(10)
    print(f"display: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
