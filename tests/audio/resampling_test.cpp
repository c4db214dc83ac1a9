// Frequency and source rates other than the device's: every stream goes through the resampler.
#include "channel_fixture.h"
#include "support/allocation_counter.h"

#include "audio/rate_converter.h"

#include <cmath>

class Resampling : public ChannelTest
{
};

// Catches the last frames left inside the resampler when the track ends.
TEST_F(Resampling, EveryFrameIsHeardAtEveryRate)
{
    const struct {
        int rate;
        double seconds;
    } cases[] = {{22050, 0.5}, {22050, 0.537}, {32000, 0.61}, {48000, 0.5}, {48000, 0.573}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.seconds << " s");
        canal.LoadFile(wav("t.wav", c.seconds, [](int64_t, int) { return 0.5; }, c.rate));
        canal.Play();
        const std::vector<float> heard = render(800);
        int64_t last = -1;
        for (size_t i = 0; i < heard.size() / 2; ++i)
            if (heard[2 * i] > 0.25)
                last = int64_t(i);
        const double frames = double(int64_t(c.seconds * c.rate));
        EXPECT_NEAR(double(last), frames * kRate / c.rate - 1, 1.5);
        EXPECT_EQ(canal.GetPosition(), canal.GetLength());
        canal.CheckEnd();
    }
    EXPECT_EQ(stops, 5);
}

// 48 kHz on the 44.1 kHz device stays flat up to 18 kHz, and the position is what was heard.
TEST_F(Resampling, FlatToEighteenKilohertz)
{
    for (double hz : {1000.0, 12000.0, 18000.0}) {
        SCOPED_TRACE(hz);
        canal.LoadFile(wav(QString("f%1.wav").arg(hz), 1.0, media::sine(hz, 48000, 0.5), 48000));
        canal.Play();
        const std::vector<float> heard = render(400);
        EXPECT_NEAR(20 * std::log10(media::rms(heard, 4410, heard.size() / 2) / (0.5 / std::sqrt(2.0))), 0.0, 1.0);
        EXPECT_NEAR(double(canal.GetPosition()), 400.0, 10.0); // within one device period
    }
}

// Moving the pitch away from the track's own rate and back glides: no step, no blip.
TEST_F(Resampling, PitchMovesWithoutAClick)
{
    canal.LoadFile(wav("p.wav", 3.0, media::sine(440, kRate, 0.5)));
    canal.Play();
    std::vector<float> heard = render(200);
    for (uint32_t hz : {44150u, 44100u, 46000u, 44100u}) {
        canal.setFrequency(hz);
        const std::vector<float> more = render(200);
        heard.insert(heard.end(), more.begin(), more.end());
    }
    // A sine's third difference is tiny; a step or a blip is not.
    double worst = 0;
    for (size_t i = 2000; i + 3 < heard.size() / 2; ++i)
        worst = std::max(worst, double(std::fabs(heard[2 * (i + 3)] - 3 * heard[2 * (i + 2)] + 3 * heard[2 * (i + 1)]
                                                  - heard[2 * i])));
    EXPECT_LT(worst, 5e-4);
}

// Leaving the track's own rate fades a converter in over the untouched frames, and coming back
// fades it out; a new converter fades in over the old one. The two paths must sound the same
// instant: a 10 kHz tone keeps its level through each fade at nearly the same rate, where
// paths one frame apart would cancel a quarter of it.
TEST_F(Resampling, SwitchedPathsLineUpInTime)
{
    canal.LoadFile(wav("s.wav", 3.0, media::sine(10000, kRate, 0.5)));
    canal.Play();
    std::vector<float> heard = render(100);
    for (uint32_t hz : {44101u, 44102u, 44100u}) {
        canal.setFrequency(hz);
        const std::vector<float> more = render(100);
        heard.insert(heard.end(), more.begin(), more.end());
    }
    const double steady = 0.5 / std::sqrt(2.0);
    double lowest = 1e9, highest = 0;
    for (size_t at = 4410; at + 64 <= heard.size() / 2; at += 32) {
        const double db = 20 * std::log10(media::rms(heard, at, at + 64) / steady);
        lowest = std::min(lowest, db);
        highest = std::max(highest, db);
    }
    EXPECT_GT(lowest, -0.3);
    EXPECT_LT(highest, 0.3);
    EXPECT_NEAR(double(canal.GetPosition()), 400.0, 10.0);
}

// The output callback allocates nothing while every frame is resampled, also in a converter's
// first periods after a pitch change (soxr grows its buffers over its first few dozen calls),
// at ratios down and up.
TEST_F(Resampling, TheCallbackAllocatesNothing)
{
    canal.LoadFile(wav("long.wav", 40.0, media::sine(440, 48000, 0.5), 48000, 1));
    canal.Play();
    audio::renderManual(200);
    long allocations = 0;
    for (uint32_t hz : {49920u, 24000u, 12000u, 100000u, 48000u}) {
        canal.setFrequency(hz); // the main thread makes the converter
        allocations += allocation_counter::during([] { audio::renderManual(5000); });
    }
    EXPECT_EQ(allocations, 0);
    EXPECT_GT(canal.GetPosition(), 20000);
}

// A converter that has sounded nothing yet, its source dry (the decoder behind after a seek),
// reports where it will start, not the silence it was warmed on before it.
TEST(RateConverter, ReportsItsStartBeforeItSoundsAnything)
{
    struct Dry : audio::FrameSource {
        int pull(float*, int) override { return 0; }
        bool exhausted() const override { return false; }
    } dry;
    for (double ratio : {48000.0 / 44100, 0.5, 2.2}) {
        SCOPED_TRACE(ratio);
        audio::RateConverter converter(ratio);
        float out[2 * audio::RateConverter::kBlock];
        EXPECT_EQ(converter.convert(out, audio::RateConverter::kBlock, dry), 0);
        EXPECT_GE(converter.heard(), 0.0);
        EXPECT_LT(converter.heard(), ratio);
    }
}
