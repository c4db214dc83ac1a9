// Band values of an FFT block and the falling peak and bar heights that the spectrum view and
// the level meter both keep per band. Used on the main thread only.
#pragma once

#include "vis/CommonTypes.h"

#include <array>
#include <cstdint>

// Bands 0..128 read FFT values 5, 5 + stride, ...: the five lowest values are never shown.
constexpr int kBandCount = 129;
constexpr int kFirstBandValue = 5;
// An FFT magnitude times this is a band value in pixels (0.09 fills a 45-pixel bar).
constexpr double kBandScale = 500.0;

using TBandHeights = std::array<int32_t, kBandCount>;

// Trunc(|F[5 + band × stride]| × 500), at most heightCap.
int32_t BandValue(const TFFTBlock& fft, int band, int32_t stride, int32_t heightCap);

// Moves every band's peak and bar towards this block's band value: raised at once to a louder
// value, otherwise lowered by its fall and held at 0. Returns the largest band value (0 or more).
int32_t FollowBands(const TFFTBlock& fft, int32_t stride, int32_t heightCap, int32_t peakFall,
                    int32_t barFall, TBandHeights& peaks, TBandHeights& bars);

// Trunc(√(m / 128) × 130): the loudness figure of a block whose largest band value is m.
int32_t LevelOf(int32_t loudestBand);
