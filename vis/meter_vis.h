// TMeter: turns one FFT block of a channel into a single loudness figure for a level gauge (the
// decks' gauges, which the auto-mix's sensitivity trigger reads, and the preview's). Draws nothing.
// Used on the main thread by the deck monitors and the preview level timer.
#pragma once

#include "vis/CommonTypes.h"
#include "vis/band_levels.h"

#include <cstdint>

class TMeter
{
public:
    // The two bounds (the main window passes 0 and 100) are not used: the fields below are fixed.
    TMeter(int32_t low, int32_t high);

    int32_t HeightCap = 100;   // largest band value
    int32_t SecondBound = 0;   // kept with the other settings, not read
    int32_t Stride = 1;        // step between the FFT values read
    int32_t PeakFall = 1;      // per-call decay of the peak heights
    int32_t BarFall = 3;       // per-call decay of the bar heights
    int32_t Width = 5;         // kept with the other settings, not read
    TBandHeights Peaks{};      // peak heights per band, kept across calls
    TBandHeights Bars{};       // bar heights per band, kept across calls
    int32_t LastLevel = 0;     // the result of the last call, not read

    // Trunc(√(m / 128) × 130), m the largest band value of FFT values 5..133 (0..114 with the
    // cap of 100). The two integers (callers pass 0 and 5) are not used.
    int32_t Level(const TFFTBlock& fft, int32_t first = 0, int32_t second = 5);
};
