// The program's end, asked for on the main thread.
#pragma once

// Posts the quit message (exit code 0) and marks the quit as asked for. A
// modal loop that takes the quit message is meant to post it again, but
// Wine's menu loop drops it: the main loop ends at the mark as well, once the
// modal loops around the request have returned.
void RequestQuit();
bool QuitRequested();
