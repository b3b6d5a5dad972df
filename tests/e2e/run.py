#!/usr/bin/python3
"""End-to-end tests of the real program in a real X window.

Starts its own Xvfb, runs build/zarvok (or the program that ZARVOK_PROGRAM names, such as
a sanitizer build) from data/ as a player would, and from other folders, and installed
into a scratch prefix; drives it with xdotool and python3-xlib, and reads the window back.
Prints one line per case and a closing 'N passed, N failed' line; exits non-zero when a
case fails.
"""
import atexit
import os
import shutil
import subprocess
import sys
import tempfile
import time

import numpy
from PIL import Image
from Xlib import X, display, protocol

# Inside the buttons of the start menu and of the difficulty screen.
START, SETTINGS, QUIT = (100, 80), (100, 230), (100, 380)
DOWN, UP, BACK = (50, 300), (270, 300), (275, 550)

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

# Every run of the program gets an empty settings folder of its own, so that no run
# depends on what an earlier one remembered; they all go when the script ends.
CONFIGS = tempfile.mkdtemp(prefix="zarvok-e2e-config-")
atexit.register(shutil.rmtree, CONFIGS, ignore_errors=True)


def with_config(env, config=None):
    """The environment of one run of the program: env with XDG_CONFIG_HOME set to the
    folder config, or to a new empty one."""
    return dict(env, XDG_CONFIG_HOME=config or tempfile.mkdtemp(dir=CONFIGS))


class Xserver:
    """An Xvfb of our own on the first free display number, of the given screen size."""

    def __init__(self, screen="1280x1024"):
        self.screen = screen

    def command(self, displayfd):
        """The server's command line; it writes its display number to displayfd."""
        return ["Xvfb", "-displayfd", str(displayfd), "-screen", "0", self.screen + "x24",
                "-nolisten", "tcp"]

    def __enter__(self):
        read, write = os.pipe()
        self.proc = subprocess.Popen(self.command(write), pass_fds=[write],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            self.name = ":" + f.readline().strip()
        self.env = with_config(dict(os.environ, DISPLAY=self.name, **SANITIZER_ENV))
        self.env.pop("SDL_VIDEODRIVER", None)
        # A machine without a sound card: SDL's silent device stands in for one.
        self.env.setdefault("SDL_AUDIODRIVER", "dummy")
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
    """The program running on an X server, with its window found; its settings folder is
    config (XDG_CONFIG_HOME), a new empty one unless given."""

    def __init__(self, xserver, cwd=DATA, command=(), program=PROGRAM, args=(), title="Zarvok",
                 config=None):
        self.xserver = xserver
        env = with_config(xserver.env, config)
        self.config = env["XDG_CONFIG_HOME"]
        self.proc = subprocess.Popen([*command, program, *args], cwd=cwd, env=env,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        try:  # this process's window: an earlier game's may outlive its process a while
            self.wid = find_window(xserver, "--pid", str(self.proc.pid), "--name",
                                   f"^{title}$")
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
        return self.block(x, y, 1, 1)[0][0]

    def block(self, x, y, w, h):
        """What the window shows in a w x h block at (x, y), as a list of (r, g, b) rows."""
        return [[tuple(p) for p in row] for row in self.grab(x, y, w, h).tolist()]

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

    def grab(self, x, y, w, h):
        """What the window shows in a w x h block at (x, y), as an array of (r, g, b)."""
        image = self.window.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF)
        data = numpy.frombuffer(image.data, dtype=numpy.uint8).reshape(h, w, 4)
        return data[:, :, 2::-1]

    def shows(self, name, x, y):
        """Whether the window shows the picture file at (x, y)."""
        expected = picture(name)
        return numpy.array_equal(self.grab(x, y, expected.shape[1], expected.shape[0]), expected)

    def click(self, x, y):
        """A left click at a client position, as the player makes it."""
        subprocess.run(["xdotool", "mousemove", "--window", str(self.wid), str(x), str(y),
                        "click", "1"], env=self.xserver.env, check=True, timeout=10)

    def start(self):
        """Waits for the start menu and clicks start."""
        until(lambda: self.shows("start0.bmp", 50, 50), "the start menu")
        self.click(*START)

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


def picture(name):
    """A picture file of data/images as an array of (r, g, b) rows."""
    with Image.open(os.path.join(DATA, "images", name)) as image:
        return numpy.asarray(image.convert("RGB"))


def tile(name):
    """The 20 x 20 picture of a tile file as rows of (r, g, b)."""
    with Image.open(os.path.join(DATA, "images", name)) as picture:
        rgb = picture.convert("RGB")
        return [[rgb.getpixel((c, r)) for c in range(20)] for r in range(20)]


def level_picture(number):
    """The 1000 x 800 picture of a level's tiles, from its level file."""
    with open(os.path.join(DATA, f"level{number}.txt")) as f:
        codes = [int(c) for c in f.read().split()][:2000]
    tiles = [picture(n) for n in ("lucht.bmp", "baksteen.bmp", "grond.bmp")]
    rows = [numpy.hstack([tiles[codes[50 * r + c]] for c in range(50)]) for r in range(40)]
    return numpy.vstack(rows)


LEVEL1 = level_picture(1)


def shows_start_menu(game):
    """The three buttons of the start menu, none lit, where the layout puts them."""
    return all(game.shows(name, 50, y) for name, y in
               (("start0.bmp", 50), ("settings0.bmp", 200), ("quit0.bmp", 350)))


def shows_level_one(game):
    """Rows 10 to 35 of level 1 as its level file lays them out: no figure is there at the
    start and no text is written there."""
    top, bottom = 180, 700
    return numpy.array_equal(game.grab(0, top, 1000, bottom - top), LEVEL1[top:bottom])


def case_the_start_menu_leads_into_level_one_and_q_back(xserver):
    game = Game(xserver)
    try:
        until(lambda: shows_start_menu(game), "the start menu's buttons")
        subprocess.run(["xdotool", "mousemove", "--window", str(game.wid), *map(str, START)],
                       env=xserver.env, check=True, timeout=10)
        until(lambda: game.shows("start1.bmp", 50, 50), "start lights up")
        game.click(*START)
        until(lambda: shows_level_one(game), "level 1 shown")
        assert game.shows("baksteen.bmp", 0, 0), "brick at the top-left cell"
        game.key("keydown", "q")
        until(lambda: game.shows("settings0.bmp", 50, 200), "back in the menu")
        game.key("keyup", "q")
        game.click(*QUIT)
        code = game.wait(10)
        assert code == 0, f"quit: exit status {code}"
    finally:
        game.stop()


def case_the_keyboard_alone_plays_and_quits(xserver):
    subprocess.run(["xdotool", "mousemove", "1200", "1000"], env=xserver.env, check=True,
                   timeout=10)  # the pointer away from every button
    game = Game(xserver)
    try:
        until(lambda: shows_start_menu(game), "the start menu's buttons")
        game.key("key", "Down")  # no focus until the first key: Down shows it on start
        until(lambda: game.shows("start1.bmp", 50, 50), "the focus on start")
        game.key("key", "Return")
        until(lambda: shows_level_one(game), "level 1 shown")
        game.key("keydown", "q")
        until(lambda: shows_start_menu(game), "back in the menu")
        game.key("keyup", "q")
        game.key("key", "Up")  # no focus in a new menu: Up shows it on the last, quit
        until(lambda: game.shows("quit1.bmp", 50, 350), "the focus on quit")
        game.key("key", "Up")
        until(lambda: game.shows("settings1.bmp", 50, 200), "the focus on settings")
        game.key("key", "Down")
        until(lambda: game.shows("quit1.bmp", 50, 350), "the focus on quit")
        assert game.shows("settings0.bmp", 50, 200), "settings no longer lit"
        # The press alone: the program quits on it, and a release sent after would find
        # its window gone.
        game.key("keydown", "Return")
        code = game.wait(10)
        assert code == 0, f"quit: exit status {code}"
    finally:
        game.stop()


def field(level):
    """The difficulty field of a level as the screen shows it: the field's picture where
    its mask is light, the menu picture elsewhere."""
    mask = picture(("easy", "medium", "hard")[level] + "_mask.bmp").mean(axis=2) >= 128
    under = picture("Menu.bmp")[250:350, 75:245]
    light = picture("full_mask.bmp")[:, :170]  # one colour a row, so its width is free
    return numpy.where(mask[:, :, None], light, under)


def set_difficulty(game, ups):
    """Settings, up `ups` times, back: each click waits for what it shows."""
    until(lambda: shows_start_menu(game), "the start menu")
    game.click(*SETTINGS)
    for level in range(ups + 1):
        expected = field(level)
        until(lambda: numpy.array_equal(game.grab(75, 250, 170, 100), expected), f"field {level}")
        if level < ups:
            game.click(*UP)


def appearances(game, count, seconds=60.0):
    """The times at which figures come into either enemy spawn point, the first `count`."""
    spawns = [(80, 640), (40, 40)]
    occupied = {spawn: False for spawn in spawns}
    times = []
    end = time.monotonic() + seconds
    while len(times) < count and time.monotonic() < end:
        for x, y in spawns:
            now = not numpy.array_equal(game.grab(x, y, 60, 60), LEVEL1[y:y + 60, x:x + 60])
            if now and not occupied[(x, y)]:
                times.append(time.monotonic())
            occupied[(x, y)] = now
        time.sleep(0.01)
    return times


def case_hard_brings_the_second_enemy_25_frames_after_the_first(xserver):
    """The first enemy comes 50 frames into a level, the next one Delta frames later: 25 on
    hard, 75 on easy. An enemy that walks off the floor comes back at a spawn point, but
    not before 42 frames. The frame pace is taken from the first 50 frames."""
    game = Game(xserver)
    try:
        set_difficulty(game, 2)
        game.click(*BACK)
        until(lambda: shows_start_menu(game), "back in the start menu")
        game.click(*START)
        until(lambda: shows_level_one(game), "level 1 shown")
        begin = time.monotonic()
        first, second = appearances(game, 2)
        frame = (first - begin) / 50
        assert second - first < 35 * frame, \
            f"second enemy {(second - first) / frame:.0f} frames after the first"
    finally:
        game.stop()


def case_closing_the_difficulty_screen_ends_the_program(xserver):
    game = Game(xserver)
    try:
        set_difficulty(game, 1)
        game.user_close()
        code = game.wait(10)
        assert code == 0, f"exit status {code}"
        assert game.proc.stderr.read() == "", "nothing on the console"
    finally:
        game.stop()


def case_a_missing_level_file_is_found_when_start_is_clicked(xserver):
    with tempfile.TemporaryDirectory(prefix="zarvok-data-") as data:
        os.chmod(data, 0o755)
        shutil.copytree(os.path.join(DATA, "images"), os.path.join(data, "images"))
        game = Game(xserver, data)
        try:
            until(lambda: shows_start_menu(game), "the start menu")
            assert game.proc.poll() is None, "still running in the menu"
            game.click(*START)
            code = game.wait(10)
            assert code == 1, f"exit status {code}"
            assert "level1.txt: cannot be opened" in game.proc.stderr.read()
        finally:
            game.stop()


def sky_block(w, h):
    """A w x h block of sky tiles as the window shows it at a multiple of 20."""
    sky = tile("lucht.bmp")
    return [[sky[r % 20][c % 20] for c in range(w)] for r in range(h)]


def case_the_arrow_key_walks_the_player(xserver):
    game = Game(xserver)
    try:
        game.start()
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
        game.start()
        time.sleep(1.0)  # in play
        start = time.monotonic()
        game.user_close()
        code = game.wait(30)  # a hang guard, not a speed requirement
        took = time.monotonic() - start
        assert code == 0, f"exit status {code}: {game.proc.stderr.read() if code else ''}"
        print(f"        closed to exit: {took * 1000:.0f} ms")
    finally:
        game.stop()


def case_a_double_click_does_not_capture_the_mouse(xserver):
    """A held press dragged out of the window is followed there and its release reported;
    the second press of a double click is not captured: the position stays in the window
    and its release outside calls nothing."""
    import queue
    import threading
    probe_path = os.path.join(ROOT, "build", "tests", "e2e", "mouse_probe")
    env = dict(xserver.env, SDL_MOUSE_DOUBLE_CLICK_TIME="5000")  # however slow the machine
    probe = subprocess.Popen([probe_path], env=env, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True)
    lines = queue.Queue()
    threading.Thread(target=lambda: [lines.put(line.strip()) for line in probe.stdout],
                     daemon=True).start()

    def xdo(*args):
        subprocess.run(["xdotool", *args], env=xserver.env, check=True, timeout=10)

    def reported():
        """Every line the probe writes up to its position after all earlier events."""
        xdo("keydown", "--window", str(wid), "F1")
        got = []
        while not got or not got[-1].startswith("pos"):
            got.append(lines.get(timeout=30))
        xdo("keyup", "--window", str(wid), "F1")
        return got

    def drag_out(y, presses):
        """Presses at (100, y) and drags to (-50, y), outside the window, and releases."""
        xdo("mousemove", "--window", str(wid), "100", str(y), *presses)
        xdo("mousemove", str(left - 50), str(top + y), "mouseup", "1")

    dpy = display.Display(xserver.name)
    try:
        ready = lines.get(timeout=30)
        assert ready == "ready", ready
        wid = find_window(xserver, "--pid", str(probe.pid), "--name", "^Zarvok probe$")
        xdo("windowmove", str(wid), "300", "200")
        window = dpy.create_resource_object("window", wid)
        origin = dpy.screen().root.translate_coords(window, 0, 0)
        left, top = origin.x, origin.y
        assert (left, top) == (300, 200), (left, top)

        for y in (30, 70, 110, 150):  # SDL captures only once the window has the keyboard
            drag_out(y, ["mousedown", "1"])  # a plain press is captured
            got = reported()
            if got[-1] == f"pos 65486 {y}":
                break
        assert got == [f"up 65486 {y}", f"pos 65486 {y}"], got
        drag_out(250, ["click", "1", "mousedown", "1"])  # 200 pixels away: a fresh count
        got = reported()
        assert got[:-1] == ["up 100 250"], got  # the first click's release only
        x, y = map(int, got[-1].split()[1:])
        assert 0 <= x < 400 and y == 250, got
    finally:
        probe.kill()
        probe.wait(10)
        dpy.close()


def case_no_display_is_a_clear_error(xserver):
    done = subprocess.run([PROGRAM], cwd=DATA, env=without_display(), capture_output=True, text=True,
                          timeout=20)
    assert done.returncode == 1, done.returncode
    assert "display" in done.stderr, done.stderr


def without_display():
    env = with_config(dict(os.environ, **SANITIZER_ENV))
    env.pop("DISPLAY", None)
    env.pop("SDL_VIDEODRIVER", None)
    return env


def run_at_once(args, cwd, program=PROGRAM):
    """Runs the program with no display: what it answers before it would open a window."""
    return subprocess.run([program, *args], cwd=cwd, env=without_display(),
                          capture_output=True, text=True, timeout=20)


def case_the_command_line_answers_before_any_window(xserver):
    with tempfile.TemporaryDirectory() as empty:
        for args, code, out, err in [
                (["--help"], 0, "Usage: zarvok [--data DIR]", ""),
                (["--version"], 0, "Zarvok ", ""),
                (["--fly"], 2, "", "Zarvok: unknown argument --fly\nUsage: zarvok"),
                (["--data"], 2, "", "Zarvok: --data names no folder\nUsage: zarvok"),
                (["--data", empty], 1, "", f"Zarvok: {empty} holds none of the game's data"),
                (["--data", empty + "/x"], 1, "", f"Zarvok: {empty}/x: no such folder")]:
            done = run_at_once(args, empty)
            assert done.returncode == code, (args, done.returncode, done.stderr)
            assert done.stdout.startswith(out) and done.stderr.startswith(err), (args, done)
            assert "display" not in done.stderr, (args, "reached the window", done.stderr)


def case_started_from_any_folder_it_plays_the_source_trees_data(xserver):
    with tempfile.TemporaryDirectory() as elsewhere:
        for args in [(), ("--data", DATA)]:
            game = Game(xserver, cwd=elsewhere, args=args)
            try:
                until(lambda: shows_start_menu(game), f"the start menu {args}")
            finally:
                game.stop()


def case_a_copy_without_data_names_every_folder_it_looked_in(xserver):
    with tempfile.TemporaryDirectory() as root:
        os.mkdir(os.path.join(root, "bin"))
        copy = shutil.copy(PROGRAM, os.path.join(root, "bin"))
        done = run_at_once([], root, program=copy)
        assert done.returncode == 1, done.returncode
        line = f"in none of: {root}, {root}/share/zarvok; name its folder with --data DIR\n"
        assert done.stderr.endswith(line) and done.stderr.count("\n") == 1, done.stderr


def window_icon(game):
    """The window's icon as the window system holds it: width, height, ARGB pixels."""
    atom = game.dpy.intern_atom("_NET_WM_ICON")
    prop = game.window.get_full_property(atom, X.AnyPropertyType)
    return list(prop.value) if prop else []


def icon_pixels(path):
    with Image.open(path) as image:
        rgb = image.convert("RGB")
        return [image.width, image.height] + [
            0xFF000000 | r << 16 | g << 8 | b for r, g, b in rgb.getdata()]


def case_the_installed_program_starts_from_another_folder(xserver):
    with tempfile.TemporaryDirectory() as prefix, tempfile.TemporaryDirectory() as elsewhere:
        subprocess.run(["cmake", "--install", os.path.join(ROOT, "build"), "--prefix", prefix],
                       check=True, capture_output=True, timeout=60)
        share = os.path.join(prefix, "share")
        desktop = os.path.join(share, "applications", "zarvok.desktop")
        checked = subprocess.run(["desktop-file-validate", desktop], capture_output=True,
                                 text=True)
        assert checked.returncode == 0 and not checked.stdout, checked.stdout
        icon = icon_pixels(os.path.join(DATA, "images", "icoon.bmp"))
        png = os.path.join(share, "icons", "hicolor", "64x64", "apps", "zarvok.png")
        assert icon_pixels(png) == icon, "the desktop's icon is the window's"
        program = os.path.join(prefix, "bin", "zarvok")
        stripped = os.path.join(elsewhere, "stripped")  # as the Debian package holds it
        subprocess.run(["strip", "-o", stripped, program], check=True, timeout=60)
        with open(stripped, "rb") as f:
            assert ROOT.encode() not in f.read(), "the program holds the build machine's folders"
        os.remove(stripped)
        game = Game(xserver, cwd=elsewhere, program=program)
        try:
            assert window_icon(game) == icon, "the window shows the icon"
            game.start()
            until(lambda: shows_level_one(game), "level 1 from the installed data")
        finally:
            game.stop()


CASES = [case_window_has_title_and_fixed_client_size,
         case_the_start_menu_leads_into_level_one_and_q_back,
         case_the_keyboard_alone_plays_and_quits,
         case_hard_brings_the_second_enemy_25_frames_after_the_first,
         case_closing_the_difficulty_screen_ends_the_program,
         case_a_missing_level_file_is_found_when_start_is_clicked,
         case_the_arrow_key_walks_the_player,
         case_user_close_ends_the_program_at_once,
         case_a_double_click_does_not_capture_the_mouse,
         case_no_display_is_a_clear_error,
         case_the_command_line_answers_before_any_window,
         case_started_from_any_folder_it_plays_the_source_trees_data,
         case_a_copy_without_data_names_every_folder_it_looked_in,
         case_the_installed_program_starts_from_another_folder]


def run_cases(xserver, cases):
    """Runs the cases on the X server, one line each: (passed, failed)."""
    passed = failed = 0
    for case in cases:
        name = case.__name__[len("case_"):]
        try:
            case(xserver)
            print(f"ok      {name}")
            passed += 1
        except Exception as error:  # a failed case is reported, the others still run
            print(f"FAILED  {name}: {error!r}")
            failed += 1
    return passed, failed


def main(cases=None):
    with Xserver() as xserver:
        passed, failed = run_cases(xserver, cases or CASES)
    print(f"e2e: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
