// The floor of the key-to-sound benchmark: the least a Win32 program can do
// between a key and its sound under the same Wine. A window that, on each key
// down, writes a ready sample to the next of four wave-out streams of the
// wave mapper; nothing is drawn. M sounds a 1 ms click in the left channel,
// any other key a 100 ms square wave in the right, as the benchmark's kit
// does, so that a flam's two hits are heard apart.
#include <windows.h>

#include <mmsystem.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int kStreams = 4;
constexpr int kRate = 44100;

HWAVEOUT streams[kStreams];
WAVEHDR tones[kStreams], clicks[kStreams];
std::vector<int16_t> tone, click;
int nextStream;

// A 1 kHz square wave of frames frames in one channel, the other silent.
std::vector<int16_t> square(int frames, bool left)
{
    std::vector<int16_t> wave;
    for (int i = 0; i < frames; ++i) {
        int16_t v = (i / 22) % 2 ? -8000 : 8000;
        wave.push_back(left ? v : 0);
        wave.push_back(left ? 0 : v);
    }
    return wave;
}

void prepare(HWAVEOUT stream, WAVEHDR& header, std::vector<int16_t>& wave)
{
    header.lpData = reinterpret_cast<LPSTR>(wave.data());
    header.dwBufferLength = static_cast<DWORD>(wave.size() * sizeof(int16_t));
    waveOutPrepareHeader(stream, &header, sizeof header);
}

void openStreams()
{
    WAVEFORMATEX format = {WAVE_FORMAT_PCM, 2, kRate, kRate * 4, 4, 16, 0};
    tone = square(kRate / 10, false);
    click = square(kRate / 1000, true);
    for (int i = 0; i < kStreams; ++i) {
        waveOutOpen(&streams[i], WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL);
        prepare(streams[i], tones[i], tone);
        prepare(streams[i], clicks[i], click);
    }
}

void closeStreams()
{
    for (int i = 0; i < kStreams; ++i) {
        waveOutReset(streams[i]);
        waveOutUnprepareHeader(streams[i], &tones[i], sizeof tones[i]);
        waveOutUnprepareHeader(streams[i], &clicks[i], sizeof clicks[i]);
        waveOutClose(streams[i]);
    }
}

LRESULT CALLBACK floorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && !(lParam & 0x40000000)) {
        WAVEHDR& header = wParam == 'M' ? clicks[nextStream] : tones[nextStream];
        waveOutWrite(streams[nextStream], &header, sizeof header);
        nextStream = (nextStream + 1) % kStreams;
        return 0;
    }
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    openStreams();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = floorProc;
    wc.hInstance = instance;
    wc.lpszClassName = "WaveOutFloor";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "WaveOutFloor", "waveOut floor", WS_OVERLAPPEDWINDOW, 0, 0,
                                  300, 200, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    closeStreams();
    return 0;
}
