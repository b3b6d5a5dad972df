#!/usr/bin/python3
"""Runs every benchmark program and measures the real program under Xvfb; prints one table.

Each benchmark program times a memcpy of the whole 1000 x 800 x 4-byte buffer in the same
run, and every time of that program is shown beside it as a ratio. Times are medians of
the repetitions; CPU time of the calling thread, except for the presentation, which the
window thread does and is therefore wall time. The real program is measured on its own
Xvfb: start-up until the start menu is shown, the CPU share it takes of one core over 10 s
idle in the menu and then in play (from /proc), and its peak resident memory.

Usage: bench/report.py BUILD_DIR
"""
import json
import os
import subprocess
import sys
import time

from PIL import Image
from Xlib import X, display

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import run as e2e  # noqa: E402  the Xvfb and window helpers of the end-to-end tests

MEMCPY = "BM_MemcpyWholeBuffer"
REPETITIONS = 5
# (program, benchmark, row label, wall time rather than CPU time)
ROWS = [
    ("bench_frame", "BM_FrameLogic", "frame logic (15 enemies, 30 bullets)", False),
    ("bench_frame", "BM_Draw", "Draw (scene, panel, UpdateWindow)", False),
    ("bench_buffer", "BM_UpdateWindowAfterADraw", "UpdateWindow after a draw (copy)",
     False),
    ("bench_buffer", "BM_UpdateWindow", "UpdateWindow with nothing new (copy)", False),
    ("bench_frame", "BM_FullFrame", "full frame (logic + Draw + copy)", False),
    ("bench_present", "BM_UpdateWindowAndPresent/1", "UpdateWindow + presentation, Xvfb", True),
    ("bench_present", "BM_UpdateWindowAndPresent/2", "the same at scale 2 (2000 x 1600)", True),
]
SAMPLE_SECONDS = 10
SCREEN = "2200x1700"  # large enough for the presentation at scale 2


def medians(program, env):
    """The median times of a benchmark program's benchmarks in microseconds: {name: (cpu, wall)}."""
    done = subprocess.run(
        [program, f"--benchmark_repetitions={REPETITIONS}", "--benchmark_format=json",
         "--benchmark_report_aggregates_only=true"],
        env=env, capture_output=True, text=True, check=True, timeout=600)
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
    result = {}
    for b in json.loads(done.stdout)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            unit = scale[b["time_unit"]]
            result[b["run_name"]] = (b["cpu_time"] * unit, b["real_time"] * unit)
    return result


def benchmark_rows(build, xserver):
    rows = []
    runs = {}
    for program, name, label, wall in ROWS:
        if program not in runs:
            env = xserver.env if program == "bench_present" else dict(os.environ)
            runs[program] = medians(os.path.join(build, "bench", program), env)
        times = runs[program]
        took = times[name][1 if wall else 0]
        yardstick = times[MEMCPY][1 if wall else 0]
        rows.append((label, f"{took:9.1f} us", f"{yardstick:7.1f} us", f"{took / yardstick:5.2f}x"))
    return rows


def find_window(dpy):
    """The program's top-level window, or None while it is not there yet."""
    for child in dpy.screen().root.query_tree().children:
        try:
            if child.get_wm_name() == "Zarvok":
                return child
        except Exception:  # a window that went away meanwhile
            pass
    return None


def block(window, x, y, w, h):
    """What the window shows in a w x h block at (x, y) as rows of (r, g, b), or None while
    it is not mapped."""
    try:
        data = window.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF).data
    except Exception:
        return None
    return [[(data[4 * (r * w + c) + 2], data[4 * (r * w + c) + 1], data[4 * (r * w + c)])
             for c in range(w)] for r in range(h)]


def picture(name, x, y, w, h):
    with Image.open(os.path.join(e2e.DATA, "images", name)) as image:
        rgb = image.convert("RGB")
        return [[rgb.getpixel((x + c, y + r)) for c in range(w)] for r in range(h)]


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def cpu_share(pid):
    """The process's CPU time over SAMPLE_SECONDS as a percentage of one core."""
    start, ticks = time.monotonic(), cpu_ticks(pid)
    time.sleep(SAMPLE_SECONDS)
    used = (cpu_ticks(pid) - ticks) / os.sysconf("SC_CLK_TCK")
    return 100.0 * used / (time.monotonic() - start)


def peak_memory(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024.0
    return float("nan")


def wait_until(condition, seconds=30):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if condition():
            return
        time.sleep(0.002)
    raise RuntimeError("the program did not get there within %d s" % seconds)


def start_until_menu(build, xserver, dpy):
    """Starts the program and waits until its start menu is shown. Returns the process
    (its caller stops it), its window, and the milliseconds from the start to the menu."""
    menu = picture("Menu.bmp", 600, 600, 20, 20)
    started = time.monotonic()
    proc = subprocess.Popen([os.path.join(build, "zarvok")], cwd=e2e.DATA, env=xserver.env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    found = []

    def menu_shown():
        found[:] = found or [w for w in [find_window(dpy)] if w is not None]
        return bool(found) and block(found[0], 600, 600, 20, 20) == menu

    try:
        wait_until(menu_shown)
    except BaseException:
        proc.kill()
        proc.wait(10)
        raise
    return proc, found[0], (time.monotonic() - started) * 1000.0


def program_rows(build, xserver):
    """Start-up until the start menu is shown, CPU share idle in the menu and in play (after
    a click on start), and the peak resident memory at the end."""
    dpy = display.Display(xserver.name)
    proc, window, startup = start_until_menu(build, xserver, dpy)
    found = [window]
    try:
        idle = cpu_share(proc.pid)
        subprocess.run(["xdotool", "mousemove", "--window", str(found[0].id), "162", "82",
                        "click", "1"], env=xserver.env, check=True, timeout=10)
        brick = picture("baksteen.bmp", 0, 0, 20, 20)
        wait_until(lambda: block(found[0], 0, 0, 20, 20) == brick)
        play = cpu_share(proc.pid)
        peak = peak_memory(proc.pid)
    finally:
        proc.kill()
        proc.wait(10)
        dpy.close()
    return [("start-up until the start menu is shown", f"{startup:9.0f} ms", "", ""),
            (f"CPU share of one core, idle menu, {SAMPLE_SECONDS} s", f"{idle:9.2f} %", "", ""),
            (f"CPU share of one core, in play, {SAMPLE_SECONDS} s", f"{play:9.2f} %", "", ""),
            ("peak resident memory (VmHWM)", f"{peak:9.1f} MiB", "", "")]


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build"))
    with e2e.Xserver(SCREEN) as xserver:
        rows = benchmark_rows(build, xserver) + program_rows(build, xserver)
    header = ("measure", "median", "memcpy", "ratio")
    widths = [max(len(r[i]) for r in rows + [header]) for i in range(4)]
    line = "| " + " | ".join("{:%d}" % w for w in widths) + " |"
    print(line.format(*header))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for row in rows:
        print(line.format(*row))
    return 0


if __name__ == "__main__":
    sys.exit(main())
