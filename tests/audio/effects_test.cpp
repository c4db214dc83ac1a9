// The equaliser, flanger, echo and cut as heard, and their life on one stream only.
#include "channel_fixture.h"

#include "audio/effects.h"

#include <cmath>
#include <memory>

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

// ---- the effects' own arithmetic, on a chain of their own ----

namespace {
// An equaliser with the given gains in dB, its glide over.
std::unique_ptr<audio::EffectChain> equaliser(const std::vector<int>& gains)
{
    auto chain = std::make_unique<audio::EffectChain>(44100);
    chain->setOn(audio::kEqualiser, true);
    for (int b = 0; b < audio::kEqBands; ++b) {
        TEQBlock block;
        block.band = b;
        block.centre = audio::kEqCentres[b];
        block.gain = float(gains[size_t(b)]);
        chain->setParameters(audio::kEqualiser, &block);
    }
    std::vector<float> settle(2 * 4410, 0.0f);
    chain->process(settle.data(), 4410);
    return chain;
}
} // namespace

// Catches an equaliser pipeline that delays the sound or loses a band's state between calls:
// an impulse is answered in its own frame, and calls of any size give the same sound.
TEST(EffectChain, EqualiserSoundsTheSameInCallsOfAnySize)
{
    const struct {
        const char* what;
        std::vector<int> gains;
    } cases[] = {
        {"ten bands", {4, 3, 2, 1, -1, -2, -1, 1, 2, 3}},
        {"three bands", {4, 0, 0, 0, -5, 0, 0, 0, 0, 3}},
        {"one band", {0, 0, 0, 0, 0, 6, 0, 0, 0, 0}},
    };
    constexpr int kFrames = 3000;
    std::vector<float> noise(2 * kFrames);
    uint32_t seed = 1;
    for (float& v : noise) {
        seed = seed * 1664525u + 1013904223u;
        v = float(int(seed >> 9) % 20000 - 10000) / 40000.0f;
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<float> impulse(2 * 64, 0.0f);
        impulse[0] = impulse[1] = 1.0f;
        equaliser(c.gains)->process(impulse.data(), 64);
        EXPECT_GT(std::fabs(impulse[0]), 0.3f);
        EXPECT_EQ(impulse[0], impulse[1]);

        std::vector<float> whole = noise, pieces = noise;
        equaliser(c.gains)->process(whole.data(), kFrames);
        auto cut = equaliser(c.gains);
        const int sizes[] = {1, 2, 3, 9, 10, 11, 17, 64, 500};
        for (int at = 0, k = 0; at < kFrames; ++k) {
            const int n = std::min(sizes[k % 9], kFrames - at);
            cut->process(pieces.data() + 2 * at, n);
            at += n;
        }
        float worst = 0;
        for (size_t i = 0; i < whole.size(); ++i)
            worst = std::max(worst, std::fabs(whole[i] - pieces[i]));
        EXPECT_LT(worst, 1e-6f);
    }
}

// Catches a flanger reading its line outside the sweep: where a square wave has been steady
// for longer than the deepest delay, flanging changes nothing, also across the line's wraps
// and with calls that do not divide it.
TEST(EffectChain, FlangerReadsOnlyWithinItsSweep)
{
    audio::EffectChain chain(44100);
    chain.setOn(audio::kFlanger, true);
    const TFlangerBlock block{5.0f, 44100, 120.0f, 10.0f}; // delays from 0 to 441 frames
    chain.setParameters(audio::kFlanger, &block);
    constexpr int kFrames = 40000, kHalf = 700, kDeepest = 442;
    std::vector<float> square(2 * kFrames);
    for (int i = 0; i < kFrames; ++i)
        square[2 * i] = square[2 * i + 1] = (i / kHalf) % 2 ? 0.5f : -0.25f;
    std::vector<float> heard = square;
    for (int at = 0; at < kFrames; at += 441)
        chain.process(heard.data() + 2 * at, std::min(441, kFrames - at));
    int wrong = 0, checked = 0;
    for (int i = kHalf; i < kFrames; ++i) {
        if (i % kHalf <= kDeepest)
            continue;
        ++checked;
        wrong += std::fabs(heard[2 * i] - square[2 * i]) > 1e-6f || std::fabs(heard[2 * i + 1] - square[2 * i + 1]) > 1e-6f;
    }
    EXPECT_GT(checked, 10000);
    EXPECT_EQ(wrong, 0);
}
