// The level meter: the square-root level of the loudest band, the bands it reads, and the
// peak and bar heights it keeps across calls.
#include "vis/meter_vis.h"
#include "vis_fixtures.h"

#include <gtest/gtest.h>

struct LevelCase {
    int m;
    int32_t level;
};

// Catches a wrong scale, cap or rounding in either the band value or the square root; 18 and 19
// are the sensitivity trigger's boundary at a threshold of 50.
TEST(MeterLevel, FollowsTheLoudestBandValue)
{
    const LevelCase cases[] = {{0, 0},   {1, 11},  {5, 25},  {18, 48}, {19, 50},
                               {32, 65}, {45, 77}, {75, 99}, {76, 100}, {100, 114}};
    for (const LevelCase& c : cases) {
        TMeter meter(0, 100);
        EXPECT_EQ(meter.Level(fftWith(5, magnitudeFor(c.m)), 0, 5), c.level) << "m = " << c.m;
    }
}

TEST(MeterLevel, MagnitudesAboveTheCapGiveTheCappedLevel)
{
    for (float value : {0.2f, 0.5f, 7.0f, -0.2f}) {
        TMeter meter(0, 100);
        EXPECT_EQ(meter.Level(fftWith(70, value)), 114) << value;
    }
}

// Catches an off-by-one at either end of the 129 bands read (FFT values 5..133).
TEST(MeterLevel, ReadsOnlyFFTValuesFiveToOneHundredThirtyThree)
{
    struct Case {
        int index;
        int32_t level;
    };
    for (const Case& c : {Case{0, 0}, Case{4, 0}, Case{5, 114}, Case{133, 114}, Case{134, 0}, Case{511, 0}}) {
        TMeter meter(0, 100);
        EXPECT_EQ(meter.Level(fftWith(c.index, 1.0f)), c.level) << "index " << c.index;
    }
}

// A stride that walks past the block reads silence there instead of memory beyond it.
TEST(MeterLevel, StridePastTheBlockReadsSilence)
{
    TMeter meter(0, 100);
    meter.Stride = 1000;
    EXPECT_EQ(meter.Level(fftWith(5, magnitudeFor(19))), 50);
    EXPECT_EQ(meter.Level(fftWith(512, 1.0f)), 0);
}

TEST(MeterLevel, IsNotAveragedOverCalls)
{
    TMeter meter(0, 100);
    EXPECT_EQ(meter.Level(fftWith(10, 1.0f)), 114);
    EXPECT_EQ(meter.Level(silentFFT()), 0);
    EXPECT_EQ(meter.LastLevel, 0);
}

TEST(MeterLevel, PeaksFallByOneAndBarsByThreePerCallDownToZero)
{
    TMeter meter(0, 100);
    meter.Level(fftWith(5, magnitudeFor(10)));
    const int expectedPeak[] = {9, 8, 7};
    const int expectedBar[] = {7, 4, 1};
    for (int call = 0; call < 3; ++call) {
        meter.Level(silentFFT());
        EXPECT_EQ(meter.Peaks[0], expectedPeak[call]);
        EXPECT_EQ(meter.Bars[0], expectedBar[call]);
    }
    meter.Level(silentFFT());
    EXPECT_EQ(meter.Bars[0], 0) << "a bar never goes below 0";
    EXPECT_EQ(meter.Peaks[1], 0);
}
