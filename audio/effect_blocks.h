// Parameter blocks the channel exchanges with the engine's effects, field by field in their
// fixed order of consecutive 32-bit values. Main thread only.
#pragma once

#include <cstdint>

struct TEQBlock {
    int32_t band = 0;
    uint32_t sampleRate = 0;
    float bandwidth = 0;
    float q = 0;
    float centre = 0;
    float gain = 0;
};

struct TFlangerBlock {
    float first = 0;        // base delay in ms
    uint32_t frequency = 0; // sample rate the delays are counted in
    float second = 0;       // tempo in beats per minute
    float level = 0;        // wet level 0..15, fully wet from 10 up
};

struct TEchoBlock {
    float dry = 0;
    float wet = 0;
    float feedback = 0;
    float delay = 0; // seconds
};

static_assert(sizeof(TEQBlock) == 24 && sizeof(TFlangerBlock) == 16 && sizeof(TEchoBlock) == 16);

namespace audio {

// Effect types, as the channel numbers them.
enum EffectType : int { kEqualiser = 5, kCut = 8, kFlanger = 9, kEcho = 13 };
inline constexpr int kEqBands = 10;
inline constexpr float kEqCentres[kEqBands] = {32, 64, 128, 250, 500, 1000, 2000, 4000, 8000, 16000};

} // namespace audio
