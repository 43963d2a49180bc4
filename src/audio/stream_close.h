// Closing one wave-out stream so that the platform reads its buffer no more.
#pragma once

#include <windows.h>

#include <mmsystem.h>

// The platform's calls that close a stream. The tests replace them to answer
// as Windows does while a buffer is still queued, which Wine never does.
struct StreamCloseCalls {
    MMRESULT(WINAPI* reset)(HWAVEOUT);
    MMRESULT(WINAPI* unprepare)(HWAVEOUT, LPWAVEHDR, UINT);
    MMRESULT(WINAPI* close)(HWAVEOUT);
};
extern StreamCloseCalls streamCloseCalls;

// Resets the stream, unprepares its header and closes it. Windows answers
// WAVERR_STILLPLAYING to both while a buffer is queued; the stream is then
// reset again and the call repeated a few times. False when it stays open:
// the platform may still read the header's buffer and call the stream's
// callback, so neither may be freed.
bool closeStream(HWAVEOUT handle, WAVEHDR* header);
