#!/usr/bin/env python3
"""Judges program_export_play: the exporter's take.wav against the replay of
the same take.pkp recorded from the sound server, scene by scene once
aligned (correlation at least 0.99, level within 0.5 dB), and its take.mid
read back by mido: one note-on per hit of the file, each on its part's
note, at its step's time within 1 ms. A failure beside a stretch of silence the
sound server left in the middle of a sound exits 2, for one more recording."""
import collections
import os
import sys

import mido
import numpy as np

from capture_hits import scenes, stereo

RATE = 44100
STEP_SECONDS = 0.004
# The parts' notes as the README lists them, by the keys take.pkp presses.
NOTES = {ord("O"): 46, ord("C"): 42, ord("S"): 40, ord("D"): 38, ord("L"): 40}
# How far a scene may sit from its place: the replay's ticks and the sound
# server's clock drift apart by some tens of milliseconds over seconds.
SEARCH = int(0.15 * RATE)
# A stream's first sound may be late or lost for some tens of milliseconds.
PIECE = int(0.05 * RATE)
# The exit code for a capture the sound server spoiled: play it again.
SPOILED = 2


def wav_frames(path):
    raw = open(path, "rb").read()
    assert raw[:4] == b"RIFF" and raw[36:40] == b"data", "take.wav is no canonical WAV file"
    return np.frombuffer(raw[44:], dtype="<i2").reshape(-1, 2).astype(float)


def best_lag(a, b, around, reach):
    """The shift of b against a, within reach of around, where they match best."""
    best, lag = -2.0, around
    for d in range(around - reach, around + reach + 1, 4):
        x, y = overlap(a, b, d)
        c = np.dot(x, y) / (np.linalg.norm(x) * np.linalg.norm(y) + 1e-9)
        if c > best:
            best, lag = c, d
    return lag


def dropouts(x, y, hit_frames):
    """Where the capture x falls silent for 10 ms or more in the middle of a
    sound of the render y, well after any hit: the sound server starving a
    stream, not anything the program or the render did. (start, frames) pairs."""
    found, i = [], 1
    while i < len(x):
        if x[i] == 0 and x[i - 1] != 0:
            j = i
            while j < len(x) and x[j] == 0:
                j += 1
            quiet_after_hit = all(not (0 <= i - f < PIECE) for f in hit_frames)
            if j - i >= 0.01 * RATE and j < len(x) and (y[i:j] != 0).all() and quiet_after_hit:
                found.append((i, j - i))
            i = j
        i += 1
    return found


def overlap(a, b, lag):
    """a[i] against b[i - lag]."""
    start, end = max(0, lag), min(len(a), len(b) + lag)
    return a[start:end], b[start - lag:end - lag]


def main(path):
    here = os.path.dirname(path)
    records = np.frombuffer(open(os.path.join(here, "take.pkp"), "rb").read()[6:], dtype=np.uint8).reshape(-1, 2)
    hits = [(step, int(key)) for step, key in enumerate(records[:, 0]) if key]
    failed = 0
    spoiled = False

    rendered = wav_frames(os.path.join(here, "take.wav")).mean(axis=1)
    captured = stereo(path).mean(axis=1)
    found = scenes(path, 1.0)
    if not found:
        print("FAIL no sound reached the sink")
        return 1
    # The render starts at step 0: the capture's first onset is the first hit.
    lag0 = int(found[0][0] * RATE)
    lag0 = best_lag(captured, rendered, lag0, int(0.02 * RATE))
    bounds = [(0, 4.3), (4.6, 7.1), (7.2, 9.8)]  # seconds of the render: choke, flam, crowd
    for name, (t0, t1) in zip(["choke", "flam", "33+ voices"], bounds):
        seg = rendered[int(t0 * RATE):int(t1 * RATE)]
        lag = best_lag(captured, seg, lag0 + int(t0 * RATE), SEARCH)
        x, y = overlap(captured, seg, lag)
        starts = [int(round(step * STEP_SECONDS * RATE)) - int(t0 * RATE) + min(0, lag) for step, _ in hits]
        for at, frames in dropouts(x, y, starts):
            print(f"SPOILED {name}: the capture is silent for {frames / RATE * 1000:.0f} ms "
                  f"at {t0 + at / RATE:.3f} s of the render, in the middle of a sound")
            spoiled = True
        corr = np.dot(x, y) / (np.linalg.norm(x) * np.linalg.norm(y) + 1e-9)
        level = 20 * np.log10((np.sqrt(np.mean(x ** 2)) + 1e-9) / (np.sqrt(np.mean(y ** 2)) + 1e-9))
        ok = corr >= 0.99 and abs(level) <= 0.5
        print(f"{'ok' if ok else 'FAIL'} {name}: correlation expected >= 0.99, got {corr:.4f}; "
              f"level expected within 0.5 dB, got {level:+.2f} dB; "
              f"{(lag - lag0 - int(t0 * RATE)) / RATE * 1000:+.1f} ms from its place")
        failed += not ok

    midi = mido.MidiFile(os.path.join(here, "take.mid"))
    ons, t = [], 0.0
    for message in midi:
        t += message.time
        if message.type == "note_on" and message.velocity > 0:
            ons.append((t, message.note, message.channel))
    expected = collections.Counter(NOTES[key] for _, key in hits)
    got = collections.Counter(note for _, note, _ in ons)
    print(f"MIDI notes per note number: expected {dict(expected)}, got {dict(got)}")
    failed += got != expected
    channels = {channel for _, _, channel in ons}
    print(f"MIDI channels (0-based): expected {{9}}, got {channels}")
    failed += channels != {9}
    if len(ons) == len(hits):
        worst = max(abs(on[0] - step * STEP_SECONDS) for on, (step, _) in zip(ons, hits))
        print(f"MIDI note-on times: expected within 1 ms of their steps, worst {worst * 1000:.3f} ms")
        failed += worst > 0.001
    if failed and spoiled:
        return SPOILED
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
