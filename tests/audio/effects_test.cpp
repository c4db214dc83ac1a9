// The equaliser, flanger, echo and cut as heard, and their life on one stream only.
#include "channel_fixture.h"

#include <cmath>

class Effects : public ChannelTest
{
protected:
    // Steady level of a rendered stretch, past the filters' settling.
    static double level(const std::vector<float>& heard) { return media::rms(heard, 2205, heard.size() / 2); }
    double dryLevel(const QString& file)
    {
        canal.LoadFile(file);
        canal.Play();
        const double dry = level(render(300));
        canal.LoadFile(file);
        canal.Play();
        return dry;
    }
};

// Catches a wrong bandwidth formula, gain sign or a band that reaches its neighbours' centres.
TEST_F(Effects, EqualiserGainAtTheBandCentre)
{
    struct Case {
        int band, centre, slider;
        double tone, decibels, tolerance;
    };
    const Case cases[] = {
        {5, 1000, 20, 1000, 10.0, 0.3},
        {5, 1000, 0, 1000, -10.0, 0.3},
        {7, 4000, 15, 4000, 5.0, 0.3},
        {0, 32, 20, 4000, 0.0, 0.2}, // far from the band: untouched
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.band * 100 + c.slider);
        const QString file = wav(QString("t%1.wav").arg(c.tone), 2.0, media::sine(c.tone, kRate, 0.1));
        const double dry = dryLevel(file);
        canal.SetEQ(true);
        for (int b = 0; b < 10; ++b)
            canal.EQBand(b, int(audio::kEqCentres[b]), b == c.band ? c.slider : 10);
        EXPECT_EQ(canal.EQBlock.band, 9);
        EXPECT_EQ(canal.EQBlock.bandwidth, 2.5f);
        const double wet = level(render(300));
        EXPECT_NEAR(20 * std::log10(wet / dry), c.decibels, c.tolerance);
    }
}

TEST_F(Effects, EqualiserSwitchedOffOrNotActiveChangesNothing)
{
    const QString file = wav("t.wav", 2.0, media::sine(1000, kRate, 0.1));
    const double dry = dryLevel(file);
    canal.SetEQ(false);
    canal.EQBand(5, 1000, 20); // EQActive false: ignored
    EXPECT_NEAR(level(render(300)) / dry, 1.0, 0.005);
    canal.SetEQ(true);
    canal.EQBand(5, 1000, 20);
    canal.SetEQ(false);
    EXPECT_NEAR(level(render(300)) / dry, 1.0, 0.005);
}

// One repeat, one second later, at the same level.
TEST_F(Effects, EchoRepeatsOnceASecondLater)
{
    canal.LoadFile(wav("click.wav", 3.0, media::click(4410, 0.5)));
    canal.SetEcho(true);
    EXPECT_EQ(canal.EchoBlock.dry, 1.0f);
    EXPECT_EQ(canal.EchoBlock.wet, 1.0f);
    EXPECT_EQ(canal.EchoBlock.feedback, 0.0f);
    EXPECT_EQ(canal.EchoBlock.delay, 1.0f);
    canal.Play();
    const std::vector<float> heard = render(2500);
    // The resampler spreads a click over a few frames: compare where the peaks are and their sizes.
    auto peak = [&](size_t from, size_t to) {
        size_t at = from;
        for (size_t i = from; i < to; ++i)
            if (std::fabs(heard[2 * i]) > std::fabs(heard[2 * at]))
                at = i;
        return at;
    };
    const size_t click = peak(0, 44100), repeat = peak(44100, 2 * 44100);
    EXPECT_NEAR(double(click), 4410.0, 3.0);
    EXPECT_EQ(repeat, click + 44100);
    EXPECT_NEAR(heard[2 * repeat], heard[2 * click], 0.001);
    EXPECT_EQ(media::firstAbove(heard, 0.01, click + 44100 + 64), -1); // no second repeat
}

// Four gates a second, open half the time.
TEST_F(Effects, CutGatesAtOneHundredTwentyBeatsPerMinute)
{
    const QString file = wav("t.wav", 3.0, media::sine(1000, kRate, 0.5));
    const double dry = dryLevel(file);
    canal.SetCut(true);
    const std::vector<float> heard = render(1000);
    const size_t quarter = kRate / 8; // 125 ms
    for (size_t k = 0; k < 8; ++k) {
        const double window = media::rms(heard, k * quarter + 300, (k + 1) * quarter - 300);
        EXPECT_NEAR(window / dry, k % 2 == 0 ? 1.0 : 0.0, 0.01) << k;
    }
}

// The intensity is heard as the depth of the sweep's notches.
TEST_F(Effects, FlangerIntensityIsItsDepth)
{
    const QString file = wav("t.wav", 6.0, media::sine(1000, kRate, 0.5));
    const double dry = dryLevel(file);
    auto swingOver2s = [&](int intensity) {
        canal.SetFlanger(false);
        canal.SetFlanger(true);
        canal.FlangerParams(130, 120, intensity);
        const std::vector<float> heard = render(2000);
        double lo = 1e9, hi = 0;
        for (size_t at = 0; at + 441 <= heard.size() / 2; at += 441) {
            const double w = media::rms(heard, at, at + 441) / dry;
            lo = std::min(lo, w);
            hi = std::max(hi, w);
        }
        return std::pair(lo, hi);
    };
    const auto [lo0, hi0] = swingOver2s(0);
    EXPECT_NEAR(lo0, 1.0, 0.01);
    EXPECT_NEAR(hi0, 1.0, 0.01);
    const auto [lo3, hi3] = swingOver2s(3);
    EXPECT_NEAR(lo3, 0.7, 0.05);
    const auto [lo10, hi10] = swingOver2s(10);
    EXPECT_LT(lo10, 0.15);
    EXPECT_GT(hi10, 0.95);
    const auto [lo15, hi15] = swingOver2s(15); // fully wet from 10 up
    EXPECT_NEAR(lo15, lo10, 0.03);
    EXPECT_EQ(canal.FlangerBlock.first, 1.3f);
    EXPECT_EQ(canal.FlangerBlock.frequency, 44100u);
    EXPECT_EQ(canal.FlangerBlock.second, 120.0f);
    EXPECT_EQ(canal.FlangerBlock.level, 15.0f);
}

// Effects live on the stream they were switched on for: the next load starts without them.
TEST_F(Effects, GoneAfterTheNextLoad)
{
    const QString file = wav("t.wav", 3.0, media::sine(1000, kRate, 0.5));
    const double dry = dryLevel(file);
    canal.SetCut(true);
    canal.SetEQ(true);
    canal.EQBand(5, 1000, 0);
    canal.SetEcho(true);
    canal.LoadFile(file);
    canal.Play();
    const std::vector<float> heard = render(1000);
    for (size_t k = 0; k < 8; ++k)
        EXPECT_NEAR(media::rms(heard, k * 5512 + 300, (k + 1) * 5512 - 300) / dry, 1.0, 0.01) << k;
    EXPECT_TRUE(canal.EQActive); // the flag stays; the deck's Play puts the equaliser back
}
