#!/usr/bin/env python3
"""Start-up benchmark: Numerak against a toolkit floor and the peers a player might pick instead.

Every program is started in turn, round after round (the order turns each round), on a virtual
display with no window manager, through bench/first_window: the time from exec to the first
top-level window on screen, the peak resident memory a second later, and the CPU used over the
three idle seconds after that. Prints the median, the minimum to maximum, and each program's
ratio to the floor. Run through scripts/benchmark.sh, which builds and installs what it needs.
"""

import argparse
import os
import statistics
import subprocess
import sys


def measure(first_window, command, env):
    out = subprocess.run([first_window, *command], env=env, capture_output=True, text=True, timeout=120)
    if out.returncode != 0:
        raise RuntimeError(f"{command[0]}: {out.stderr.strip() or out.stdout.strip()}")
    fields = dict(item.split("=") for item in out.stdout.split())
    return float(fields["map_ms"]), int(fields["rss_kb"]), float(fields["idle_cpu_ms"])


def table(title, programs, results, floor):
    print(f"\n{title}")
    print(f"{'program':<18} {'first window (ms)':>28} {'peak resident (MiB)':>28} {'idle CPU (ms/3 s)':>20}")
    base = results[floor]
    base_map = statistics.median(r[0] for r in base)
    base_rss = statistics.median(r[1] for r in base)
    for name, _ in programs:
        runs = results[name]
        maps = [r[0] for r in runs]
        rss = [r[1] / 1024 for r in runs]
        cpu = [r[2] for r in runs]
        m, s = statistics.median(maps), statistics.median(rss)
        print(f"{name:<18} {m:7.1f} ({min(maps):6.1f}-{max(maps):6.1f}) {m / base_map:5.2f}x"
              f" {s:7.1f} ({min(rss):6.1f}-{max(rss):6.1f}) {s * 1024 / base_rss:5.2f}x"
              f" {statistics.median(cpu):8.0f} (max {max(cpu):.0f})")


def run(programs, rounds, first_window, env, floor, title):
    results = {name: [] for name, _ in programs}
    for r in range(rounds):
        order = programs[r % len(programs):] + programs[:r % len(programs)]
        for name, command in order:
            results[name].append(measure(first_window, command, env))
        print(f"round {r + 1} of {rounds} done", file=sys.stderr)
    table(title, programs, results, floor)


def wine_of(build):
    """The wine loader the Windows build found for its tests."""
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as cache:
        for line in cache:
            if line.startswith("NUMERAK_WINE:FILEPATH="):
                return line.split("=", 1)[1].strip()
    raise SystemExit(f"{build} names no wine: configure it with the windows preset")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=10)
    parser.add_argument("--bench", default="build/bench", help="the bench preset's build folder")
    parser.add_argument("--windows", default="", help="the windows preset's build folder: also measure under wine")
    args = parser.parse_args()

    first_window = os.path.join(args.bench, "bench", "first_window")
    env = {k: v for k, v in os.environ.items() if not k.startswith("DBUS_")}
    env["QT_QPA_PLATFORM"] = "xcb"
    programs = [
        ("numerak", [os.path.join(args.bench, "app", "numerak")]),
        ("floor (Qt 6)", [os.path.join(args.bench, "bench", "floor")]),
        ("colorcode", ["/usr/games/colorcode"]),
        ("gnome-mastermind", ["/usr/games/gnome-mastermind"]),
        ("sgt-guess", ["/usr/games/sgt-guess"]),
    ]
    run(programs, args.rounds, first_window, env, "floor (Qt 6)", f"Linux, {args.rounds} rounds, medians")

    if args.windows:
        wine = wine_of(args.windows)
        exe = os.path.join(args.windows, "app", "numerak.exe")
        floor = os.path.join(args.windows, "bench", "floor_win32.exe")
        size = os.path.getsize(exe)
        programs = [("numerak.exe", [wine, exe]), ("floor (Win32)", [wine, floor])]
        run(programs, args.rounds, first_window, env, "floor (Win32)",
            f"Windows build under wine, {args.rounds} rounds, medians; numerak.exe is {size} bytes"
            f" ({size / 1048576:.2f} MiB)")


if __name__ == "__main__":
    main()
