#!/usr/bin/python3
"""The browser version in a real browser.

Serves build-web/site (scripts/web builds it, or the folder ZARVOK_SITE names) on
127.0.0.1 and drives headless Chromium through Selenium, as a player would: keys on the
page, the picture read back from the canvas, the page's console and its text. All cases
share one browser. Prints one line per case, the measured load time, and a closing
'N passed, N failed' line; exits non-zero when a case fails.
"""
import base64
import functools
import http.server
import io
import os
import shutil
import sys
import tempfile
import threading
import time

import numpy
from PIL import Image
from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import run as e2e  # noqa: E402  the picture helpers of the end-to-end tests

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SITE = os.environ.get("ZARVOK_SITE", os.path.join(ROOT, "build-web", "site"))
DATA = os.path.join(ROOT, "data")
# The line the desktop program writes for a data folder without level1.txt (run.py).
DESKTOP_LINE = "Zarvok: level1.txt: cannot be opened: No such file or directory"
SETTINGS = "/home/web_user/.config/zarvok/settings"


LEVEL1 = e2e.level_picture(1)


# The end-to-end tests' wait, with a longer limit for a hang: a page loads its whole data.
until = functools.partial(e2e.until, limit=60.0)


class Site:
    """The site folder served on a free port of 127.0.0.1 from a thread of our own."""

    def __enter__(self):
        handler = functools.partial(Quiet, directory=SITE)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}/"
        return self

    def __exit__(self, *exc):
        self.server.shutdown()


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Browser:
    """Headless Chromium with a profile of its own (so its storage starts empty)."""

    def __enter__(self):
        self.profile = tempfile.mkdtemp(prefix="zarvok-web-profile-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ("--headless=new", "--no-sandbox", "--disable-gpu",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--no-first-run", "--window-size=1100,1000",
                     f"--user-data-dir={self.profile}"):
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        service = Service(executable_path="/usr/bin/chromedriver")
        self.driver = webdriver.Chrome(options=options, service=service)
        return self

    def __exit__(self, *exc):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)


class Page:
    """One visit of a program's page."""

    def __init__(self, browser, url, before_main=None):
        self.driver = browser.driver
        self.driver.get_log("browser")  # what an earlier visit said is not this one's
        script = self.run_before_main(before_main) if before_main else None
        self.driver.get(url)
        if script:  # this visit's alone: later pages start as they are
            self.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", script)

    def run_before_main(self, script):
        """Has the next page run a script once its files are in place, before main; returns
        what takes the script back."""
        return self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": f"""
            Object.defineProperty(window, "Module", {{
              configurable: true,
              get() {{ return this.zarvokModule; }},
              set(module) {{
                if (module === this.zarvokModule) return;  // the script takes the page's
                const ready = module.onRuntimeInitialized;
                module.onRuntimeInitialized = () => {{ {script}; ready(); }};
                this.zarvokModule = module;
              }},
            }});"""})

    def grab(self, x, y, w, h):
        """What the canvas shows in a w x h block at (x, y), as an array of (r, g, b)."""
        url = self.driver.execute_script(
            "const c = document.getElementById('canvas');"
            "const b = document.createElement('canvas'); b.width = arguments[2];"
            "b.height = arguments[3];"
            "b.getContext('2d').drawImage(c, -arguments[0], -arguments[1]);"
            "return b.toDataURL('image/png');", x, y, w, h)
        png = base64.b64decode(url.split(",", 1)[1])
        with Image.open(io.BytesIO(png)) as image:
            return numpy.asarray(image.convert("RGB"))

    def shows(self, name, x, y):
        expected = e2e.picture(name)
        return numpy.array_equal(self.grab(x, y, expected.shape[1], expected.shape[0]), expected)

    def shows_start_menu(self):
        return all(self.shows(name, 50, y) for name, y in
                   (("start0.bmp", 50), ("settings0.bmp", 200), ("quit0.bmp", 350)))

    def shows_level_one(self):
        top, bottom = 180, 700
        return numpy.array_equal(self.grab(0, top, 1000, bottom - top), LEVEL1[top:bottom])

    def keys(self, *keys):
        """Presses and releases each key in turn."""
        for key in keys:
            ActionChains(self.driver).key_down(key).pause(0.05).key_up(key).perform()

    def start(self):
        """Chooses start with the keys: a new menu has no focus until the first key."""
        self.keys(Keys.ARROW_DOWN)
        until(lambda: self.shows("start1.bmp", 50, 50), "the focus on start")
        self.keys(Keys.ENTER)

    def click(self, x, y):
        """Clicks the canvas at (x, y) in the program's pixels, wherever the page has scaled
        it to."""
        canvas = self.driver.find_element(By.ID, "canvas")
        width, height, shown = self.driver.execute_script(
            "const c = arguments[0]; return [c.width, c.height, c.getBoundingClientRect().width];",
            canvas)
        scale = shown / width
        # Selenium's offsets count from the element's middle
        ActionChains(self.driver).move_to_element_with_offset(
            canvas, int((x - width / 2) * scale), int((y - height / 2) * scale)).click().perform()
        return scale

    def hold(self, key, down):
        chain = ActionChains(self.driver)
        (chain.key_down if down else chain.key_up)(key).perform()

    def ended_text(self):
        """The page's message once the program has ended; None while it runs."""
        ended = self.driver.find_element(By.ID, "ended")
        return ended.text if ended.is_displayed() else None

    def sound(self):
        """The state of the program's sound in the browser: None before its device opens."""
        return self.driver.execute_script(
            "const c = Module.SDL2 && Module.SDL2.audioContext; return c ? c.state : null;")

    def console(self):
        return [entry["message"] for entry in self.driver.get_log("browser")]

    def file(self, path):
        """A file of the program's file system as text; None when it is not there."""
        return self.driver.execute_script(
            "try { return FS.readFile(arguments[0], {encoding: 'utf8'}); }"
            "catch (e) { return null; }", path)


def case_the_start_menu_leads_into_level_one_where_the_arrows_walk_and_q_returns(browser, site):
    page = Page(browser, site.url + "zarvok/")
    until(page.shows_start_menu, "the start menu's buttons")
    # on the page's clock, from the navigation's start (the driver's own start-up left out)
    loaded = browser.driver.execute_script("return performance.now()") / 1000
    print(f"  page load to start menu: {loaded:.2f} s")
    page.start()
    until(page.shows_level_one, "level 1 shown")
    until(lambda: page.sound() == "running", "the sound on after the first keys")
    sky = numpy.tile(e2e.picture("lucht.bmp"), (3, 3, 1))
    # he falls from his start onto the first ledge, at (100, 100)
    until(lambda: not numpy.array_equal(page.grab(100, 100, 60, 60), sky), "the player at his start")
    page.hold(Keys.ARROW_RIGHT, True)
    until(lambda: numpy.array_equal(page.grab(100, 100, 60, 60), sky), "he has walked away")
    page.hold(Keys.ARROW_RIGHT, False)
    page.hold("q", True)
    until(page.shows_start_menu, "back in the menu")
    page.hold("q", False)
    assert page.ended_text() is None, "the program still runs in the menu"


def case_a_click_on_start_in_the_scaled_canvas_starts_level_one(browser, site):
    page = Page(browser, site.url + "zarvok/")
    until(page.shows_start_menu, "the start menu's buttons")
    size = browser.driver.get_window_size()
    browser.driver.set_window_size(800, 700)  # the page shows the canvas at about 2/3
    try:
        start = e2e.picture("start0.bmp")
        # near its far corner: a click read in the page's pixels would miss the button
        scale = page.click(50 + start.shape[1] - 8, 50 + start.shape[0] - 8)
        assert scale < 0.8, f"the canvas shown at {scale} of its size"
        until(page.shows_level_one, "level 1 shown after the click")
    finally:
        browser.driver.set_window_size(size["width"], size["height"])


# A pad in the standard layout, as the browser's gamepad API gives it; the page's script
# presses its buttons (12 to 15 the D-pad, 0 the south button).
FAKE_PAD = """
window.fakePad = {id: "Test pad", index: 0, connected: true, mapping: "standard",
  timestamp: 1, axes: [0, 0, 0, 0],
  buttons: Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0}))};
navigator.getGamepads = () => [window.fakePad, null, null, null];
"""


def set_pad_button(page, button, down):
    page.driver.execute_script(
        "const pad = window.fakePad; pad.timestamp++;"
        "pad.buttons[arguments[0]] = {pressed: arguments[1], touched: arguments[1],"
        " value: arguments[1] ? 1 : 0};", button, down)


def press_pad_until(page, button, condition, what):
    """Holds a button of the pad until the program shows it has seen it."""
    set_pad_button(page, button, True)
    until(condition, what)
    set_pad_button(page, button, False)


def case_a_pad_in_the_browser_walks_the_menu_and_starts_level_one(browser, site):
    page = Page(browser, site.url + "zarvok/", before_main=FAKE_PAD)
    until(page.shows_start_menu, "the start menu's buttons")
    # D-pad down: the focus on start
    press_pad_until(page, 13, lambda: page.shows("start1.bmp", 50, 50), "the focus on start")
    press_pad_until(page, 0, page.shows_level_one, "level 1 shown after the south button")


def case_quit_ends_the_program_and_the_page_says_so(browser, site):
    page = Page(browser, site.url + "zarvok/")
    until(page.shows_start_menu, "the start menu's buttons")
    page.keys(Keys.ARROW_UP)  # from no focus, Up lights the last button: quit
    until(lambda: page.shows("quit1.bmp", 50, 350), "the focus on quit")
    page.keys(Keys.ENTER)
    until(page.ended_text, "the page says the program has ended")
    assert "The program has ended." in page.ended_text(), page.ended_text()
    assert not browser.driver.find_element(By.ID, "canvas").is_displayed(), "no frozen canvas"
    errors = [line for line in page.console() if "SEVERE" in line and "AudioContext" not in line]
    assert errors == [], errors


def mute_setting(page):
    text = page.file(SETTINGS)
    return None if text is None else "mute = yes" in text


def case_a_setting_toggled_in_one_visit_holds_after_a_reload(browser, site):
    page = Page(browser, site.url + "zarvok/")
    until(page.shows_start_menu, "the start menu")
    assert not mute_setting(page), "the first visit starts with sound"
    page.keys("m")
    until(lambda: mute_setting(page), "mute stored")
    time.sleep(1)  # the browser's storage takes the file in the background
    page = Page(browser, site.url + "zarvok/")
    until(page.shows_start_menu, "the start menu after the reload")
    assert mute_setting(page), "mute held over the reload"
    # the program started muted: M now turns the sound on
    page.keys("m")
    until(lambda: mute_setting(page) is False, "sound back on")


def case_a_missing_data_file_says_the_same_line_as_on_the_desktop(browser, site):
    page = Page(browser, site.url + "zarvok/", before_main="FS.unlink('/level1.txt')")
    until(page.shows_start_menu, "the start menu")
    page.start()
    until(page.ended_text, "the page says the program has ended")
    assert "status 1" in page.ended_text(), page.ended_text()
    lines = [line for line in page.console() if "level1.txt" in line]
    assert len(lines) == 1, page.console()
    assert DESKTOP_LINE in lines[0], lines


def case_the_games_fullscreen_choice_fills_the_screen_at_the_first_key(browser, site):
    size = browser.driver.get_window_size()
    try:
        page = Page(browser, site.url + "zarvok/?arg=--fullscreen")
        # the menu's picture fitted to the screen's size: drawn, not at its own pixels
        until(lambda: page.grab(0, 0, 400, 300).any(), "the start menu drawn")
        # a page may fill the screen only from a key or click: the first one does it
        page.keys(Keys.ARROW_DOWN)
        until(lambda: browser.driver.execute_script(
            "return document.fullscreenElement === document.getElementById('canvas')"),
            "the canvas filling the screen")
    finally:
        browser.driver.execute_script("if (document.fullscreenElement) document.exitFullscreen()")
        browser.driver.set_window_size(size["width"], size["height"])


def case_each_example_runs_in_its_page(browser, site):
    for example in ("shapes", "bitmaps", "menu", "sprites", "input"):
        built = os.path.exists(os.path.join(SITE, example, "index.html"))
        assert built, f"{example}'s page is not built (scripts/web builds every page)"
        page = Page(browser, site.url + example + "/")
        until(lambda: page.grab(0, 0, 400, 300).any(), f"{example} draws")
        errors = [line for line in page.console() if "SEVERE" in line and "AudioContext" not in line]
        assert errors == [], (example, errors)
        assert page.ended_text() is None, f"{example} still runs"


def main():
    cases = [(name, f) for name, f in globals().items() if name.startswith("case_")]
    passed = failed = 0
    with Site() as site, Browser() as browser:
        for name, case in cases:
            try:
                case(browser, site)
                print(f"PASS {name}")
                passed += 1
            except Exception as error:  # one line per failed case; the next case goes on
                print(f"FAIL {name}: {type(error).__name__}: {error}")
                failed += 1
            sys.stdout.flush()
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
