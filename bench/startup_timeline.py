#!/usr/bin/env python3
"""The program's start-up, step by step, beside an empty Win32 program's.

Each program runs under the launcher with Wine's debug-string channel on,
so that the lines the program gives the debugger ("start-up: ...") come out
on its standard error, where they are stamped on arrival. Five starts of
each, in turn; the median of each step.

Usage: startup_timeline.py WINE_RUN BUILD_DIR SOURCE_DIR"""
import os
import shutil
import statistics
import subprocess
import sys
import time

STARTS = 5
PREFIX = "start-up: "


def run(wine_run, exe, last):
    """Milliseconds from the launch to each step, up to the step named last."""
    env = dict(os.environ, WINEDEBUG="warn+debugstr")
    t0 = time.monotonic()
    process = subprocess.Popen([wine_run, exe], cwd=os.path.dirname(exe), env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                               errors="replace")
    steps = {}
    for text in process.stderr:
        if PREFIX not in text:
            continue
        step = text.split(PREFIX, 1)[1].split("\\n")[0].rstrip('"\n')
        steps.setdefault(step, (time.monotonic() - t0) * 1000)
        if step == last:
            break
    process.kill()
    process.wait()
    return steps


def main():
    wine_run, build, source = (os.path.abspath(a) for a in sys.argv[1:4])
    folder = os.path.join(build, "bench-startup")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(os.path.join(folder, "sounds"))
    for name in os.listdir(os.path.join(source, "res", "sounds")):
        if name.endswith(".wav"):
            shutil.copy(os.path.join(source, "res", "sounds", name), os.path.join(folder, "sounds"))
    shutil.copy(os.path.join(source, "res", "Setting.csv"), os.path.join(folder, "sounds"))
    shutil.copy(os.path.join(build, "pokopon.exe"), folder)
    kit, empty = [], []
    for _ in range(STARTS):
        kit.append(run(wine_run, os.path.join(folder, "pokopon.exe"), "first paint"))
        empty.append(run(wine_run, os.path.join(build, "bench", "empty_program.exe"),
                         "main window shown"))
    print(f"start-up timeline, median of {STARTS} starts (ms from the launch; the step's own):")
    before = 0.0
    for step in kit[0]:
        at = statistics.median(s.get(step, float("nan")) for s in kit)
        print(f"  {at:7.1f}  {at - before:6.1f}  {step}")
        before = at
    shown = statistics.median(s["main window shown"] for s in kit)
    bare = statistics.median(s["main window shown"] for s in empty)
    print(f"  main window shown: pokopon {shown:.0f} ms, empty Win32 program {bare:.0f} ms,"
          f" difference {shown - bare:.0f} ms (goal: under 300 ms)")
    shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
