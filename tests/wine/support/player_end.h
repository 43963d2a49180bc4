// The last line a capture player prints, after everything it opened is closed
// again. Under Wine the process has been seen to die of a segmentation fault
// after that point, while Wine ends the process; capture_test.sh then judges
// the player by the exit code this line gives.
#pragma once

// Prints "player ends with exit code <code>" and returns code.
int PlayerEnds(int code);
