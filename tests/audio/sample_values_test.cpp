// Sample values a corrupt file can hold (NaN, infinities, 1e38, denormals) never get past the
// decoder, filters never keep one, and the device mix never leaves full scale.
#include "channel_fixture.h"

#include "audio/effects.h"
#include "audio/media_reader.h"
#include "audio/sample_guard.h"

#include <cmath>
#include <limits>

namespace {

constexpr int kRate = 44100;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A 0.25 tone with 20 ms of bad values from frame `at`.
media::Signal toneWithBurst(int64_t at, double bad)
{
    return [=](int64_t i, int c) {
        if (i >= at && i < at + kRate / 50)
            return i % 2 ? bad : -bad;
        return 0.25 * std::sin(2 * M_PI * (c ? 550.0 : 440.0) * double(i) / kRate);
    };
}

std::vector<float> decodeAll(const QString& file)
{
    auto reader = audio::MediaReader::open(file.toStdString());
    std::vector<float> out;
    while (reader && reader->decode(out)) {
    }
    return out;
}

// The chain with every effect on and the equaliser's bands lifted to +10 dB.
std::unique_ptr<audio::EffectChain> loudChain()
{
    auto chain = std::make_unique<audio::EffectChain>(kRate);
    for (int type : {audio::kEqualiser, audio::kFlanger, audio::kEcho})
        chain->setOn(type, true);
    for (int band = 0; band < audio::kEqBands; ++band) {
        TEQBlock block{band, kRate, 2.5f, 0, audio::kEqCentres[band], 10};
        chain->setParameters(audio::kEqualiser, &block);
    }
    return chain;
}

std::vector<float> tone(int frames, int64_t from = 0)
{
    std::vector<float> out(size_t(frames) * 2);
    for (int i = 0; i < frames; ++i)
        out[2 * size_t(i)] = out[2 * size_t(i) + 1] = float(0.1 * std::sin(2 * M_PI * 300.0 * double(from + i) / kRate));
    return out;
}

float peakOf(const std::vector<float>& v, size_t from = 0)
{
    float p = 0;
    for (size_t i = from; i < v.size(); ++i)
        if (!(std::fabs(v[i]) <= p)) // NaN wins
            p = std::fabs(v[i]);
    return p;
}

} // namespace

// Catches a decoder that hands on what a float file holds: every sample comes out finite and
// within the decoded bound, NaN and infinity as silence, 1e38 and 3.0 clamped, denormals as 0,
// and the tone around the burst untouched.
TEST_F(ChannelTest, DecodedSamplesAreFiniteAndBounded)
{
    const int64_t at = kRate / 2;
    const struct {
        const char* name;
        double bad;
        float expected;
    } cases[] = {
        {"NaN", kNaN, 0}, {"infinity", kInf, 0}, {"huge", 1e38, audio::kDecodedPeak},
        {"over", 3.0, audio::kDecodedPeak}, {"denormal", 1e-40, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<float> out = decodeAll(wav(QString(c.name) + ".wav", 1.0, toneWithBurst(at, c.bad), kRate, 2, 32));
        ASSERT_EQ(out.size(), size_t(kRate) * 2);
        EXPECT_LE(peakOf(out), audio::kDecodedPeak);
        EXPECT_EQ(std::fabs(out[size_t(2 * at)]), c.expected);
        EXPECT_EQ(std::fabs(out[size_t(2 * at + 3)]), c.expected);
        EXPECT_FLOAT_EQ(out[size_t(2 * (at - 100))], float(0.25 * std::sin(2 * M_PI * 440.0 * double(at - 100) / kRate)));
        EXPECT_NEAR(media::rms(out, size_t(at + kRate / 50), size_t(kRate), 1), 0.25 / std::sqrt(2.0), 0.002);
    }
}

// Catches filters and delay lines that keep a bad value: the chain meets one, and from the next
// block on it plays a tone exactly as a chain that never met it, with nothing non-finite.
TEST(EffectChainState, ABadValueResetsTheChain)
{
    for (float bad : {float(kNaN), float(kInf), 3e38f}) {
        SCOPED_TRACE(bad);
        auto met = loudChain(), fresh = loudChain();
        std::vector<float> burst = tone(512);
        burst[200] = burst[301] = bad;
        met->process(burst.data(), 512);
        std::vector<float> silence(512 * 2, 0.0f);
        fresh->process(silence.data(), 512);
        EXPECT_TRUE(audio::allFinite(burst.data(), burst.size()));
        for (int block = 0; block < 4; ++block) {
            std::vector<float> a = tone(512, 512 * (block + 1)), b = a;
            met->process(a.data(), 512);
            fresh->process(b.data(), 512);
            ASSERT_TRUE(audio::allFinite(a.data(), a.size())) << "block " << block;
            for (size_t i = 0; i < a.size(); ++i)
                ASSERT_NEAR(a[i], b[i], 1e-4) << "block " << block << " sample " << i;
        }
    }
}

// Catches a mix that adds decks past full scale: two in-phase 0.8 tones, and one lifted 10 dB by
// the equaliser, are held at full scale; quiet sound passes unchanged.
TEST_F(ChannelTest, DeviceMixIsHeldToFullScale)
{
    const QString loud = wav("loud.wav", 1.0, media::sine(440, kRate, 0.8));
    TCorvoBass other;
    other.OpenDevice(1);
    canal.LoadFile(loud);
    other.LoadFile(loud);
    canal.Play();
    other.Play();
    std::vector<float> heard = render(300);
    EXPECT_FLOAT_EQ(peakOf(heard), 1.0f);
    other.Stop();
    canal.SetEQ(true);
    for (int band = 0; band < audio::kEqBands; ++band)
        canal.EQBand(band, int(audio::kEqCentres[band]), 20);
    heard = render(300);
    EXPECT_FLOAT_EQ(peakOf(heard, heard.size() / 2), 1.0f);
    canal.SetEQ(false);
    canal.setVolume(50);
    heard = render(300);
    EXPECT_NEAR(peakOf(heard, heard.size() / 2), 0.4, 0.01);
}
