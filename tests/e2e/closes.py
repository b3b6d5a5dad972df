#!/usr/bin/python3
"""Closes the real program's window, as the close box does, at moments drawn from a seed:
in the start menu, on the difficulty screen, during level set-up, mid-game, and during
the "JE BENT DOOD!" pause. Every try must end the process with status 0 and no sanitizer
report; prints the slowest exit.

    closes.py [TRIES [SEED]]     (50 tries, a seed from the clock by default)

Runs build/zarvok or the program that ZARVOK_PROGRAM names, on its own Xvfb.
"""
import os
import random
import shutil
import sys
import tempfile
import time

import run
from hostile import ends_cleanly
from run import BACK, SETTINGS, START, UP, Game, shows_start_menu, until


def shows_death(game):
    """Black all round, white text at (500, 400)."""
    if game.pixel(0, 0) != (0, 0, 0) or game.pixel(999, 799) != (0, 0, 0):
        return False
    return any(p == (255, 255, 255) for row in game.block(500, 400, 120, 20) for p in row)


def in_menu(game):
    until(lambda: shows_start_menu(game), "the start menu is shown")


# Each moment: its name, the clicks that lead there (spaced so that every menu pass sees
# each one), whether the player must die first (on hard, on a level where every enemy
# walks into him), and when after that the window is closed, from and to, in seconds.
PHASES = [
    ("start_menu", (), False, 0, 0.5),
    ("difficulty_screen", (SETTINGS,), False, 0, 0.5),
    ("level_set_up", (START,), False, 0, 0.04),
    ("mid_game", (START,), False, 0.1, 3.0),
    ("death_pause", (SETTINGS, UP, UP, BACK, START), True, 0, 0.6),
]


def reach(game, phase, rng):
    _, clicks, dies, early, late = phase
    in_menu(game)
    for i, point in enumerate(clicks):
        if i > 0:
            time.sleep(0.1)
        game.click(*point)
    if dies:
        until(lambda: shows_death(game), "the player died", 120)
    time.sleep(rng.uniform(early, late))


def deadly_data():
    """A copy of data/ whose level 1 has a shelf under the player that the enemies of the
    top spawn point land on, and a floor that carries the others up to it."""
    path = tempfile.mkdtemp(prefix="zarvok-deadly-")
    shutil.copytree(os.path.join(run.DATA, "images"), os.path.join(path, "images"))
    shutil.copy(os.path.join(run.DATA, "level2.txt"), path)
    rows = []
    for r in range(1, 41):
        code = "1" if r in (1, 6) else "2" if r >= 36 else "0"
        rows.append(" ".join(code for _ in range(50)))
    with open(os.path.join(path, "level1.txt"), "w") as f:
        f.write("\n".join(rows) + "\n")
    return path


def one_try(xserver, phase, rng, deadly):
    game = Game(xserver, deadly if phase[2] else run.DATA)
    try:
        reach(game, phase, rng)
        start = time.monotonic()
        ends_cleanly(game)
        return time.monotonic() - start
    finally:
        game.stop()


def run_tries(xserver, tries, seed, phases=PHASES):
    """The tries, cycling through the phases; (phase name, seconds to exit) per try."""
    rng = random.Random(seed)
    deadly = deadly_data()
    try:
        return [(phases[i % len(phases)][0],
                 one_try(xserver, phases[i % len(phases)], rng, deadly)) for i in range(tries)]
    finally:
        shutil.rmtree(deadly)


def main():
    tries = int(sys.argv[1]) if len(sys.argv) > 1 else 50
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else int(time.time())
    print(f"seed {seed} (closes.py {tries} {seed} replays the moments)", flush=True)
    with run.Xserver() as xserver:
        try:
            results = run_tries(xserver, tries, seed)
        except Exception as error:
            print(f"FAILED: {error!r}")
            return 1
    for name in dict.fromkeys(n for n, _ in results):
        took = [t for n, t in results if n == name]
        print(f"{name:18} {len(took):3} tries, slowest exit {1000 * max(took):6.0f} ms")
    print(f"closes: {len(results)} passed, 0 failed; slowest exit "
          f"{1000 * max(t for _, t in results):.0f} ms")
    return 0


if __name__ == "__main__":
    sys.exit(main())
