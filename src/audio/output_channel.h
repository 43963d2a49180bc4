// One wave-out stream of the engine's 32, playing one voice at a time.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <atomic>
#include <cstdint>

#include "audio/voice_rules.h"

struct OutputChannel {
    HWAVEOUT handle;
    WAVEFORMATEX format;
    WAVEHDR header;
    char name[10];                 // "WOUT%d", also the name of doneEvent
    HANDLE doneEvent;              // signalled at every completion
    // Set by trigger on the main thread, cleared by the completion callback
    // on the platform's wave thread.
    std::atomic<uint32_t> busy;
    int32_t index;                 // own index 0..31, also the header's user word
    int32_t voiceSlot;             // slotIndex of the voice now or last playing
    int32_t voicePart;             // partId of that voice
};
