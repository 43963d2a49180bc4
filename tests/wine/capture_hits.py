"""The hits in a recording of the null sink (raw s16le stereo at 44100 Hz):
a hit is a rise from silence, and a scene is a run of hits with no silence
of gap seconds or more between them."""
import numpy as np

RATE = 44100
STEP = 0.005


def stereo(path):
    """The recording as rows of (left, right)."""
    raw = np.fromfile(path, dtype="<i2")
    return raw[: len(raw) // 2 * 2].reshape(-1, 2).astype(float)


def scenes(path, gap):
    """The onset times of the hits, grouped into scenes; None when the
    recording holds no sound at all."""
    x = stereo(path).mean(axis=1)
    n = int(STEP * RATE)
    env = np.sqrt((x[: len(x) // n * n].reshape(-1, n) ** 2).mean(axis=1))
    if len(env) == 0 or env.max() < 100:
        return None
    loud = env > 0.2 * env.max()
    onsets = [i * STEP for i in range(1, len(loud)) if loud[i] and not loud[max(0, i - 20):i].any()]
    grouped = []
    for t in onsets:
        if grouped and t - grouped[-1][-1] < gap:
            grouped[-1].append(t)
        else:
            grouped.append([t])
    return grouped


def loudness(path):
    """The magnitude of each channel at each frame of a recording: an array
    of frames by (left, right)."""
    raw = np.fromfile(path, dtype="<i2")
    return np.abs(raw[: len(raw) // 2 * 2].reshape(-1, 2).astype(np.int32))


def onset(level, start, threshold=2000, quiet=44):
    """The first frame at or after start that is louder than threshold after
    quiet frames that are not; None when there is none."""
    start = max(int(start), quiet)
    loud = np.flatnonzero(level[start:] > threshold) + start
    for i in loud:
        if not (level[i - quiet:i] > threshold).any():
            return int(i)
    return None
