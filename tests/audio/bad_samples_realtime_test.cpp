// Float files holding bad sample values, played on the null device in real time as the operator
// plays them: deck A with the equaliser on meets a 20 ms burst while deck B plays on the same
// output. Runs in a child process with a deadline.
#include "null_device.h"

#include "audio/engine.h"

#include <cmath>
#include <limits>

namespace {

constexpr int kRate = 44100;

// A 0.3 tone, 1.5 s long, with 20 ms of `bad` from 0.5 s.
media::Signal burstAtHalfASecond(double bad)
{
    return [=](int64_t i, int) {
        if (i >= kRate / 2 && i < kRate / 2 + kRate / 50)
            return i % 2 ? bad : -bad;
        return 0.3 * std::sin(2 * M_PI * 440.0 * double(i) / kRate);
    };
}

} // namespace

// Catches a burst that is heard as full scale, or that leaves the equaliser (and so the shared
// output) stuck: the output never passes full scale, deck B is heard through and after the
// burst, deck A plays its track to the end, and its next track plays as it should.
TEST_F(OnNullDevice, BadSamplesNeitherReachTheOutputNorStopTheDecks)
{
    const struct {
        const char* name;
        double bad;
    } cases[] = {{"NaN", std::numeric_limits<double>::quiet_NaN()},
                 {"infinity", std::numeric_limits<double>::infinity()},
                 {"huge", 1e38},
                 {"denormal", 1e-40}};
    TCorvoBass deckB;
    deckB.OpenDevice(canal.Device);
    // A 0.3 tone: 0.21 RMS on its own.
    deckB.LoadFile(media::writeWav(path("b.wav"), kRate, 2, 16, 60 * kRate, media::sine(660, kRate, 0.3)));
    deckB.Play();
    ASSERT_TRUE(waitFor([&] { return deckB.GetPosition() > 100; })) << "deck B does not play";
    std::vector<float> rms, peaks;
    audio::takeOutputLevels(canal.Device, rms, &peaks);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = media::writeWav(path(QString(c.name) + ".wav"), kRate, 2, 32, kRate * 3 / 2,
                                             burstAtHalfASecond(c.bad));
        canal.LoadFile(file);
        ASSERT_NE(canal.Stream, 0u);
        canal.Play();
        canal.SetEQ(true);
        for (int band = 0; band < 10; ++band)
            canal.EQBand(band, int(audio::kEqCentres[band]), 12);
        rms.clear();
        peaks.clear();
        audio::takeOutputLevels(canal.Device, rms, &peaks);
        expectPlaysOn(700, "after the burst");
        const int before = stops;
        ASSERT_TRUE(waitFor([&] { return stops > before; })) << "no end at " << canal.GetPosition() << " ms";
        audio::takeOutputLevels(canal.Device, rms, &peaks);
        ASSERT_GT(rms.size(), 100u);
        for (size_t b = 0; b < peaks.size(); ++b) {
            ASSERT_LE(peaks[b], 1.0f) << "block " << b;
            ASSERT_GT(rms[b], 0.15f) << "block " << b << ": deck B is not heard";
        }

        canal.LoadFile(wav("next.wav", 1.0, kRate));
        canal.Play();
        canal.SetEQ(true);
        expectPlaysOn(300, "the next track");
        canal.Stop();
    }
    EXPECT_TRUE(deckB.Playing);
    deckB.Stop();
}

TEST(RealTime, BadSamplesInAChild) { runOnNullDevice("BadSamplesNeitherReachTheOutputNorStopTheDecks"); }
