// The floor of the key-to-sound benchmark: the least a Win32 program can do
// between a key and its sound under the same Wine. A window that, on each key
// down, writes a ready sample to the next of four wave-out streams of the
// wave mapper; nothing is drawn. M sounds a 1 ms click in the left channel,
// any other key a 100 ms square wave in the right, as the benchmark's kit
// does, so that a flam's two hits are heard apart.
//
// Started with the argument "lowest-free" it takes streams as the drum
// kit's engine does instead: 32 of them, each free again at its completion
// callback, the lowest free one taken. Under Wine a stream taken again
// within milliseconds of its completion can wait a period before it sounds,
// and a flam's second hit meets that whenever the first was short.
#include <windows.h>

#include <mmsystem.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int kMaxStreams = 32;
constexpr int kRate = 44100;

int streamCount = 4;
bool lowestFree;
HWAVEOUT streams[kMaxStreams];
WAVEHDR tones[kMaxStreams], clicks[kMaxStreams];
volatile LONG busy[kMaxStreams];
std::vector<int16_t> tone, click;
int nextStream;

void CALLBACK streamDone(HWAVEOUT, UINT message, DWORD_PTR stream, DWORD_PTR, DWORD_PTR)
{
    if (message == WOM_DONE)
        busy[stream] = 0;
}

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
    for (int i = 0; i < streamCount; ++i) {
        waveOutOpen(&streams[i], WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(&streamDone),
                    static_cast<DWORD_PTR>(i), CALLBACK_FUNCTION);
        prepare(streams[i], tones[i], tone);
        prepare(streams[i], clicks[i], click);
    }
}

void closeStreams()
{
    for (int i = 0; i < streamCount; ++i) {
        waveOutReset(streams[i]);
        waveOutUnprepareHeader(streams[i], &tones[i], sizeof tones[i]);
        waveOutUnprepareHeader(streams[i], &clicks[i], sizeof clicks[i]);
        waveOutClose(streams[i]);
    }
}

LRESULT CALLBACK floorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && !(lParam & 0x40000000)) {
        int stream = nextStream;
        if (lowestFree) {
            stream = 0;
            while (stream < streamCount - 1 && busy[stream])
                ++stream;
        }
        busy[stream] = 1;
        WAVEHDR& header = wParam == 'M' ? clicks[stream] : tones[stream];
        waveOutWrite(streams[stream], &header, sizeof header);
        nextStream = (stream + 1) % streamCount;
        return 0;
    }
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show)
{
    if (std::strstr(commandLine, "lowest-free")) {
        lowestFree = true;
        streamCount = kMaxStreams;
    }
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
