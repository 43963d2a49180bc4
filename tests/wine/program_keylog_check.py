#!/usr/bin/env python3
"""Judges a recording of program_keylog_play (raw s16le stereo at 44100 Hz):
the live scene's three hits and the replay's three hits, with the replay
keeping the live spacing; the stopped replay stays silent."""
import sys

import numpy as np

RATE = 44100
STEP = 0.005


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
        if scenes and t - scenes[-1][-1] < 1.2:
            scenes[-1].append(t)
        else:
            scenes.append([t])
    counts = [len(s) for s in scenes]
    print(f"hits per scene: expected [3, 3], got {counts}; onsets {[round(t, 3) for t in onsets]}")
    if counts != [3, 3]:
        return 1
    live = np.diff(scenes[0])
    replay = np.diff(scenes[1])
    print(f"spacing live {np.round(live, 3)}, replayed {np.round(replay, 3)}")
    if np.abs(live - replay).max() > 0.05:
        print("FAIL the replay does not keep the recorded spacing")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
