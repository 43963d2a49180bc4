#include "audio/audio_engine.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/device_error.h"
#include "audio/engine_form.h"
#include "audio/stream_close.h"
#include "slots/part_names.h"
#include "util/debug_trace.h"
#include "util/program_messages.h"

namespace {

// Error hook codes of the engine's platform calls.
enum : int {
    kErrOpen = 2,
    kErrEvent = 3,
    kErrPrepare = 4,
    kErrWrite = 5,
    kErrChokeReset = 8,
};

char kWaveTag[] = "Wave";

constexpr DWORD kReopenIntervalMs = 1000;

}  // namespace

bool isDeviceGone(MMRESULT r)
{
    return r == MMSYSERR_NODRIVER || r == MMSYSERR_BADDEVICEID || r == MMSYSERR_NOTENABLED
           || r == MMSYSERR_INVALHANDLE || r == MMSYSERR_ERROR;
}

MMRESULT(WINAPI* waveOpenCall)(LPHWAVEOUT, UINT, LPCWAVEFORMATEX, DWORD_PTR, DWORD_PTR, DWORD) = waveOutOpen;

AudioEngine::AudioEngine(HWND window, CRITICAL_SECTION* lock) : window_(window), lock_(lock)
{
    std::memset(slots_, 0, sizeof slots_);
    prepareDeviceErrorReports();
}

AudioEngine::~AudioEngine()
{
    bool closed = shutDown();
    for (OutputChannel& ch : channels_)
        if (ch.doneEvent)
            CloseHandle(ch.doneEvent);
    // A stream that would not close may still read its buffer.
    if (closed)
        for (uint8_t* data : samples_)
            std::free(data);
}

bool AudioEngine::shutDown()
{
    closing_ = true;
    return closeChannels();
}

void destroyEngine(AudioEngine* engine)
{
    // An engine with a stream that would not close is still the instance of
    // that stream's callback: it is left alive, buffers and all.
    if (engine && engine->shutDown())
        delete engine;
}

void AudioEngine::loadSamples(const SoundSlot* table, int32_t rate, int32_t count, AudioEngine* previous)
{
    std::memcpy(slots_, table, sizeof slots_);
    rate_ = rate;
    slotCount_ = count < 0 ? 0 : count > kSlotTableSize ? kSlotTableSize : count;
    sendProgress("WAVデバイスのオープン");
    openChannels();
    buildGainTables(&gains_);
    uint64_t setBytes = 0;
    for (int i = 0; i < slotCount_; ++i) {
        const SoundSlot& slot = slots_[i];
        if (slot.slotIndex < 0 || slot.slotIndex >= kSlotTableSize)
            continue;
        loadSlot(slot, previous, &setBytes);
        sendProgress(slot.path);
    }
}

void AudioEngine::loadSlot(const SoundSlot& slot, AudioEngine* previous, uint64_t* setBytes)
{
    const int i = slot.slotIndex;
    std::free(samples_[i]);
    samples_[i] = nullptr;
    sampleLengths_[i] = 0;
    stamps_[i] = SampleStamp{};
    uint64_t room = kSetBytes - *setBytes;
    bool stamped = stampSample(slot.path, &stamps_[i]);
    if (stamped && takeBuffer(slot, previous, room)) {
        problems_[i] = WavProblem::None;
    } else {
        uint64_t most = room < kSlotBytes ? room : kSlotBytes;
        problems_[i] = loadSample(slot.path, gains_, slot.volume, slot.pan, most, &samples_[i], &sampleLengths_[i]);
        if (problems_[i] == WavProblem::TooLong && most < kSlotBytes)
            problems_[i] = WavProblem::SetTooLong;
    }
    *setBytes += sampleLengths_[i];
}

bool AudioEngine::takeBuffer(const SoundSlot& slot, AudioEngine* previous, uint64_t room)
{
    if (!previous)
        return false;
    const int i = slot.slotIndex;
    for (int j = 0; j < kSlotTableSize; ++j) {
        const SoundSlot& old = previous->slots_[j];
        if (!previous->samples_[j] || previous->sampleLengths_[j] > room || !(previous->stamps_[j] == stamps_[i])
            || old.volume != slot.volume || old.pan != slot.pan || std::strcmp(old.path, slot.path) != 0)
            continue;
        samples_[i] = previous->samples_[j];
        sampleLengths_[i] = previous->sampleLengths_[j];
        previous->samples_[j] = nullptr;
        previous->sampleLengths_[j] = 0;
        return true;
    }
    return false;
}

void AudioEngine::setMasterVolume(uint32_t volume)
{
    volume_ = volume;
    volumeSet_ = true;
    for (OutputChannel& ch : channels_)
        waveOutSetVolume(ch.handle, volume);
}

void AudioEngine::reopenLostChannels()
{
    bool lost = false;
    for (const OutputChannel& ch : channels_)
        lost = lost || !ch.handle;
    // A device that comes back (a headset plugged in again) plays without a
    // restart; a key waits on a failing open at most once a second.
    if (!lost || GetTickCount() - lastOpen_ < kReopenIntervalMs)
        return;
    openChannels(false);
    if (volumeSet_)
        for (OutputChannel& ch : channels_)
            if (ch.handle)
                waveOutSetVolume(ch.handle, volume_);
}

void AudioEngine::changeSampleRate(int32_t rate)
{
    closing_ = true;
    closeChannels();
    rate_ = rate;
    openChannels();
    closing_ = false;
}

void AudioEngine::openChannels(bool tell)
{
    lastOpen_ = GetTickCount();
    for (int i = 0; i < kOutputChannels; ++i) {
        OutputChannel& ch = channels_[i];
        if (ch.handle)
            continue;  // would not close: it plays on at its old rate
        ch.format.wFormatTag = WAVE_FORMAT_PCM;
        ch.format.nChannels = 2;
        ch.format.nSamplesPerSec = static_cast<DWORD>(rate_);
        ch.format.nAvgBytesPerSec = static_cast<DWORD>(rate_) * 4;
        ch.format.nBlockAlign = 4;
        ch.format.wBitsPerSample = 16;
        ch.format.cbSize = 0;
        MMRESULT r = waveOpenCall(&ch.handle, WAVE_MAPPER, &ch.format,
                                  reinterpret_cast<DWORD_PTR>(&AudioEngine::onChannelDone),
                                  reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
        if (r != MMSYSERR_NOERROR) {
            ErrorHook(kErrOpen, static_cast<long>(r));
            ch.handle = nullptr;
            openError_ = r;
        }
        std::snprintf(ch.name, sizeof ch.name, "WOUT%d", i);
        // A rate change re-opens the channels: the event made the first time stays.
        if (!ch.doneEvent) {
            ch.doneEvent = CreateEventA(nullptr, FALSE, FALSE, ch.name);
            if (!ch.doneEvent)
                ErrorHook(kErrEvent, static_cast<long>(GetLastError()));
        }
        ch.index = i;
        ch.busy.store(0);
        char text[64];
        std::snprintf(text, sizeof text, "デバイスのオープン%s", ch.name);
        if (tell)
            sendProgress(text);
    }
}

bool AudioEngine::closeChannels()
{
    bool closed = true;
    for (OutputChannel& ch : channels_) {
        if (!ch.handle)
            continue;
        if (!closeStream(ch.handle, &ch.header)) {
            closed = false;
            continue;
        }
        ch.handle = nullptr;
        // A closed stream reports nothing more: the channel is free.
        ch.busy.store(0);
    }
    return closed;
}

void AudioEngine::trigger(const SoundSlot& slot)
{
    // Keys are handled inside the platform's closing and opening calls; a
    // voice started then would be on a stream being closed.
    if (closing_ || slot.slotIndex < 0 || slot.slotIndex >= kSlotTableSize)
        return;
    reopenLostChannels();
    // A silent slot takes no channel, but a closed hi-hat still cuts.
    if (samples_[slot.slotIndex])
        startVoice(slot);
    if (slot.partId == DR_HIHAT_CLOSE)
        for (OutputChannel& c : channels_)
            if (c.voicePart == DR_HIHAT_OPEN && c.busy.load() == 1) {
                MMRESULT reset = waveOutReset(c.handle);
                if (reset != MMSYSERR_NOERROR)
                    ErrorHook(kErrChokeReset, static_cast<long>(reset));
            }
}

void AudioEngine::startVoice(const SoundSlot& slot)
{
    OutputChannel* ch = nullptr;
    for (OutputChannel& c : channels_)
        if (c.busy.load() == 0 && c.handle) {
            ch = &c;
            break;
        }
    if (!ch)
        return;  // all 32 sounding: the hit is dropped, no voice is stolen

    ch->busy.store(1);
    ch->voiceSlot = slot.slotIndex;
    ch->voicePart = slot.partId;
    ch->header.lpData = reinterpret_cast<LPSTR>(samples_[slot.slotIndex]);
    ch->header.dwBufferLength = sampleLengths_[slot.slotIndex];
    ch->header.dwFlags = 0;
    ch->header.dwLoops = 0;
    ch->header.dwUser = static_cast<DWORD_PTR>(ch->index);
    MMRESULT r = waveOutPrepareHeader(ch->handle, &ch->header, sizeof ch->header);
    if (r != MMSYSERR_NOERROR)
        ErrorHook(kErrPrepare, static_cast<long>(r));
    else if ((r = waveOutWrite(ch->handle, &ch->header, sizeof ch->header)) != MMSYSERR_NOERROR)
        ErrorHook(kErrWrite, static_cast<long>(r));
    // A voice that never started gets no completion: free its channel now.
    if (r != MMSYSERR_NOERROR)
        ch->busy.store(0);
    // The device went away under the stream: it is closed, told once, and
    // opened again at a later key.
    if (isDeviceGone(r) && closeStream(ch->handle, &ch->header)) {
        ch->handle = nullptr;
        reportOutputLost();
    }
}

void CALLBACK AudioEngine::onChannelDone(HWAVEOUT, UINT message, DWORD_PTR instance,
                                         DWORD_PTR param1, DWORD_PTR)
{
    if (message != WOM_DONE)
        return;
    auto* engine = reinterpret_cast<AudioEngine*>(instance);
    auto* header = reinterpret_cast<WAVEHDR*>(param1);
    DWORD_PTR index = header->dwUser;
    if (index >= kOutputChannels)
        return;
    OutputChannel& ch = engine->channels_[index];
    if (!SetEvent(ch.doneEvent))
        reportDeviceError(1);
    ch.busy.store(0);
}

void AudioEngine::sendProgress(const char* text)
{
    if (window_)
        SendMessageA(window_, kProgressTextMessage, reinterpret_cast<WPARAM>(text),
                     reinterpret_cast<LPARAM>(kWaveTag));
}
