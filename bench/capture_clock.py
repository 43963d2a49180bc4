"""The wall-clock time of each frame captured from the null sink's monitor.

parec delivers the monitor in chunks of a millisecond or a few; each chunk is
stamped on arrival (CLOCK_MONOTONIC) with the count of frames received so far.
A chunk can arrive late, never early, so the earliest arrival in each tenth
of a second gives that stretch its offset. The sink's clock runs a little
fast or slow against the system's (the slope, from one stretch to the next);
and the offset jumps when the sink changes its block size, as it does when a
stream comes or goes: hence an offset of its own for every stretch, the least
of it and its two neighbours (a stretch whose every chunk came late is so
outvoted)."""
import numpy as np

RATE = 44100
STRETCH = RATE // 10
NOMINAL = 1e9 / RATE  # ns a frame


class Clock:
    def __init__(self, stamps):
        """stamps: (arrival ns, frames received) pairs."""
        stamps = np.asarray(stamps, dtype=float)
        t, n = stamps[:, 0], stamps[:, 1]
        behind = t - n * NOMINAL
        stretch = (n // STRETCH).astype(int)
        first = stretch.min()
        count = stretch.max() - first + 1
        least = np.full(count, np.inf)
        np.minimum.at(least, stretch - first, behind)
        heard = np.isfinite(least)
        steps = np.diff(least[heard]) / (np.diff(np.flatnonzero(heard)) * STRETCH)
        self.slope = NOMINAL + np.median(steps)
        local = least - (self.slope - NOMINAL) * (np.arange(count) + first) * STRETCH
        local[~heard] = np.inf
        padded = np.concatenate([[np.inf], local, [np.inf]])
        self.offsets = np.minimum(np.minimum(padded[:-2], padded[1:-1]), padded[2:])
        self.first = first
        # How far one stretch's offset lies from the next, 90th percentile
        # (the rare jumps fall outside it), plus one frame.
        near = np.abs(np.diff(local[heard]))
        self.resolution = np.percentile(near, 90) + NOMINAL

    def _offset(self, frame):
        i = int(np.clip(frame // STRETCH - self.first, 0, len(self.offsets) - 1))
        return self.offsets[i]

    def time(self, frame):
        """ns (CLOCK_MONOTONIC) at which the frame was captured."""
        return self._offset(frame) + frame * self.slope

    def frame(self, t):
        """The frame captured at t ns."""
        guess = (t - self.offsets[np.isfinite(self.offsets)][0]) / self.slope
        return (t - self._offset(guess)) / self.slope

    def drift(self):
        """How fast the sink's clock runs against the system's, in percent."""
        return (NOMINAL / self.slope - 1) * 100


def percentiles(values):
    """Median, 90th percentile and worst of a list."""
    v = np.asarray(values, dtype=float)
    return np.median(v), np.percentile(v, 90), v.max()
