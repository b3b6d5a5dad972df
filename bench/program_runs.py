#!/usr/bin/python3
"""Measures the real program under Xvfb over several runs, as a player uses it.

Each run starts build/zarvok from data/ and takes: the time from the process start until
the start menu's picture is shown; the program's CPU share of one core over 10 s while the
start menu waits untouched, and over 10 s of play (from /proc/PID/stat); the resident
memory after the first game and after the tenth (each game: start, level 1 shown, Q, back
in the menu), and the peak resident memory at the end. Prints one line per run and the
medians.

Usage: bench/program_runs.py [BUILD_DIR] [RUNS]
"""
import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "bench"))
import report  # noqa: E402  CPU share, peak memory and the window search of the bench report
import run as e2e  # noqa: E402  the Xvfb and window helpers of the end-to-end tests

GAMES = 10


def memory(pid, field):
    """A memory figure of /proc/PID/status in MiB (VmRSS, VmHWM)."""
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1]) / 1024.0
    return float("nan")


def play_games(game, count):
    """Plays `count` short games: start, level 1 shown, Q, back in the menu."""
    for _ in range(count):
        game.click(*e2e.START)
        e2e.until(lambda: e2e.shows_level_one(game), "level 1 shown")
        game.key("keydown", "q")
        e2e.until(lambda: game.shows("settings0.bmp", 50, 200), "back in the menu")
        game.key("keyup", "q")


def one_run(build, xserver):
    dpy = e2e.display.Display(xserver.name)
    proc, window, startup = report.start_until_menu(build, xserver, dpy, [], (1, 0, 0))
    try:
        game = e2e.Game.__new__(e2e.Game)  # the running program, its window already found
        game.xserver, game.proc, game.wid, game.dpy = xserver, proc, window.id, dpy
        game.window = window
        idle = report.cpu_share(proc.pid)
        play_games(game, 1)
        after_one = memory(proc.pid, "VmRSS")
        play_games(game, GAMES - 1)
        after_ten = memory(proc.pid, "VmRSS")
        game.click(*e2e.START)
        e2e.until(lambda: e2e.shows_level_one(game), "level 1 shown")
        play = report.cpu_share(proc.pid)
        peak = memory(proc.pid, "VmHWM")
    finally:
        proc.kill()
        proc.wait(10)
        dpy.close()
    return startup, idle, play, after_one, after_ten, peak


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build"))
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    names = ["start-up to menu (ms)", "CPU idle menu (%)", "CPU in play (%)",
             "RSS after 1 game (MiB)", f"RSS after {GAMES} games (MiB)", "peak RSS (MiB)"]
    results = []
    with e2e.Xserver() as xserver:
        # A connection held over all runs: with no client left, Xvfb resets itself and
        # refuses the next run's connections meanwhile.
        keep = e2e.display.Display(xserver.name)
        for i in range(runs):
            results.append(one_run(build, xserver))
            print(f"run {i + 1}: " + ", ".join(f"{n} {v:.1f}" for n, v in zip(names, results[-1])),
                  flush=True)
        keep.close()
    print("median: " + ", ".join(f"{n} {statistics.median(r[k] for r in results):.1f}"
                                 for k, n in enumerate(names)))


if __name__ == "__main__":
    main()
