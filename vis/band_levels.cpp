#include "vis/band_levels.h"

#include <algorithm>
#include <cmath>
#include <limits>

int32_t BandValue(const TFFTBlock& fft, int band, int32_t stride, int32_t heightCap)
{
    const int64_t index = kFirstBandValue + int64_t(band) * stride;
    // A float times 500 is exact in double, so the truncation matches the exact product.
    const double scaled = std::fabs(double(FFTValue(fft, index))) * kBandScale;
    if (std::isnan(scaled))
        return 0;
    if (scaled >= heightCap)
        return heightCap;
    return int32_t(scaled);
}

namespace {

void follow(int32_t value, int32_t fall, int32_t& height)
{
    if (value >= height) {
        height = value;
        return;
    }
    const int64_t fallen = int64_t(height) - fall;
    height = int32_t(std::clamp<int64_t>(fallen, 0, std::numeric_limits<int32_t>::max()));
}

} // namespace

int32_t FollowBands(const TFFTBlock& fft, int32_t stride, int32_t heightCap, int32_t peakFall,
                    int32_t barFall, TBandHeights& peaks, TBandHeights& bars)
{
    int32_t loudest = 0;
    for (int band = 0; band < kBandCount; ++band) {
        const int32_t value = BandValue(fft, band, stride, heightCap);
        loudest = std::max(loudest, value);
        follow(value, peakFall, peaks[size_t(band)]);
        follow(value, barFall, bars[size_t(band)]);
    }
    return loudest;
}

int32_t LevelOf(int32_t loudestBand)
{
    return int32_t(std::sqrt(double(loudestBand) / 128.0) * 130.0);
}
