// The path the operator runs: the real backend's null device, paced by the clock, where the
// decoder can fall behind the callback and lengths may be known late. Each case runs in a child
// process of this program with a deadline, so a livelock or a crash fails the case instead of
// stopping the run.
#include "null_device.h"

#include "audio/engine.h"

namespace {
constexpr int kRate = 44100;
}

// Play's seek to the start at rates other than the device's, to the end of the track, where
// every frame is heard: the resampler's last frames too (1.5 s is 66 150 device frames, and
// one frame fewer is 1499 ms).
TEST_F(OnNullDevice, PlaysFromTheStartAtEveryRate)
{
    for (int rate : {48000, 22050, 32000, kRate}) {
        SCOPED_TRACE(rate);
        stops = 0;
        canal.LoadFile(wav(QString("t%1.wav").arg(rate), 1.5, rate));
        EXPECT_EQ(canal.GetLength(), 1500);
        canal.SetPosition(0);
        canal.Play();
        expectPlaysOn(300, "after Play");
        expectEnds();
        EXPECT_EQ(audio::heardMs(canal.Stream), 1500);
    }
}

TEST_F(OnNullDevice, SeeksDuringPlayAfterAPitchChange)
{
    for (int rate : {48000, kRate}) {
        SCOPED_TRACE(rate);
        canal.LoadFile(wav(QString("s%1.wav").arg(rate), 6.0, rate));
        canal.SetPosition(0);
        canal.Play();
        expectPlaysOn(200, "before the pitch change");
        canal.setFrequency(uint32_t(rate * 1.06));
        for (int target : {3000, 500, 4000}) {
            ASSERT_TRUE(canal.SetPosition(target));
            expectPlaysOn(200, "after the seek");
        }
        canal.setFrequency(uint32_t(rate));
        expectPlaysOn(200, "back at the track's own rate");
        canal.Stop();
    }
}

// A joined MP3 (stereo, then mono) and a chained Ogg (44.1 kHz stereo, then 48 kHz mono), from
// the start and after a seek into the first part.
TEST_F(OnNullDevice, PlaysThroughAFormatChange)
{
    const QString stereo = wav("stereo.wav", 2.0, kRate), mono = wav("mono.wav", 2.0, kRate, 1);
    const QString mono48 = wav("mono48.wav", 2.0, 48000, 1);
    const QStringList vorbis{"-c:a", "libvorbis"};
    const QString files[] = {
        media::join(media::lame(stereo, path("a.mp3")), media::lame(mono, path("b.mp3")), path("joined.mp3")),
        media::join(media::transcode(stereo, path("a.ogg"), vorbis), media::transcode(mono48, path("b.ogg"), vorbis),
                    path("chained.ogg")),
    };
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        ASSERT_FALSE(file.isEmpty());
        stops = 0;
        canal.LoadFile(file);
        canal.SetPosition(0);
        canal.Play();
        expectPlaysOn(2600, "through the change");
        expectEnds();
        EXPECT_NEAR(double(canal.GetLength()), 4000.0, 120.0);
        stops = 0;
        ASSERT_TRUE(canal.SetPosition(1500));
        canal.Play();
        expectPlaysOn(1000, "through the change after a seek");
        expectEnds();
    }
}

// The decoder refills after a seek while the callback still holds older chunks, so the target
// is heard from the next period. Periods cut short are counted around each seek; a busy machine
// may delay the decoder now and then, but a seek that always loses a period fails.
TEST_F(OnNullDevice, NoPeriodGoesSilentAfterASeek)
{
    for (int rate : {kRate, 48000}) {
        SCOPED_TRACE(rate);
        canal.LoadFile(wav(QString("g%1.wav").arg(rate), 8.0, rate));
        canal.SetPosition(0);
        canal.Play();
        expectPlaysOn(300, "before the seeks");
        const int targets[] = {5000, 1000, 6500, 2500, 4000, 500};
        int gapped = 0;
        for (int target : targets) {
            audio::StreamInfo before, after;
            ASSERT_TRUE(audio::streamInfo(canal.Stream, before));
            ASSERT_TRUE(canal.SetPosition(target));
            const int64_t from = canal.GetPosition();
            ASSERT_TRUE(waitFor([&] { return canal.GetPosition() >= from + 150; }));
            ASSERT_TRUE(audio::streamInfo(canal.Stream, after));
            gapped += after.silentPeriods != before.silentPeriods;
        }
        EXPECT_LT(gapped, 3) << "seeks followed by a silent period, of " << std::size(targets);
        canal.Stop();
    }
}

class RealTime : public ::testing::TestWithParam<const char*>
{
};

TEST_P(RealTime, CaseFinishesAndPasses) { runOnNullDevice(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Cases, RealTime,
                         ::testing::Values("PlaysFromTheStartAtEveryRate", "SeeksDuringPlayAfterAPitchChange",
                                           "PlaysThroughAFormatChange", "NoPeriodGoesSilentAfterASeek"));
