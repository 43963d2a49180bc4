#!/usr/bin/env python3
"""Judges a recording of audio_capture_play (raw s16le stereo at 44100 Hz).

The player's five scenes are found by their energy, in order, each being a
stretch of sound between long silences; the start of the recording and the
latency of the server are unknown, so every time below is measured from the
start of its own scene. Prints one line per check: expected, got."""
import sys

import numpy as np

RATE = 44100
STEP = 0.005  # envelope window in seconds
TONE, OPEN_HAT, SNARE, CLOSED_HAT = 1000, 3000, 700, 500
failures = []


def check(what, ok, expected, got):
    print(f"{'ok  ' if ok else 'FAIL'} {what}: expected {expected}, got {got}")
    if not ok:
        failures.append(what)


def envelope(x):
    n = int(STEP * RATE)
    m = len(x) // n
    return np.sqrt((x[: m * n].reshape(m, n) ** 2).mean(axis=1))


def band(x, hz):
    """x with only the frequencies within 15 % of hz left."""
    bins = np.fft.rfft(x)
    f = np.fft.rfftfreq(len(x), 1 / RATE)
    bins[np.abs(f - hz) > 0.15 * hz] = 0
    return np.fft.irfft(bins, len(x))


def dominant(x):
    """The frequency of the highest peak of the Fourier transform of x, to 0.05 Hz."""
    n = 1 << 20
    return np.argmax(np.abs(np.fft.rfft(x * np.hanning(len(x)), n))) * RATE / n


def heard(x, hz, level):
    """First and last time (s) at which the hz band of x is above 20 % of level."""
    on = np.flatnonzero(envelope(band(x, hz)) > 0.2 * level)
    return (on[0] * STEP, (on[-1] + 1) * STEP) if len(on) else (None, None)


def main(path):
    raw = np.fromfile(path, dtype="<i2")
    x = raw[: len(raw) // 2 * 2].reshape(-1, 2).astype(float).mean(axis=1)
    env = envelope(x)
    print(f"recording: {len(x) / RATE:.2f} s, peak {np.abs(x).max() if len(x) else 0:.0f}")
    if len(env) == 0 or env.max() < 100:
        check("sound in the recording", False, "five scenes", "silence or nothing: no sound reached the sink")
        return
    # Sound is anything within 20 dB of the loudest part (two tones at once);
    # a gap of 0.4 s or more ends a scene.
    on = np.flatnonzero(env > 0.05 * env.max())
    cut = np.flatnonzero(np.diff(on) > 0.4 / STEP)
    scenes = list(zip(np.r_[on[0], on[cut + 1]], np.r_[on[cut], on[-1]] + 1))
    print("scenes (start s, length s):", ", ".join(f"({a * STEP:.2f}, {(b - a) * STEP:.2f})" for a, b in scenes))
    check("number of scenes", len(scenes) == 5, 5, len(scenes))
    if len(scenes) != 5:
        return
    clip = [x[int(a * STEP * RATE) : int((b * STEP + 0.05) * RATE)] for a, b in scenes]
    length = [(b - a) * STEP for a, b in scenes]
    level = np.median(env[scenes[0][0] : scenes[0][1]])  # one voice

    # 1. heard where played, silent elsewhere (20 ms beside each scene aside)
    quiet = np.ones(len(env), bool)
    for a, b in scenes:
        quiet[max(a - 4, 0) : b + 4] = False
    check("1 kHz hit lasts (s)", 0.95 <= length[0] <= 1.05, "1.00 +- 0.05", f"{length[0]:.3f}")
    check("loudest sound between scenes (of one voice)", env[quiet].max() < 0.01 * level,
          "< 0.01", f"{env[quiet].max() / level:.4f}")

    # 2. the second hit of the noise plays over the first: twice the power
    e = envelope(clip[1])
    alone, both, tail = (np.median(e[int(s / STEP) : int(t / STEP)]) for s, t in ((0.02, 0.08), (0.2, 0.9), (1.02, 1.08)))
    check("two hits 100 ms apart last (s)", 1.05 <= length[1] <= 1.15, "1.10 +- 0.05", f"{length[1]:.3f}")
    check("overlap level / first 100 ms", 1.25 <= both / alone <= 1.6, "1.41 (1.25 .. 1.6)", f"{both / alone:.3f}")
    check("last 100 ms / first 100 ms", 0.8 <= tail / alone <= 1.2, "0.8 .. 1.2", f"{tail / alone:.3f}")

    # 3. a snare leaves the open hi-hat ringing, a closed hi-hat cuts it
    _, hat_end = heard(clip[2], OPEN_HAT, level)
    snare_on, _ = heard(clip[2], SNARE, level)
    check("open hi-hat with a snare rings (s)", hat_end is not None and hat_end >= 1.95, ">= 1.95 (2.0)", hat_end)
    check("snare heard after (s)", snare_on is not None and 0.3 <= snare_on <= 0.5, "0.3 .. 0.5", snare_on)
    _, hat_end = heard(clip[3], OPEN_HAT, level)
    closed_on, closed_end = heard(clip[3], CLOSED_HAT, level)
    check("closed hi-hat heard after (s)", closed_on is not None and 0.3 <= closed_on <= 0.5, "0.3 .. 0.5", closed_on)
    cut_after = None if hat_end is None or closed_on is None else round(hat_end - closed_on, 3)
    check("open hi-hat ends after the closed one starts (s)", cut_after is not None and -0.1 <= cut_after <= 0.1,
          "-0.1 .. 0.1", cut_after)

    # 4. the same buffer at 56000 Hz: 1.27 times as high and as short
    for i, rate in ((0, 44100), (4, 56000)):
        hz = TONE * rate / 44100
        got = dominant(clip[i][int(0.1 * RATE) : int((length[i] - 0.1) * RATE)])
        check(f"1 kHz tone at {rate} Hz, pitch (Hz)", abs(got / hz - 1) < 0.02, f"{hz:.1f} +- 2 %", f"{got:.1f}")
    check("56000 Hz hit lasts (s)", abs(length[4] - 44100 / 56000) <= 0.05, f"{44100 / 56000:.3f} +- 0.05",
          f"{length[4]:.3f}")


if __name__ == "__main__":
    main(sys.argv[1])
    print(f"{len(failures)} check(s) failed" + (": " + "; ".join(failures) if failures else ""))
    sys.exit(1 if failures else 0)
