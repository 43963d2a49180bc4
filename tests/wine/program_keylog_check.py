#!/usr/bin/env python3
"""Judges a recording of program_keylog_play: the live scene's three hits and
the replay's three hits, with the replay keeping the live spacing; the
stopped replay stays silent."""
import sys

import numpy as np

from capture_hits import scenes


def main(path):
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
    print(f"spacing live {np.round(live, 3)}, replayed {np.round(replay, 3)}")
    if np.abs(live - replay).max() > 0.05:
        print("FAIL the replay does not keep the recorded spacing")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
