#include "audio/acm_decode.h"

#include <windows.h>

#include <mmreg.h>
#include <msacm.h>

#include <cstring>

namespace {

// The fmt chunk as the codec's source format, with the codec's own bytes
// after the common ones. A 16-byte chunk has no count of them: it is 0.
std::vector<uint8_t> sourceFormat(const WavChunks& chunks)
{
    std::vector<uint8_t> bytes(chunks.fmtBytes < sizeof(WAVEFORMATEX) ? sizeof(WAVEFORMATEX) : chunks.fmtBytes);
    std::memcpy(bytes.data(), chunks.fmt, chunks.fmtBytes);
    auto* format = reinterpret_cast<WAVEFORMATEX*>(bytes.data());
    size_t extra = bytes.size() - sizeof(WAVEFORMATEX);
    if (format->cbSize > extra)
        format->cbSize = static_cast<WORD>(extra);
    return bytes;
}

bool convert(HACMSTREAM stream, const WavChunks& chunks, std::vector<uint8_t>* pcm)
{
    DWORD most = 0;
    if (acmStreamSize(stream, chunks.dataBytes, &most, ACM_STREAMSIZEF_SOURCE) != 0 || most == 0)
        return false;
    pcm->resize(most);
    ACMSTREAMHEADER header = {};
    header.cbStruct = sizeof header;
    header.pbSrc = const_cast<BYTE*>(chunks.data);
    header.cbSrcLength = chunks.dataBytes;
    header.pbDst = pcm->data();
    header.cbDstLength = most;
    if (acmStreamPrepareHeader(stream, &header, 0) != 0)
        return false;
    bool done = acmStreamConvert(stream, &header, ACM_STREAMCONVERTF_START | ACM_STREAMCONVERTF_END) == 0;
    pcm->resize(done ? header.cbDstLengthUsed : 0);
    acmStreamUnprepareHeader(stream, &header, 0);
    return done;
}

}  // namespace

bool decodeWithAcm(const WavChunks& chunks, std::vector<uint8_t>* pcm, WavFormat* format)
{
    if (chunks.dataBytes == 0)
        return false;
    std::vector<uint8_t> source = sourceFormat(chunks);
    auto* from = reinterpret_cast<WAVEFORMATEX*>(source.data());
    WAVEFORMATEX to = {};
    to.wFormatTag = WAVE_FORMAT_PCM;
    if (acmFormatSuggest(nullptr, from, &to, sizeof to, ACM_FORMATSUGGESTF_WFORMATTAG) != 0)
        return false;
    HACMSTREAM stream = nullptr;
    if (acmStreamOpen(&stream, nullptr, from, &to, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) != 0)
        return false;
    bool decoded = convert(stream, chunks, pcm);
    acmStreamClose(stream, 0);
    format->tag = kWavePcm;
    format->channels = to.nChannels;
    format->rate = to.nSamplesPerSec;
    format->bits = to.wBitsPerSample;
    return decoded;
}
