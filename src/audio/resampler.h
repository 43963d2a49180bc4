// Band-limited rate conversion of a sample to the engine's 44100 Hz.
//
// A polyphase windowed-sinc filter: the output rate and the input rate are
// reduced by their greatest common divisor to up / down, and each of the up
// phases (the fractional input positions an output frame can fall on) has its
// own row of taps, built once (an odd rate with too many phases has its rows
// drawn between fewer). The kernel is a sinc cut between the pass band, flat
// to 0.9 of the lower of the two Nyquist frequencies, and that Nyquist
// frequency, under a Kaiser window; each row sums to one, so the level of a
// tone is kept. Positions are whole-number arithmetic and every sum is taken
// in the same order, so a file gives the same buffer on every run; the vector
// kernels a processor may have add in orders of their own, which can move a
// sample by one step and no more.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class Resampler {
public:
    explicit Resampler(uint32_t inputRate);

    // The frames that frames input frames become: as long in time, rounded up.
    uint64_t outputFrames(uint64_t frames) const;
    // in holds frames of channels (1 or 2) interleaved samples in 16-bit
    // units; out receives outputFrames(frames) stereo frames, rounded and
    // clamped. A single channel is sent to both sides.
    void run(const float* in, size_t frames, int channels, int16_t* out) const;

    int tapsPerPhase() const { return width_; }

private:
    size_t rowAt(uint32_t r) const { return pad_ + static_cast<size_t>(r) * (width_ + pad_); }
    const float* row(uint32_t r) const { return &taps_[rowAt(r)]; }
    // The taps for a phase between two of the rows, drawn into row.
    const float* drawRow(uint32_t phase, float* row) const;
    // The first output frames, as eight stretches of segment frames side by
    // side in vectors (sixteen for a mono file); segment is a multiple of up_.
    void runLanes(const float* in, size_t frames, int channels, uint64_t segment, int16_t* out) const;
    // Upsampling by two or four, the same through the folded taps, as many
    // stretches as two vectors hold lanes (a side each of a stereo file);
    // segment is a multiple of 4.
    void runFolded(const float* in, size_t frames, int channels, uint64_t segment, int16_t* out) const;

    uint32_t up_ = 1;
    uint32_t down_ = 1;
    uint32_t rows_ = 1;         // up_, or fewer rows at even steps
    int width_ = 8;             // taps a row, a multiple of 8 so that vectors fill it
    int pad_ = 0;               // zeros before, between and after the rows
    std::vector<float> taps_;   // rows of width_ taps
    std::vector<float> folded_; // by two or four, up_ taps a distance from the position
};
