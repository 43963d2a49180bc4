#!/usr/bin/env python3
"""Judges a recording of program_keys_play: the scenes are the stretches of
sound between silences of 2.2 s or more; each must hold the hits it played."""
import sys

from capture_hits import scenes

EXPECTED = [1, 2, 3, 2]


def main(path):
    found = scenes(path, 2.2)
    if found is None:
        print("FAIL no sound reached the sink")
        return 1
    counts = [len(s) for s in found]
    print(f"hits per scene: expected {EXPECTED}, got {counts}; "
          f"onsets {[round(t, 2) for s in found for t in s]}")
    return 0 if counts == EXPECTED else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
