#include "audio/audio_engine.h"

#include <cstdio>

#include "audio/device_error.h"
#include "audio/stream_close.h"
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

AudioEngine::AudioEngine(HWND window, CRITICAL_SECTION* lock) : window_(window), lock_(lock) {}

AudioEngine::~AudioEngine()
{
    bool closed = shutDown();
    for (OutputChannel& ch : channels_)
        if (ch.doneEvent)
            CloseHandle(ch.doneEvent);
    // A stream that would not close may still read its buffer.
    if (!closed)
        samples_.abandon();
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
    rate_ = rate;
    sendProgress("WAVデバイスのオープン");
    openChannels();
    samples_.load(table, count, previous ? &previous->samples_ : nullptr, sendLoaded, this);
}

void AudioEngine::sendLoaded(const char* path, void* self)
{
    static_cast<AudioEngine*>(self)->sendProgress(path);
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
        ch.format = {WAVE_FORMAT_PCM, 2, static_cast<DWORD>(rate_), static_cast<DWORD>(rate_) * 4, 4, 16, 0};
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
    VoiceView voices[kOutputChannels];
    for (int i = 0; i < kOutputChannels; ++i)
        voices[i] = {channels_[i].handle != nullptr, channels_[i].busy.load() == 1, channels_[i].voicePart};
    VoicePlan plan = planHit(voices, slot.partId, samples_.data(slot.slotIndex) != nullptr);
    if (plan.start >= 0)
        startVoice(channels_[plan.start], slot);
    for (int i = 0; i < kOutputChannels; ++i)
        if (plan.cuts & (1u << i)) {
            MMRESULT reset = waveOutReset(channels_[i].handle);
            if (reset != MMSYSERR_NOERROR)
                ErrorHook(kErrChokeReset, static_cast<long>(reset));
        }
}

void AudioEngine::startVoice(OutputChannel& channel, const SoundSlot& slot)
{
    channel.busy.store(1);
    channel.voiceSlot = slot.slotIndex;
    channel.voicePart = slot.partId;
    channel.header.lpData = reinterpret_cast<LPSTR>(const_cast<uint8_t*>(samples_.data(slot.slotIndex)));
    channel.header.dwBufferLength = samples_.length(slot.slotIndex);
    channel.header.dwFlags = 0;
    channel.header.dwLoops = 0;
    channel.header.dwUser = static_cast<DWORD_PTR>(channel.index);
    MMRESULT r = waveOutPrepareHeader(channel.handle, &channel.header, sizeof channel.header);
    if (r != MMSYSERR_NOERROR)
        ErrorHook(kErrPrepare, static_cast<long>(r));
    else if ((r = waveOutWrite(channel.handle, &channel.header, sizeof channel.header)) != MMSYSERR_NOERROR)
        ErrorHook(kErrWrite, static_cast<long>(r));
    // A voice that never started gets no completion: free its channel now.
    if (r != MMSYSERR_NOERROR)
        channel.busy.store(0);
    // The device went away under the stream: it is closed, told once, and
    // opened again at a later key.
    if (isDeviceGone(r) && closeStream(channel.handle, &channel.header)) {
        channel.handle = nullptr;
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
