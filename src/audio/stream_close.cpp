#include "audio/stream_close.h"

#include "util/debug_trace.h"

StreamCloseCalls streamCloseCalls = {waveOutReset, waveOutUnprepareHeader, waveOutClose};

namespace {

// Error hook codes of the closing calls.
enum : int {
    kErrReset = 6,
    kErrUnprepare = 7,
    kErrClose = 9,
};

constexpr int kTries = 20;

void check(int code, MMRESULT result)
{
    if (result != MMSYSERR_NOERROR)
        ErrorHook(code, static_cast<long>(result));
}

}  // namespace

bool closeStream(HWAVEOUT handle, WAVEHDR* header)
{
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (attempt)
            Sleep(1);
        // Cuts the voice; on Windows every queued buffer is returned before
        // the call comes back.
        check(kErrReset, streamCloseCalls.reset(handle));
        MMRESULT r = streamCloseCalls.unprepare(handle, header, sizeof *header);
        check(kErrUnprepare, r);
        if (r == WAVERR_STILLPLAYING)
            continue;
        r = streamCloseCalls.close(handle);
        check(kErrClose, r);
        // Any other failure leaves no stream to read the buffer.
        if (r != WAVERR_STILLPLAYING)
            return true;
    }
    DebugLine("a wave-out stream would not close");
    return false;
}
