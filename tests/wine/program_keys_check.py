#!/usr/bin/env python3
"""Judges a recording of program_keys_play (raw s16le stereo at 44100 Hz):
the scenes are the stretches of sound between silences of 2.2 s or more, and
a hit is a rise from silence; each scene must hold the hits it played."""
import sys

import numpy as np

RATE = 44100
STEP = 0.005
EXPECTED = [1, 2, 3, 2]


def main(path):
    raw = np.fromfile(path, dtype="<i2")
    x = raw[: len(raw) // 2 * 2].reshape(-1, 2).astype(float).mean(axis=1)
    n = int(STEP * RATE)
    env = np.sqrt((x[: len(x) // n * n].reshape(-1, n) ** 2).mean(axis=1))
    if len(env) == 0 or env.max() < 100:
        print("FAIL no sound reached the sink")
        return 1
    loud = env > 0.2 * env.max()
    onsets = [i * STEP for i in range(1, len(loud)) if loud[i] and not loud[max(0, i - 20):i].any()]
    scenes = []
    for t in onsets:
        if scenes and t - scenes[-1][-1] < 2.2:
            scenes[-1].append(t)
        else:
            scenes.append([t])
    counts = [len(s) for s in scenes]
    print(f"hits per scene: expected {EXPECTED}, got {counts}; onsets {[round(t, 2) for t in onsets]}")
    return 0 if counts == EXPECTED else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
