// The stepped fade-out: intervals, volume sequences and what is heard.
#include "support/eventually.h"
#include "channel_fixture.h"

#include <QTest>
#include <cmath>

class Fade : public ChannelTest
{
protected:
    void playTone()
    {
        canal.LoadFile(wav("tone.wav", 20.0, media::sine(440, kRate, 0.5)));
        canal.Play();
    }
    // Steps by hand until the channel stops; returns the volume each step set (the last one as
    // OnStop saw it, since Stop puts the cached volume back into FadeVolume).
    std::vector<uint32_t> stepToTheEnd()
    {
        std::vector<uint32_t> volumes;
        canal.OnStop = [&](QObject*) {
            ++stops;
            volumes.back() = canal.FadeVolume;
        };
        while (canal.Playing && volumes.size() < 200) {
            volumes.push_back(0);
            canal.FadeStep();
            if (canal.Playing)
                volumes.back() = canal.FadeVolume;
        }
        return volumes;
    }
};

TEST_F(Fade, VolumeBandsFromEveryStart)
{
    struct Case {
        uint32_t volume;
        int32_t time;
        uint32_t interval;
        std::vector<uint32_t> volumes;
    };
    const Case cases[] = {
        {100, 6000, 240, {90, 80, 70, 63, 56, 49, 42, 35, 30, 25, 20, 15, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
        {74, 5000, 200, {67, 60, 53, 46, 39, 34, 29, 24, 19, 14, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
        {1, 1000, 40, {0}},
        {0, 1000, 40, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.volume);
        stops = 0;
        playTone();
        canal.setVolume(c.volume);
        canal.FadeOut(c.time);
        EXPECT_EQ(canal.FadeTimer->Interval(), c.interval);
        EXPECT_TRUE(canal.FadeTimer->Enabled());
        EXPECT_EQ(stepToTheEnd(), c.volumes);
        EXPECT_EQ(stops, 1);
        EXPECT_FALSE(canal.FadeTimer->Enabled());
        EXPECT_EQ(canal.VolumeCache, c.volume); // the fade leaves the cached volume alone
    }
}

TEST_F(Fade, EachStepIsHeardAndPlayAbandonsTheFade)
{
    playTone();
    const double full = media::rms(render(100), 0, 4410);
    canal.FadeOut(1000);
    canal.FadeStep();
    canal.FadeStep(); // 80
    render(20);
    const std::vector<float> faded = render(100);
    EXPECT_NEAR(media::rms(faded, 0, 4410) / full, 0.80, 0.01);

    canal.FadeOut(3000); // ignored while a fade runs
    EXPECT_EQ(canal.FadeTimer->Interval(), 40u);

    canal.Play();
    EXPECT_FALSE(canal.FadeTimer->Enabled());
    render(20);
    EXPECT_NEAR(media::rms(render(100), 0, 4410) / full, 1.0, 0.01);
}

TEST_F(Fade, IgnoredWhileStopped)
{
    playTone();
    canal.Stop();
    canal.FadeOut(1000);
    EXPECT_FALSE(canal.FadeTimer->Enabled());
}

// The stepper's interval is at least 1 ms, so a fade shorter than 25 ms still fades and stops.
TEST_F(Fade, ShorterThanTwentyFiveMillisecondsStillFades)
{
    playTone();
    canal.FadeOut(10);
    EXPECT_EQ(canal.FadeTimer->Interval(), 1u);
    uint32_t last = 100;
    canal.OnStop = [&](QObject*) {
        ++stops;
        last = canal.FadeVolume;
    };
    ASSERT_EVENTUALLY(stops == 1, 3000);
    EXPECT_EQ(last, 1u);
    EXPECT_FALSE(canal.Playing);
}

// The stepper's own ticks: 22 steps of 40 ms from volume 100.
TEST_F(Fade, TimerDrivenFadeEndsWithOnStop)
{
    playTone();
    canal.FadeOut(1000);
    ASSERT_EVENTUALLY(stops == 1, 5000);
    EXPECT_EQ(canal.FadeVolume, 100u); // Stop puts the cached volume back
}
