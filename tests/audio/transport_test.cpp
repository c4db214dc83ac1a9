// Lengths, positions, seeking, end of track, Loop and the properties of a playing channel.
#include "support/eventually.h"
#include "channel_fixture.h"

#include <QTest>
#include <cmath>

namespace {

struct LengthCase {
    const char* name;
    std::function<QString(ChannelTest&, const QString&)> make; // from a 44.1 kHz stereo 3.3 s WAV
    int64_t lengthMs;
    uint32_t rate;
};

} // namespace

class Lengths : public ChannelTest
{
};

// Catches lengths that count encoder delay and padding, or bytes/176 at rates other than 44.1 kHz.
TEST_F(Lengths, AreRealMillisecondsForEveryFormat)
{
    const QString source = wav("source.wav", 3.3, media::sine(440, kRate));
    const LengthCase cases[] = {
        {"wav 44.1 kHz", [](ChannelTest&, const QString& s) { return s; }, 3300, 44100},
        {"wav mono 48 kHz", [](ChannelTest& t, const QString&) { return t.wav("m48.wav", 2.0, media::sine(440, 48000), 48000, 1); }, 2000, 48000},
        {"wav 22.05 kHz", [](ChannelTest& t, const QString&) { return t.wav("s22.wav", 1.5, media::sine(440, 22050), 22050); }, 1500, 22050},
        {"ogg", [](ChannelTest& t, const QString& s) { return media::transcode(s, t.path("s.ogg"), {"-c:a", "libvorbis"}); }, 3300, 44100},
        // The header only knows the last part, 1 s at 48 kHz mono, of which FFmpeg's Vorbis
        // decoder gives 47 872 frames.
        {"chained ogg", [](ChannelTest& t, const QString& s) {
             const QStringList vorbis{"-c:a", "libvorbis"};
             return media::join(media::transcode(s, t.path("p1.ogg"), vorbis),
                                media::transcode(t.wav("p2.wav", 1.0, media::sine(440, 48000), 48000, 1), t.path("p2.ogg"), vorbis),
                                t.path("chained.ogg"));
         }, 4297, 44100},
        {"mp3 with LAME header", [](ChannelTest& t, const QString& s) { return media::lame(s, t.path("x.mp3")); }, 3300, 44100},
        // Without a header the decoder keeps every frame: 128 frames of 1152 samples.
        {"mp3 without header", [](ChannelTest& t, const QString& s) { return media::transcode(s, t.path("n.mp3"), {"-write_xing", "0"}); }, 3343, 44100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = c.make(*this, source);
        ASSERT_FALSE(file.isEmpty());
        canal.LoadFile(file);
        EXPECT_EQ(canal.GetLength(), c.lengthMs);
        EXPECT_EQ(canal.FrequencyCache, c.rate);
        canal.Play();
        render(int(c.lengthMs) + 200);
        EXPECT_EQ(canal.GetPosition(), c.lengthMs);
    }
    EXPECT_TRUE(media::takeMessages().isEmpty());
}

// WMA only announces a millisecond-grained estimate, longer than what decodes: the length is
// the decoded count from the load on.
TEST_F(Lengths, WmaLengthIsTheDecodedLength)
{
    const QString file = media::transcode(wav("w.wav", 2.0, media::sine(440, kRate)), path("w.wma"), {"-c:a", "wmav2"});
    canal.LoadFile(file);
    const int64_t length = canal.GetLength();
    EXPECT_NEAR(double(length), 2000.0, 60.0);
    canal.Play();
    render(2300);
    EXPECT_EQ(canal.GetPosition(), length);
    EXPECT_EQ(canal.GetLength(), length);
    canal.CheckEnd();
    EXPECT_EQ(stops, 1);
}

class Seeking : public ChannelTest, public ::testing::WithParamInterface<const char*>
{
};

// Catches seeks that land early or late (compared by the audio, not the reported position),
// MP3 frames corrupted by the bit reservoir, and lengths that change after a seek. The chained
// Ogg is seeked into its third part, after two of 0.5 s (the second one at 48 kHz mono).
TEST_P(Seeking, LandsOnTheSample)
{
    const QString format = GetParam();
    QString file = wav("seek.wav", 3.0, [](int64_t i, int c) {
        return 0.4 * std::sin(2 * M_PI * 440 * double(i) / kRate + c) + 0.3 * std::sin(2 * M_PI * 3100 * double(i) / kRate)
               + 0.2 * std::sin(2 * M_PI * 0.7 * double(i) / kRate); // a slow sweep: no lag looks alike
    });
    if (format == "mp3")
        file = media::lame(file, path("seek.mp3"));
    else if (format == "ogg")
        file = media::transcode(file, path("seek.ogg"), {"-c:a", "libvorbis"});
    else if (format == "wma")
        file = media::transcode(file, path("seek.wma"), {"-c:a", "wmav2"});
    else if (format == "chained ogg") {
        const QStringList vorbis{"-c:a", "libvorbis"};
        const QString first = media::transcode(wav("first.wav", 0.5, media::sine(330, kRate)), path("first.ogg"), vorbis);
        const QString second = media::transcode(wav("second.wav", 0.5, media::sine(550, 48000), 48000, 1), path("second.ogg"), vorbis);
        file = media::join(media::join(first, second, path("two.ogg")), media::transcode(file, path("third.ogg"), vorbis),
                           path("chained.ogg"));
    }
    ASSERT_FALSE(file.isEmpty());
    canal.LoadFile(file);
    const int64_t length = canal.GetLength();
    canal.Play();
    const std::vector<float> whole = render(2500);

    ASSERT_TRUE(canal.SetPosition(1234));
    EXPECT_EQ(canal.GetPosition(), 1234);
    const std::vector<float> after = render(300);
    EXPECT_EQ(canal.GetPosition(), 1534);
    // Where the audio after the seek sits in the continuous playback; the resampler starts
    // afresh at a seek, so its first frames are left out.
    const int64_t offset = (int64_t(1234) * kRate + 999) / 1000;
    constexpr int64_t kSkip = 256, kCompared = 4410, kSearch = 441; // 10 ms either way
    auto mismatch = [&](int64_t lag) {
        double worst = 0;
        for (int64_t i = kSkip; i < kSkip + kCompared; ++i)
            worst = std::max(worst, double(std::fabs(after[size_t(2 * i)] - whole[size_t(2 * (offset + lag + i))])));
        return worst;
    };
    int64_t best = -kSearch;
    for (int64_t lag = -kSearch; lag <= kSearch; ++lag)
        if (mismatch(lag) < mismatch(best))
            best = lag;
    EXPECT_LE(std::abs(best), format == "mp3" ? kRate * 5 / 1000 : 0) << "landed " << best << " frames off";
    EXPECT_LT(mismatch(best), 2e-3);

    EXPECT_FALSE(canal.SetPosition(10000)); // beyond the end
    EXPECT_TRUE(canal.SetPosition(0));
    EXPECT_EQ(canal.GetPosition(), 0);
    render(4500); // to the end from the seek, and a replay
    canal.Play();
    render(200);
    EXPECT_EQ(canal.GetLength(), length);
}

INSTANTIATE_TEST_SUITE_P(Formats, Seeking, ::testing::Values("wav", "ogg", "mp3", "wma", "chained ogg"));

class Transport : public ChannelTest
{
};

TEST_F(Transport, EndOfTrackStopsOnceAndPlayStartsAgain)
{
    canal.LoadFile(wav("short.wav", 0.3, media::sine(440, kRate)));
    canal.Play();
    render(200);
    canal.CheckEnd();
    EXPECT_EQ(stops, 0);
    EXPECT_TRUE(canal.Playing);
    render(200);
    canal.CheckEnd();
    EXPECT_EQ(stops, 1);
    EXPECT_FALSE(canal.Playing);
    EXPECT_EQ(canal.GetPosition(), 300);

    // An ended stream plays again from its start.
    canal.Play();
    const std::vector<float> heard = render(100);
    EXPECT_EQ(canal.GetPosition(), 100);
    EXPECT_GT(media::rms(heard, 0, heard.size() / 2), 0.3);
}

// The end watcher's own ticks, on the main thread, notice the end within its interval.
TEST_F(Transport, EndWatcherTicksStopTheChannel)
{
    canal.LoadFile(wav("short.wav", 0.2, media::sine(440, kRate)));
    canal.Play();
    render(300);
    ASSERT_EVENTUALLY(stops == 1, 2000);
    EXPECT_FALSE(canal.Playing);
    EXPECT_FALSE(canal.EndTimer->Enabled());
}

TEST_F(Transport, LoopRestartsWithoutOnStop)
{
    canal.LoadFile(wav("short.wav", 0.3, media::sine(440, kRate)));
    canal.Loop = true;
    canal.Play();
    render(350);
    canal.CheckEnd();
    EXPECT_EQ(stops, 0);
    EXPECT_TRUE(canal.Playing);
    render(100);
    EXPECT_EQ(canal.GetPosition(), 100);
}

// Catches property writes that reach a channel which is not playing.
TEST_F(Transport, PropertiesActOnlyWhilePlaying)
{
    canal.LoadFile(wav("tone.wav", 3.0, media::sine(440, kRate, 0.5)));
    EXPECT_EQ(canal.VolumeCache, 100u);
    canal.setVolume(40);
    canal.setPan(-100);
    canal.setFrequency(22050);
    EXPECT_EQ(canal.VolumeCache, 100u);
    EXPECT_EQ(canal.PanCache, 0);
    EXPECT_EQ(canal.FrequencyCache, 44100u);
    EXPECT_EQ(canal.volume(), 0u);

    canal.Play();
    std::vector<float> heard = render(100);
    EXPECT_NEAR(media::rms(heard, 0, heard.size() / 2), 0.5 / std::sqrt(2.0), 0.01);

    canal.setVolume(40);
    canal.setPan(100); // right only
    render(20);        // the ramp to the new gains
    heard = render(100);
    EXPECT_LT(media::rms(heard, 0, heard.size() / 2, 0), 1e-4);
    EXPECT_NEAR(media::rms(heard, 0, heard.size() / 2, 1), 0.4 * 0.5 / std::sqrt(2.0), 0.01);
    EXPECT_EQ(canal.volume(), 40u);
    EXPECT_EQ(canal.pan(), 100);

    // Half the frequency: the track moves at half speed.
    const int64_t before = canal.GetPosition();
    canal.setFrequency(22050);
    EXPECT_EQ(canal.frequency(), 22050u);
    render(1000);
    EXPECT_NEAR(double(canal.GetPosition() - before), 500.0, 15.0);

    canal.Stop();
    EXPECT_EQ(stops, 1);
    const int64_t stoppedAt = canal.GetPosition();
    render(100);
    EXPECT_EQ(canal.GetPosition(), stoppedAt);
}

// Catches spectra taken from the wrong frames, a wrong window scale or bin order.
TEST_F(Transport, SpectrumAndSamplesShowWhatIsHeard)
{
    canal.LoadFile(wav("k.wav", 2.0, media::sine(1000, kRate, 0.8)));
    float fft[512];
    int16_t samples[1024];
    canal.GetFFT(fft);
    EXPECT_EQ(*std::max_element(fft, fft + 512), 0.0f); // not playing yet
    canal.Play();
    render(200);
    canal.GetFFT(fft);
    const int peak = int(std::max_element(fft, fft + 512) - fft);
    EXPECT_EQ(peak, 23); // 1000 Hz * 1024 / 44100 = 23.2
    EXPECT_GT(fft[peak], 0.8 * 0.5 * 0.75);
    EXPECT_LT(fft[peak], 0.8 * 0.5 * 1.01);
    EXPECT_LT(fft[100], 0.01f);

    canal.GetData(samples, sizeof(samples));
    const int16_t loudest = *std::max_element(samples, samples + 1024);
    EXPECT_NEAR(loudest, 0.8 * 32767, 0.01 * 32767);
}
