#!/usr/bin/env python3
"""Judges a recording of program_keylog_play: the live scene's three hits
sit as far apart as the steps the keys were recorded at (take_steps.txt,
written by the player beside the recording), the replay's three hits keep
that spacing, and the stopped replay stays silent."""
import os
import sys

import numpy as np

from capture_hits import scenes

STEP_SECONDS = 0.004
# Hits are found to 5 ms, and the sound server adds its own jitter.
TOLERANCE = 0.04


def main(path):
    steps_file = os.path.join(os.path.dirname(path), "take_steps.txt")
    if not os.path.exists(steps_file):
        print("FAIL the player recorded no steps to compare with")
        return 1
    recorded = np.diff([int(s) for s in open(steps_file).read().split()]) * STEP_SECONDS
    found = scenes(path, 1.2)
    if found is None:
        print("FAIL no sound reached the sink")
        return 1
    counts = [len(s) for s in found]
    print(f"hits per scene: expected [3, 3], got {counts}; "
          f"onsets {[round(t, 3) for s in found for t in s]}")
    if counts != [3, 3]:
        return 1
    live, replay = np.diff(found[0]), np.diff(found[1])
    print(f"spacing recorded {np.round(recorded, 3)}, live {np.round(live, 3)}, "
          f"replayed {np.round(replay, 3)}")
    failed = 0
    if np.abs(live - recorded).max() > TOLERANCE:
        print("FAIL the keys were not recorded at the steps where they were heard")
        failed = 1
    if np.abs(replay - recorded).max() > TOLERANCE:
        print("FAIL the replay does not keep the recorded spacing")
        failed = 1
    return failed


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
