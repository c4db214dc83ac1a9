// The 1024-point spectrum of a stream's latest frames: (left+right)/2, Hann window, FFmpeg's
// real FFT, magnitudes 2|X[k]|/N for k = 0..511. Buffers are made once; main thread only.
#pragma once

#include <memory>

struct AVTXContext;

namespace audio {

class SampleTap;

class Spectrum
{
public:
    static constexpr int kPoints = 1024;
    static constexpr int kBins = kPoints / 2;

    Spectrum();
    ~Spectrum();
    void compute(const SampleTap& tap, float* magnitudes);

private:
    AVTXContext* tx_ = nullptr;
    void (*transform_)(AVTXContext*, void*, void*, ptrdiff_t) = nullptr;
    float window_[kPoints];
    // FFmpeg's SIMD transforms need aligned buffers.
    alignas(64) float input_[kPoints + 2];
    alignas(64) float output_[kPoints + 2]; // kBins + 1 complex values
};

} // namespace audio
