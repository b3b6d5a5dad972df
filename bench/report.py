#!/usr/bin/python3
"""Runs every benchmark program and measures the real program under Xvfb; prints one table.

Each benchmark program times a memcpy of the whole 1000 x 800 x 4-byte buffer in the same
run, and every time of that program is shown beside it as a ratio. Times are medians of
the repetitions; CPU time of the calling thread, except for the presentation, which the
window thread does and is therefore wall time. The real program is measured on its own
Xvfb: start-up until the start menu is shown, the CPU share it takes of one core over 10 s
idle in the menu and then in play (from /proc), and its peak resident memory; at scale 1,
at scale 2 and in fullscreen (when openbox is there to manage the window). With openbox, a
second Xvfb of 1920 x 1080 measures the presentation and the program at scale 1 beside the
picture fitted to the screen in fullscreen (1350 x 1080), in the same run.

The sprite scene (bench_sprites with Vuderiv, bench_sprites_sdl with plain SDL2 at its
best) runs on the same Xvfb, the two alternated over a few rounds: each one's CPU share of
one core (the whole process, from getrusage) and its drawing per frame (the thread's CPU
time, median), the ratio Vuderiv / SDL2, and whether both showed the same last picture.

With --old, a build of another version is measured in the same run on the same X server,
and its figures stand beside these (a dash where that version has no such measure).

Usage: bench/report.py BUILD_DIR [--old OLD_BUILD_DIR]
"""
import json
import os
import shutil
import statistics
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
PRESENT = "BM_UpdateWindowAndPresent/scale:%d/change:%d"
# (program, benchmark, row label, wall time rather than CPU time)
ROWS = [
    ("bench_frame", "BM_FrameLogic", "frame logic (15 enemies, 30 bullets)", False),
    ("bench_frame", "BM_Draw", "Draw (scene, panel, UpdateWindow)", False),
    ("bench_buffer", "BM_UpdateWindowAfterADraw", "UpdateWindow after a draw (copy)",
     False),
    ("bench_buffer", "BM_UpdateWindow", "UpdateWindow with nothing new (copy)", False),
    ("bench_frame", "BM_FullFrame", "full frame (logic + Draw + copy)", False),
    ("bench_present", PRESENT % (1, 0), "UpdateWindow + presentation, Xvfb, same picture", True),
    ("bench_present", PRESENT % (1, 1), "the same, every pixel changed", True),
    ("bench_present", PRESENT % (1, 2), "the same, a 40 x 40 figure moved", True),
    ("bench_present", PRESENT % (2, 0), "at scale 2 (2000 x 1600), same picture", True),
    ("bench_present", PRESENT % (2, 1), "at scale 2, every pixel changed", True),
    ("bench_present", PRESENT % (2, 2), "at scale 2, a 40 x 40 figure moved", True),
    ("bench_present", "BM_SyncAlone", "the wait for the window thread alone", True),
]
FITTED = "BM_FittedFullscreenAndPresent/change:%d"
WIDE = "1920x1080"  # the most common screen: fullscreen fits the picture at 1.35
# The rows measured on the WIDE screen, scale 1 beside fitted.
WIDE_ROWS = [
    ("bench_present", PRESENT % (1, 2), "1920 x 1080: UpdateWindow + presentation, scale 1, "
     "a 40 x 40 figure moved", True),
    ("bench_present", PRESENT % (1, 1), "1920 x 1080: the same at scale 1, every pixel changed",
     True),
    ("bench_present", FITTED % 2, "1920 x 1080: fitted fullscreen (1350 x 1080), a 40 x 40 "
     "figure moved", True),
    ("bench_present", FITTED % 1, "1920 x 1080: fitted fullscreen, every pixel changed", True),
    ("bench_present", FITTED % 0, "1920 x 1080: fitted fullscreen, same picture", True),
]
# The names earlier versions gave the presentation benchmark: they presented whatever the
# buffer held, every pixel of it, at scale 1 (and later also at scale 2).
EARLIER = {PRESENT % (scale, change): ["BM_UpdateWindowAndPresent/%d" % scale] +
           (["BM_UpdateWindowAndPresent"] if scale == 1 else [])
           for scale in (1, 2) for change in (0, 1, 2)}
SAMPLE_SECONDS = 10
SPRITE_ROUNDS = 5
SPRITE_SECONDS = "5"
SPRITE_PROGRAMS = [("Vuderiv", "bench_sprites"), ("SDL2 at its best", "bench_sprites_sdl")]
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


def benchmark_rows(build, xserver, which=ROWS):
    """{label: (median, memcpy of the same run, wall)} of each row the build can measure."""
    rows = {}
    runs = {}
    for program, name, label, wall in which:
        if not os.path.exists(os.path.join(build, "bench", program)):
            continue
        if program not in runs:
            env = xserver.env if program == "bench_present" else dict(os.environ)
            runs[program] = medians(os.path.join(build, "bench", program), env)
        times = runs[program]
        found = [n for n in [name] + EARLIER.get(name, []) if n in times]
        if found:
            pick = 1 if wall else 0
            rows[label] = (times[found[0]][pick], times[MEMCPY][pick], "us")
    return rows


def find_window(dpy, parent=None, depth=2):
    """The program's window, or None while it is not there yet. Under a window manager it
    is a child of the manager's frame, one level down."""
    parent = parent or dpy.screen().root
    for child in parent.query_tree().children:
        try:
            if child.get_wm_name() == "Zarvok":
                return child
            found = find_window(dpy, child, depth - 1) if depth > 1 else None
            if found is not None:
                return found
        except Exception:  # a window that went away meanwhile
            pass
    return None


def block(window, x, y, w, h, place=(1, 0, 0)):
    """What the window shows of the w x h block of the picture at (x, y) as rows of
    (r, g, b), or None while it is not mapped. place: the picture's scale and the window
    point of its top-left corner."""
    scale, left, top = place
    try:
        data = window.get_image(left + scale * x, top + scale * y, scale * w, scale * h,
                                X.ZPixmap, 0xFFFFFFFF).data
    except Exception:
        return None
    at = [[4 * (scale * r * scale * w + scale * c) for c in range(w)] for r in range(h)]
    return [[(data[i + 2], data[i + 1], data[i]) for i in row] for row in at]


def seen(window, x, y, w, h, place, expected):
    """Whether the window shows the w x h block of the picture at (x, y) as expected:
    exactly at a whole scale, within what the blend leaves when fitted (a factor with a
    fraction), brought back to its own size."""
    factor, left, top = place
    if factor == int(factor):
        return block(window, x, y, w, h, (int(factor), left, top)) == expected
    size = (round(factor * w), round(factor * h))
    try:
        data = window.get_image(left + round(factor * x), top + round(factor * y), *size,
                                X.ZPixmap, 0xFFFFFFFF).data
    except Exception:
        return False
    shown = Image.frombytes("RGB", size, bytes(data), "raw", "BGRX").resize((w, h),
                                                                            Image.BILINEAR)
    pixels = list(shown.getdata())
    wanted = [p for row in expected for p in row]
    difference = sum(abs(a - b) for p, q in zip(pixels, wanted) for a, b in zip(p, q))
    return difference < 16 * 3 * len(wanted)


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


def start_until_menu(build, xserver, dpy, args, place):
    """Starts the program and waits until its start menu is shown. Returns the process
    (its caller stops it), its window, and the milliseconds from the start to the menu."""
    menu = picture("Menu.bmp", 600, 600, 20, 20)
    started = time.monotonic()
    proc = subprocess.Popen([os.path.join(build, "zarvok"), *args], cwd=e2e.DATA,
                            env=e2e.with_config(xserver.env), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    found = []

    def menu_shown():
        found[:] = found or [w for w in [find_window(dpy)] if w is not None]
        return bool(found) and seen(found[0], 600, 600, 20, 20, place, menu)

    try:
        wait_until(menu_shown)
    except BaseException:
        proc.kill()
        proc.wait(10)
        raise
    return proc, found[0], (time.monotonic() - started) * 1000.0


def program_rows(build, xserver, how, args, place):
    """Start-up until the start menu is shown, CPU share idle in the menu and in play (after
    a click on start), and the peak resident memory at the end: {label: (figure, unit)}."""
    dpy = display.Display(xserver.name)
    proc, window, startup = start_until_menu(build, xserver, dpy, args, place)
    scale, left, top = place
    try:
        idle = cpu_share(proc.pid)
        point = [str(round(left + scale * 162)), str(round(top + scale * 82))]
        subprocess.run(["xdotool", "mousemove", "--window", str(window.id), *point, "click",
                        "1"], env=xserver.env, check=True, timeout=10)
        brick = picture("baksteen.bmp", 0, 0, 20, 20)
        wait_until(lambda: seen(window, 0, 0, 20, 20, place, brick))
        play = cpu_share(proc.pid)
        peak = peak_memory(proc.pid)
    finally:
        proc.kill()
        proc.wait(10)
        dpy.close()
    return {f"start-up until the start menu is shown, {how}": (startup, None, "ms"),
            f"CPU share of one core, idle menu, {SAMPLE_SECONDS} s, {how}": (idle, None, "%"),
            f"CPU share of one core, in play, {SAMPLE_SECONDS} s, {how}": (play, None, "%"),
            f"peak resident memory (VmHWM), {how}": (peak, None, "MiB")}


def fullscreen_place():
    """The scale and corner of the picture on the whole screen."""
    width, height = map(int, SCREEN.split("x"))
    scale = min(width // 1000, height // 800)
    return scale, (width - 1000 * scale) // 2, (height - 800 * scale) // 2


def window_manager(xserver):
    """openbox on the X server, or None when it is not installed (no fullscreen then)."""
    if shutil.which("openbox") is None:
        return None
    manager = subprocess.Popen(["openbox"], env=xserver.env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    time.sleep(1)  # it takes the screen before the first window comes
    return manager


def sprite_run(path, env):
    """One run of a sprite scene program: {"cpu_share": %, "draw_us": us, "picture": hash}."""
    done = subprocess.run([path, SPRITE_SECONDS], env=env, capture_output=True, text=True,
                          check=True, timeout=120)
    fields = dict(f.split("=") for f in done.stdout.split()[2:])
    return {"cpu_share": float(fields["cpu_share"]), "draw_us": float(fields["draw_us"]),
            "picture": fields["picture"]}


def sprite_table(build, xserver):
    """The sprite scene's lines, or none when a program is not built."""
    paths = [os.path.join(build, "bench", program) for _, program in SPRITE_PROGRAMS]
    if not all(os.path.exists(p) for p in paths):
        return []
    runs = [[], []]
    for _ in range(SPRITE_ROUNDS):
        for i, path in enumerate(paths):
            runs[i].append(sprite_run(path, xserver.env))
    median = [{k: statistics.median(r[k] for r in rs) for k in ("cpu_share", "draw_us")}
              for rs in runs]
    same = len({r["picture"] for rs in runs for r in rs}) == 1
    names = [name for name, _ in SPRITE_PROGRAMS]
    header = "| sprite scene: 500 masked 32 x 32 sprites, 800 x 600, 60 frames/s, " \
             f"median of {SPRITE_ROUNDS} | {names[0]} | {names[1]} | ratio |"
    rows = [("CPU share of one core (whole process)", "cpu_share", "%"),
            ("drawing per frame (thread CPU time)", "draw_us", "us")]
    lines = [header, "|---|---|---|---|"]
    for label, key, unit in rows:
        ours, theirs = median[0][key], median[1][key]
        lines.append(f"| {label} | {ours:.2f} {unit} | {theirs:.2f} {unit} | "
                     f"{ours / theirs:.2f}x |")
    # The rounds alternate the two programs, so each round's ratio shows how far the
    # machine's own changes of pace move the median's.
    each = " ".join(f"{a['cpu_share'] / b['cpu_share']:.2f}x" for a, b in zip(*runs))
    lines.append(f"| CPU share ratio of each round | | | {each} |")
    lines.append(f"| the same picture in both | {'yes' if same else 'NO'} | | |")
    return lines


def measure(build, xserver, displays, rows=ROWS):
    figures = benchmark_rows(build, xserver, rows)
    for how, args, place in displays:
        figures.update(program_rows(build, xserver, how, args, place))
    return figures


def measure_wide(build):
    """Scale 1 beside the fitted fullscreen on a 1920 x 1080 screen under openbox."""
    width, height = map(int, WIDE.split("x"))
    fitted = (height / 800, (width - 1000 * height // 800) // 2, 0)
    displays = [("scale 1, 1920 x 1080", [], (1, 0, 0)),
                ("fitted fullscreen, 1920 x 1080", ["--fullscreen"], fitted)]
    with e2e.Xserver(WIDE) as xserver:
        manager = window_manager(xserver)
        try:
            return measure(build, xserver, displays, WIDE_ROWS)
        finally:
            manager.terminate()
            manager.wait(10)


def shown(figure):
    if figure is None:
        return ("—", "", "")
    took, yardstick, unit = figure
    if yardstick is None:
        return (f"{took:9.2f} {unit}" if unit == "%" else f"{took:9.1f} {unit}", "", "")
    return (f"{took:9.1f} us", f"{yardstick:7.1f} us", f"{took / yardstick:5.2f}x")


def main():
    args = sys.argv[1:]
    old = None
    if "--old" in args:
        at = args.index("--old")
        old = os.path.abspath(args[at + 1])
        del args[at:at + 2]
    build = os.path.abspath(args[0] if args else os.path.join(ROOT, "build"))
    displays = [("scale 1", [], (1, 0, 0)), ("scale 2", ["--scale", "2"], (2, 0, 0))]
    with e2e.Xserver(SCREEN) as xserver:
        manager = window_manager(xserver)
        try:
            if manager is not None:
                displays.append(("fullscreen at a whole scale", ["--fullscreen", "--scale", "1"],
                                 fullscreen_place()))
            sprites = sprite_table(build, xserver)
            new = measure(build, xserver, displays)
            earlier = measure(old, xserver, displays[:1]) if old else None
        finally:
            if manager is not None:
                manager.terminate()
                manager.wait(10)
    if manager is not None:
        new.update(measure_wide(build))
    header = ("measure", "median", "memcpy", "ratio")
    if earlier is not None:
        header += ("old", "old memcpy", "old ratio")
    rows = [(label, *shown(figure)) + (shown(earlier.get(label)) if earlier is not None else ())
            for label, figure in new.items()]
    widths = [max(len(r[i]) for r in rows + [header]) for i in range(len(header))]
    line = "| " + " | ".join("{:%d}" % w for w in widths) + " |"
    print(line.format(*header))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for row in rows:
        print(line.format(*row))
    if sprites:
        print()
        print("\n".join(sprites))
    return 0


if __name__ == "__main__":
    sys.exit(main())
