// The audio engine: every bound slot's sample in memory with its gains baked
// in, and 32 wave-out streams that each play one voice. The platform mixes
// the streams; the engine does no arithmetic at play time.
#pragma once

#include <windows.h>

#include <cstdint>

#include "audio/output_channel.h"
#include "audio/sample_set.h"
#include "slots/sound_slot.h"

class AudioEngine {
public:
    // window receives the progress texts while loading; null sends none.
    AudioEngine(HWND window, CRITICAL_SECTION* lock);
    // Cuts and closes every channel before the buffers they read are freed.
    ~AudioEngine();
    // Closes every channel for good and refuses triggers from then on; false
    // when a stream would not close (see destroyEngine).
    bool shutDown();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // Copies the table, opens the 32 channels at rate and loads every slot,
    // within the set's total length in table order. A slot whose file, volume
    // and pan are as they were in previous, an engine already shut down,
    // takes its buffer from there instead of decoding the file again.
    void loadSamples(const SoundSlot* table, int32_t rate, int32_t count, AudioEngine* previous = nullptr);
    // The wave-out volume word (low 16 bits left, high 16 bits right) on every channel.
    void setMasterVolume(uint32_t volume);
    // Re-opens every channel at rate; the sample buffers stay as they are.
    void changeSampleRate(int32_t rate);
    // Starts the slot's sample on the lowest free channel; dropped when all
    // are busy. A closed hi-hat cuts every open hi-hat still sounding. Channels
    // without a stream (no device, or a lost one) are opened again first, at
    // most once a second.
    void trigger(const SoundSlot& slot);

    int32_t sampleRate() const { return rate_; }
    // The platform's answer when a channel last failed to open.
    MMRESULT openError() const { return openError_; }
    const OutputChannel& channel(int i) const { return channels_[i]; }
    const SampleSet& samples() const { return samples_; }
    const uint8_t* sampleData(int slotIndex) const { return samples_.data(slotIndex); }
    uint32_t sampleLength(int slotIndex) const { return samples_.length(slotIndex); }
    WavProblem sampleProblem(int slotIndex) const { return samples_.problem(slotIndex); }

private:
    // tell: progress texts for the splash.
    void openChannels(bool tell = true);
    static void sendLoaded(const char* path, void* self);
    void reopenLostChannels();
    // The slot's buffer on channel, which is free.
    void startVoice(OutputChannel& channel, const SoundSlot& slot);
    // False when a stream would not close; it stays open and busy.
    bool closeChannels();
    void sendProgress(const char* text);
    static void CALLBACK onChannelDone(HWAVEOUT handle, UINT message, DWORD_PTR instance,
                                       DWORD_PTR param1, DWORD_PTR param2);

    HWND window_;
    CRITICAL_SECTION* lock_;  // the key path's lock; kept, never taken here
    int32_t rate_ = 0;
    SampleSet samples_;
    OutputChannel channels_[kOutputChannels] = {};
    bool closing_ = false;  // channels are being closed or reopened
    MMRESULT openError_ = MMSYSERR_NOERROR;
    DWORD lastOpen_ = 0;  // tick count of the last opening
    uint32_t volume_ = 0;
    bool volumeSet_ = false;
};

// Results that mean no device answers, rather than a format it refuses.
bool isDeviceGone(MMRESULT r);
// The platform's open call; tests answer as a machine without a sound device.
extern MMRESULT(WINAPI* waveOpenCall)(LPHWAVEOUT, UINT, LPCWAVEFORMATEX, DWORD_PTR, DWORD_PTR, DWORD);

// Shuts the engine down and frees it, unless a stream of it would not close.
void destroyEngine(AudioEngine* engine);
