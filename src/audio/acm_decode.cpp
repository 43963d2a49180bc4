#include "audio/acm_decode.h"

#include <windows.h>

#include <mmreg.h>
#include <msacm.h>

#include <cstdlib>
#include <cstring>

#include "audio/wav_format_check.h"

namespace {

// Every codec's own bytes after the common ones fit here: the longest, MS
// ADPCM's coefficient table, takes 32.
constexpr size_t kMostFormatBytes = 256;
// About this much compressed audio goes to the codec in one call.
constexpr uint32_t kPieceBytes = 32768;

// The fmt chunk as the codec's source format, with the codec's own bytes
// after the common ones. A 16-byte chunk has no count of them: it is 0.
struct SourceFormat {
    alignas(WAVEFORMATEX) uint8_t bytes[kMostFormatBytes];
    WAVEFORMATEX* format() { return reinterpret_cast<WAVEFORMATEX*>(bytes); }
};

void fillSource(const WavChunks& chunks, SourceFormat* source)
{
    std::memset(source->bytes, 0, sizeof source->bytes);
    size_t held = chunks.fmtBytes < sizeof source->bytes ? chunks.fmtBytes : sizeof source->bytes;
    std::memcpy(source->bytes, chunks.fmt, held);
    size_t extra = held > sizeof(WAVEFORMATEX) ? held - sizeof(WAVEFORMATEX) : 0;
    if (source->format()->cbSize > extra)
        source->format()->cbSize = static_cast<WORD>(extra);
}

// The codec's output grows in this block; false when it cannot.
struct Output {
    uint8_t* data = nullptr;
    size_t bytes = 0;
    size_t room = 0;
};

bool append(Output* out, const uint8_t* bytes, size_t count)
{
    if (out->bytes + count > out->room) {
        size_t room = out->room ? out->room * 2 : kPieceBytes * 8;
        while (room < out->bytes + count)
            room *= 2;
        auto* grown = static_cast<uint8_t*>(std::realloc(out->data, room));
        if (!grown)
            return false;
        out->data = grown;
        out->room = room;
    }
    std::memcpy(out->data + out->bytes, bytes, count);
    out->bytes += count;
    return true;
}

// One source buffer and one destination buffer, prepared once; each piece
// is copied in, as a prepared header's buffers may not move.
WavProblem convertPieces(HACMSTREAM stream, const WavChunks& chunks, uint32_t piece, uint32_t dstBytes,
                         uint64_t mostBytes, Output* out)
{
    auto* src = static_cast<uint8_t*>(std::malloc(piece));
    auto* dst = static_cast<uint8_t*>(std::malloc(dstBytes));
    ACMSTREAMHEADER header = {};
    header.cbStruct = sizeof header;
    header.pbSrc = src;
    header.cbSrcLength = piece;
    header.pbDst = dst;
    header.cbDstLength = dstBytes;
    WavProblem problem = src && dst ? WavProblem::None : WavProblem::NoMemory;
    if (problem == WavProblem::None && acmStreamPrepareHeader(stream, &header, 0) != 0)
        problem = WavProblem::Damaged;
    bool prepared = problem == WavProblem::None;
    uint32_t at = 0, held = 0;  // of the data chunk sent; of it waiting in src
    DWORD flags = ACM_STREAMCONVERTF_START;
    while (problem == WavProblem::None) {
        uint32_t take = chunks.dataBytes - at < piece - held ? chunks.dataBytes - at : piece - held;
        std::memcpy(src + held, chunks.data + at, take);
        at += take;
        held += take;
        bool last = at == chunks.dataBytes;
        header.cbSrcLength = held;
        header.cbDstLength = dstBytes;
        flags |= last ? ACM_STREAMCONVERTF_END : ACM_STREAMCONVERTF_BLOCKALIGN;
        if (acmStreamConvert(stream, &header, flags) != 0 || header.cbSrcLengthUsed > held
            || header.cbDstLengthUsed > dstBytes) {
            problem = WavProblem::Damaged;
            break;
        }
        flags = 0;
        if (!append(out, dst, header.cbDstLengthUsed))
            problem = WavProblem::NoMemory;
        else if (out->bytes > mostBytes)
            problem = WavProblem::TooLong;
        bool moved = header.cbSrcLengthUsed || header.cbDstLengthUsed;
        held -= header.cbSrcLengthUsed;
        std::memmove(src, src + header.cbSrcLengthUsed, held);
        if (last && (held == 0 || !moved))
            break;
        // A full piece the codec neither reads nor answers would never end.
        if (!moved && held == piece)
            problem = WavProblem::Damaged;
    }
    if (prepared) {
        header.cbSrcLength = piece;
        header.cbDstLength = dstBytes;
        acmStreamUnprepareHeader(stream, &header, 0);
    }
    std::free(src);
    std::free(dst);
    return problem;
}

// A query opens nothing: stream is then null, as the platform asks.
bool openStream(const WavChunks& chunks, SourceFormat* source, WAVEFORMATEX* to, HACMSTREAM* stream, DWORD flags)
{
    fillSource(chunks, source);
    *to = {};
    to->wFormatTag = WAVE_FORMAT_PCM;
    return acmFormatSuggest(nullptr, source->format(), to, sizeof *to, ACM_FORMATSUGGESTF_WFORMATTAG) == 0
           && to->nChannels && to->nBlockAlign
           && acmStreamOpen(stream, nullptr, source->format(), to, nullptr, 0, 0, flags) == 0;
}

}  // namespace

bool acmDecodes(const WavChunks& chunks)
{
    SourceFormat source;
    WAVEFORMATEX to;
    return openStream(chunks, &source, &to, nullptr, ACM_STREAMOPENF_NONREALTIME | ACM_STREAMOPENF_QUERY);
}

WavProblem decodeWithAcm(const WavChunks& chunks, uint64_t mostFrames, PcmAudio* pcm)
{
    const WavFormat& f = chunks.format;
    SourceFormat source;
    WAVEFORMATEX to;
    HACMSTREAM stream = nullptr;
    if (!openStream(chunks, &source, &to, &stream, ACM_STREAMOPENF_NONREALTIME))
        return WavProblem::UnknownCodec;
    // Whole blocks, about kPieceBytes of them.
    uint32_t piece = f.blockAlign >= kPieceBytes ? f.blockAlign : kPieceBytes / f.blockAlign * f.blockAlign;
    // The codec's own estimate, held to what a piece of this format can
    // decode to: a header that lies to the codec must not size the buffer.
    DWORD estimate = 0;
    uint64_t bound = mostPcmBytes(f, piece) * to.nBlockAlign / (2u * f.channels) + to.nBlockAlign;
    WavProblem problem = WavProblem::None;
    if (acmStreamSize(stream, piece, &estimate, ACM_STREAMSIZEF_SOURCE) != 0 || estimate == 0)
        problem = WavProblem::Damaged;
    uint32_t dstBytes = static_cast<uint32_t>(estimate < bound ? estimate : bound);
    Output out;
    if (problem == WavProblem::None)
        problem = convertPieces(stream, chunks, piece, dstBytes, mostFrames * to.nBlockAlign, &out);
    acmStreamClose(stream, 0);
    if (problem == WavProblem::None && out.bytes == 0)
        problem = WavProblem::Empty;
    if (problem != WavProblem::None) {
        std::free(out.data);
        return problem;
    }
    pcm->data = out.data;
    pcm->bytes = static_cast<uint32_t>(out.bytes);
    pcm->format = {kWavePcm, to.nChannels, to.nSamplesPerSec, to.wBitsPerSample, to.nBlockAlign};
    return WavProblem::None;
}
