#!/usr/bin/env python3
"""Key-to-sound latency, end to end, as a player hears it.

Real key presses go to the X server through XTest at known CLOCK_MONOTONIC
times; the null sink's monitor is recorded with parec at 2 ms latency and its
frames are put on the same clock (capture_clock.py); each hit's onset is the
first loud frame after a quiet one. Measured in the same run, under the same
load: a native PulseAudio client (pacat, written to at a known time), a bare
waveOut program under the same Wine (wave_out_floor.exe), once rotating over
four streams and once taking the lowest free of 32 as the kit's engine does,
then pokopon.exe:
a lone lit key, a flam (a second lit key 3 ms after a first) and 32 voices
at once, checked for dropouts.

Usage: latency_bench.py WINE_RUN BUILD_DIR [--again] (DISPLAY and PULSE_SERVER set);
--again judges the last recording again."""
import ctypes
import json
import os
import shutil
import signal
import subprocess
import sys
import time
import wave

import numpy as np

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "wine"))
import capture_clock  # noqa: E402
import capture_hits  # noqa: E402

RATE = capture_clock.RATE
HITS = 30
GAP = 0.25  # between hits: the 100 ms tone is over before the next
FLAM = 0.003
VOICE_LEVEL = 900  # each of the 32 voices adds this much, held for a second
VOICE_KEYS = [c for c in "abcdefghijklnopqrstuvwxyz"] + [str(d) for d in range(7)]


def now():
    return time.monotonic_ns()


def stamp(raw_path, stamps_path):
    """Runs parec and stamps each chunk on arrival; ends on SIGTERM."""
    parec = subprocess.Popen(["parec", "-d", "drums.monitor", "--raw", "--format=s16le",
                              f"--rate={RATE}", "--channels=2", "--latency-msec=2"],
                             stdout=subprocess.PIPE, bufsize=0)
    running = [True]
    signal.signal(signal.SIGTERM, lambda *_: running.__setitem__(0, False))
    received = 0
    with open(raw_path, "wb") as raw, open(stamps_path, "wb") as stamps:
        while running[0]:
            try:
                chunk = os.read(parec.stdout.fileno(), 1 << 16)
            except InterruptedError:
                continue
            t = now()
            if not chunk:
                break
            received += len(chunk)
            raw.write(chunk)
            stamps.write(np.array([t, received // 4], dtype=np.int64).tobytes())
    parec.terminate()
    parec.wait()


class Keys:
    """The X server's keyboard through XTest."""

    def __init__(self):
        self.x = ctypes.CDLL("libX11.so.6")
        self.xtest = ctypes.CDLL("libXtst.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x.XStringToKeysym.restype = ctypes.c_ulong
        self.x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.xtest.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                 ctypes.c_ulong]
        self.display = self.x.XOpenDisplay(None)
        if not self.display:
            sys.exit("latency_bench: no X display")

    def code(self, name):
        return self.x.XKeysymToKeycode(self.display, self.x.XStringToKeysym(name.encode()))

    def send(self, code, down):
        """The time the event left for the server."""
        t = now()
        self.xtest.XTestFakeKeyEvent(self.display, code, down, 0)
        self.x.XFlush(self.display)
        return t


def wait_until(t_ns):
    """Sleeps to just before t_ns, then spins to it."""
    left = (t_ns - now()) / 1e9 - 0.0005
    if left > 0:
        time.sleep(left)
    while now() < t_ns:
        pass


def write_wav(path, frames, left=True, right=True):
    """A sample in both channels, or in one with the other silent."""
    frames = np.asarray(frames, dtype="<i2")
    stereo = np.stack([frames * left, frames * right], axis=1).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(stereo.tobytes())


def square(seconds):
    n = int(seconds * RATE)
    return np.where((np.arange(n) // 22) % 2, -8000, 8000)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=60).stdout


class WineProgram:
    """A Windows program under the launcher, its window focused on the X server."""

    def __init__(self, wine_run, exe, title, *args):
        self.process = subprocess.Popen([wine_run, exe, *args], cwd=os.path.dirname(exe),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        found = xdotool("search", "--sync", "--onlyvisible", "--name", f"^{title}$").split()
        if not found:
            sys.exit(f"latency_bench: no window titled {title}")
        self.window = found[0]
        time.sleep(1.0)  # the splash closing, the kit coming up
        # A click on the window's own background, beside any child window,
        # gives it the keyboard as a player's click would.
        xdotool("mousemove", "--window", self.window, "3", "100", "click", "1")
        xdotool("windowfocus", "--sync", self.window)
        time.sleep(0.5)

    def close(self):
        xdotool("windowclose", self.window)
        try:
            self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def press(keys, code):
    """A key pressed for 30 ms; the time it went down."""
    t = keys.send(code, True)
    time.sleep(0.03)
    keys.send(code, False)
    return t


def lone_hits(keys, code, count=HITS):
    """Presses the key count times; the press times, after three unmeasured."""
    for _ in range(3):
        press(keys, code)
        time.sleep(GAP)
    times = []
    for _ in range(count):
        times.append(press(keys, code))
        time.sleep(GAP)
    return times


def flams(keys, first, second, count=HITS):
    """The second key FLAM after the first; the second key's press times."""
    times = []
    for _ in range(count):
        t1 = keys.send(first, True)
        wait_until(t1 + int(FLAM * 1e9))
        times.append(keys.send(second, True))
        time.sleep(0.03)
        keys.send(first, False)
        keys.send(second, False)
        time.sleep(GAP)
    return times


def all_voices(keys, codes):
    """Every voice key down at once, then up; the time of the first."""
    t = now()
    for c in codes:
        keys.send(c, True)
    time.sleep(0.03)
    for c in codes:
        keys.send(c, False)
    time.sleep(1.5)
    return t


def native_hits(latency, count=HITS):
    """pacat playing from a pipe at the latency Wine gets; each hit is the
    tone written at once."""
    tone = np.repeat(square(0.1).astype("<i2"), 2).tobytes()
    pacat = subprocess.Popen(["pacat", "--raw", "--format=s16le", f"--rate={RATE}",
                              "--channels=2", "-d", "drums", f"--latency-msec={latency}"],
                             stdin=subprocess.PIPE, bufsize=0)
    time.sleep(1.0)
    times = []
    for i in range(count + 3):
        t = now()
        pacat.stdin.write(tone)
        if i >= 3:
            times.append(t)
        time.sleep(GAP)
    pacat.stdin.close()
    pacat.wait()
    return times


def kit_folder(folder, exe):
    """pokopon.exe in a folder of its own: Space sounds the tone in the right
    channel and lights DR_BASS1; M sounds a 1 ms click in the left channel and
    lights DR_SNARE1 (a flam's first hit, apart from the second whenever
    each sounds); 32 more keys each hold a level for a second on a part
    without a window."""
    os.makedirs(os.path.join(folder, "sounds"), exist_ok=True)
    shutil.copy(exe, folder)
    write_wav(os.path.join(folder, "sounds", "tone.wav"), square(0.1), left=False)
    write_wav(os.path.join(folder, "sounds", "click.wav"), square(0.001), right=False)
    write_wav(os.path.join(folder, "sounds", "level.wav"), np.full(RATE, VOICE_LEVEL))
    rows = ["44100", "4294967295", "sounds\\tone.wav,20,127,127,DR_BASS1",
            "sounds\\click.wav,4d,127,127,DR_SNARE1"]
    rows += [f"sounds\\level.wav,{ord(k.upper()):x},127,127,DR_SNARE2" for k in VOICE_KEYS]
    with open(os.path.join(folder, "sounds", "Setting.csv"), "w", newline="") as f:
        f.write("\r\n".join(rows) + "\r\n")
    return os.path.join(folder, os.path.basename(exe))


def latencies(level, clock, times):
    """Milliseconds from each press to its onset (None when no sound came
    within 100 ms)."""
    out = []
    for t in times:
        start = clock.frame(t) - 0.005 * RATE
        i = capture_hits.onset(level, start)
        out.append(None if i is None or i - start > 0.1 * RATE else (clock.time(i) - t) / 1e6)
    return out


def dropouts(path, clock, t):
    """For 32 keys pressed at once: ms from the first key until every voice
    sounds, and ms in which the sum then fell below the whole, up to 900 ms
    after the first key (a stream that ran dry); None when they never all
    sounded."""
    raw = np.fromfile(path, dtype="<i2")
    left = raw[: len(raw) // 2 * 2].reshape(-1, 2)[:, 0].astype(np.int32)
    first = int(clock.frame(t))
    held = left[first: first + int(0.9 * RATE)]
    whole = len(VOICE_KEYS) * VOICE_LEVEL
    full = np.flatnonzero(held > whole - VOICE_LEVEL / 2)
    if len(full) == 0:
        return None, None
    short = np.count_nonzero(held[full[0]:] < whole - VOICE_LEVEL / 2)
    return full[0] * 1000.0 / RATE, short * 1000.0 / RATE


def line(what, values, floor=None):
    found = [v for v in values if v is not None]
    if not found:
        return f"{what}: no hit heard"
    med, p90, worst = capture_clock.percentiles(found)
    text = (f"{what}: median {med:.2f} ms, 90th percentile {p90:.2f} ms, worst {worst:.2f} ms"
            f" ({len(found)} of {len(values)} heard)")
    if floor and any(v is not None for v in floor):
        fmed, fp90, fworst = capture_clock.percentiles([v for v in floor if v is not None])
        text += f"; minus its floor: {med - fmed:+.2f} / {p90 - fp90:+.2f} / {worst - fworst:+.2f} ms"
    return text


def record(wine_run, build, work):
    """Plays every measurement while the monitor is recorded; the press
    times, also kept in the work folder beside the recording."""
    raw, stamps = os.path.join(work, "capture.raw"), os.path.join(work, "stamps")
    stamper = subprocess.Popen([sys.executable, __file__, "--stamp", raw, stamps])
    keys = Keys()
    time.sleep(1.5)
    presses = {}
    try:
        presses["native"] = native_hits(sound_latency(wine_run))
        floor_exe = os.path.join(build, "bench", "wave_out_floor.exe")
        program = WineProgram(wine_run, floor_exe, "waveOut floor")
        presses["bare"] = lone_hits(keys, keys.code("space"))
        presses["bare flam"] = flams(keys, keys.code("m"), keys.code("space"))
        program.close()
        program = WineProgram(wine_run, floor_exe, "waveOut floor", "lowest-free")
        presses["rule lone"] = lone_hits(keys, keys.code("space"))
        presses["rule flam"] = flams(keys, keys.code("m"), keys.code("space"))
        program.close()
        kit_exe = kit_folder(os.path.join(work, "kit"), os.path.join(build, "pokopon.exe"))
        program = WineProgram(wine_run, kit_exe, "ポコポン")
        presses["lone"] = lone_hits(keys, keys.code("space"))
        presses["flam"] = flams(keys, keys.code("m"), keys.code("space"))
        presses["voices"] = [all_voices(keys, [keys.code(k) for k in VOICE_KEYS])
                             for _ in range(3)]
        program.close()
        time.sleep(0.5)
    finally:
        stamper.terminate()
        stamper.wait()
    with open(os.path.join(work, "presses.json"), "w") as f:
        json.dump(presses, f)
    return presses


def report(work, presses, latency):
    raw = os.path.join(work, "capture.raw")
    clock = capture_clock.Clock(np.fromfile(os.path.join(work, "stamps"),
                                            dtype=np.int64).reshape(-1, 2))
    channels = capture_hits.loudness(raw)
    level, right = channels.max(axis=1), channels[:, 1]
    print(f"key to sound, {HITS} hits each, PULSE_LATENCY_MSEC={latency}; the method resolves"
          f" +-{clock.resolution / 1e6:.2f} ms (the sink's clock runs {clock.drift():+.3f} %"
          " against the system's)")
    native_ms = latencies(level, clock, presses["native"])
    bare_ms = latencies(right, clock, presses["bare"])
    bare_flam_ms = latencies(right, clock, presses["bare flam"])
    lone_ms = latencies(right, clock, presses["lone"])
    flam_ms = latencies(right, clock, presses["flam"])
    rule_ms = latencies(right, clock, presses["rule lone"])
    rule_flam_ms = latencies(right, clock, presses["rule flam"])
    second = f"a flam's second key {FLAM * 1000:.0f} ms after the first"
    rule = "the bare program taking the lowest free of 32 streams, as the kit's engine does"
    print("  " + line("native PulseAudio client (pacat, write to onset)", native_ms))
    print("  " + line("bare waveOut program under Wine, a lone key", bare_ms))
    print("  " + line(f"bare waveOut program under Wine, {second}", bare_flam_ms, bare_ms))
    print("  " + line(f"{rule}, a lone key", rule_ms, bare_ms))
    print("  " + line(f"{rule}, {second}", rule_flam_ms, rule_ms))
    print("  " + line("pokopon, a lone lit key", lone_ms, bare_ms))
    print("  " + line(f"pokopon, {second} (both lit), against the lone lit key", flam_ms, lone_ms)
          + " (goal: within 0.5 ms)")
    print("  " + line(f"pokopon, {second}, against the bare program's", flam_ms, bare_flam_ms))
    print("  " + line(f"pokopon, {second}, against the bare program's taking streams as the"
                      " engine does", flam_ms, rule_flam_ms))
    for i, t in enumerate(presses["voices"]):
        start, lost = dropouts(raw, clock, t)
        print(f"  32 keys at once, try {i + 1}: " +
              ("never all 32 sounding" if start is None else
               f"all 32 sounding after {start:.1f} ms, then {lost:.1f} ms of dropouts"))


def sound_latency(wine_run):
    """The PULSE_LATENCY_MSEC the launcher gives Wine."""
    return subprocess.run([wine_run, "--sound-latency"], capture_output=True, text=True,
                          check=True).stdout.strip()


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--stamp":
        return stamp(sys.argv[2], sys.argv[3])
    wine_run, build = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    work = os.path.join(build, "bench-latency")
    if "--again" in sys.argv:
        # The last run's recording judged again.
        with open(os.path.join(work, "presses.json")) as f:
            return report(work, json.load(f), sound_latency(wine_run))
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    report(work, record(wine_run, build, work), sound_latency(wine_run))


if __name__ == "__main__":
    main()
