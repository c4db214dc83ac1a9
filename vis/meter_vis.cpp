#include "vis/meter_vis.h"

TMeter::TMeter(int32_t, int32_t) {}

int32_t TMeter::Level(const TFFTBlock& fft, int32_t, int32_t)
{
    LastLevel = LevelOf(FollowBands(fft, Stride, HeightCap, PeakFall, BarFall, Peaks, Bars));
    return LastLevel;
}
