#!/usr/bin/env python3
"""Judges a recording of program_keys_play: the scenes are the stretches of
sound between silences of 2.2 s or more; each must hold the hits it played.
The last two play the first scene's tone from a mono 22050 Hz file and from a
24-bit 48 kHz file: each must sound at 1000 Hz, each side at the first
scene's level times the gains of its volume and pan."""
import sys

import numpy as np

from capture_hits import RATE, scenes, stereo

EXPECTED = [1, 2, 3, 2, 1, 1]
# scene: (volume, pan) of its slot; the first scene's slot has 127, 127.
CONVERTED = {4: (100, 60), 5: (127, 200)}


def gain(i):
    return 10 ** ((i - 127) / 128)


def expected_sides(volume, pan):
    left, right = (1.0, gain(pan)) if pan <= 127 else (1 / gain(pan), 1.0)
    return np.array([left, right]) * gain(volume)


def tone(x, onset):
    """The 0.15 s tone that starts at onset, and a little around it."""
    return x[int((onset - 0.01) * RATE) : int((onset + 0.2) * RATE)]


def level(clip):
    """Each side's loudest 5 ms: the tone's level, whatever gaps the sound
    server leaves in the recording."""
    n = int(0.005 * RATE)
    windows = clip[: len(clip) // n * n].reshape(-1, n, 2)
    return np.sqrt((windows ** 2).mean(axis=1)).max(axis=0)


def pitch(clip):
    n = 1 << 20
    mono = clip.mean(axis=1)
    return np.argmax(np.abs(np.fft.rfft(mono * np.hanning(len(mono)), n))) * RATE / n


def main(path):
    found = scenes(path, 2.2)
    if found is None:
        print("FAIL no sound reached the sink")
        return 1
    counts = [len(s) for s in found]
    print(f"hits per scene: expected {EXPECTED}, got {counts}; "
          f"onsets {[round(t, 2) for s in found for t in s]}")
    if counts != EXPECTED:
        return 1
    x = stereo(path)
    reference = level(tone(x, found[0][0]))
    ok = True
    for scene, (volume, pan) in CONVERTED.items():
        clip = tone(x, found[scene][0])
        hz = pitch(clip)
        sides = level(clip) / reference
        want = expected_sides(volume, pan)
        good_pitch = abs(hz / 1000 - 1) < 0.01
        good_level = bool(np.all(np.abs(20 * np.log10(sides / want)) < 1.0))
        print(f"{'ok  ' if good_pitch else 'FAIL'} scene {scene + 1} pitch: expected 1000 Hz +- 1 %, got {hz:.1f}")
        print(f"{'ok  ' if good_level else 'FAIL'} scene {scene + 1} left, right against the first tone: "
              f"expected {want.round(3)} +- 1 dB, got {sides.round(3)}")
        ok = ok and good_pitch and good_level
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
