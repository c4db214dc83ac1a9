// Bounds on sample values. A corrupt float file decodes to anything a float can hold: NaN,
// infinities, values up to 1e38 and denormals. Decoded samples are held within a few dB of
// full scale before anything with memory (converter, filters, delay lines) sees them, and the
// device mix is held to full scale on its way out. Pure functions, any thread; no allocation.
#pragma once

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace audio {

// What a decoded sample may reach: +3 dB over full scale, room for the overs of a loud master.
inline constexpr float kDecodedPeak = 1.4125f;

// These run over every decoded sample and every period of the mix: written so that the compiler
// turns them into vector code (no branch per sample), and asked to even where the build's
// optimisation level would not.
#define VOLTARIA_VECTORISED __attribute__((optimize("vect-cost-model=dynamic"), noinline))

// NaN and infinities become silence, denormals zero, the rest is clamped to ±`peak`.
template <typename T>
VOLTARIA_VECTORISED inline void boundSamples(T* samples, size_t count, T peak)
{
    const T low = -peak, tiny = T(FLT_MIN), huge = T(FLT_MAX);
    for (size_t i = 0; i < count; ++i) {
        const T x = samples[i];
        const T a = std::fabs(x);
        // NaN fails both comparisons: with infinity and the denormals it is replaced by 0.
        const bool usable = (a >= tiny) & (a <= huge);
        const T clamped = x < low ? low : x > peak ? peak : x;
        samples[i] = usable ? clamped : T(0);
    }
}

// True when no sample of the block is NaN or infinite: their magnitude's bits are the highest.
VOLTARIA_VECTORISED inline bool allFinite(const float* samples, size_t count)
{
    uint32_t highest = 0;
    for (size_t i = 0; i < count; ++i) {
        uint32_t bits;
        std::memcpy(&bits, samples + i, sizeof bits);
        highest = std::max(highest, bits & 0x7FFFFFFFu);
    }
    return highest < 0x7F800000u; // the bits of infinity
}

#undef VOLTARIA_VECTORISED

} // namespace audio
