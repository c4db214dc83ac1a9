// A deck's time across sound server outages: the silent clock that stands in for the lost
// output keeps the deck's time with the wall clock, through the outage and the output's return.
#include "sound_fixture.h"

#include "audio/engine.h"

#include <QElapsedTimer>
#include <QThread>

using namespace soundtest;

namespace {

// How far the deck's time leads the wall clock, in ms: the most over a few readings a few ms
// apart, as the position moves a whole device period at a time.
int64_t lead(TCorvoBass& canal, const QElapsedTimer& clock)
{
    int64_t most = INT64_MIN;
    for (int i = 0; i < 12; ++i) {
        most = std::max<int64_t>(most, canal.GetPosition() - clock.elapsed());
        QThread::msleep(4);
    }
    return most;
}

} // namespace

// Catches time lost (or gained) at each outage: the server is stopped five times for 1.5 s, and
// after each return the deck's time is where the wall clock says, within about a device period.
// The deck's time is read just before each outage and after each return, so a busy machine's
// hiccups while it plays normally do not count; one outage may still meet one, so the typical
// outage (the median) is held to a device period and each to well under the second that a deck
// lost when the returning output's first buffers stood for its time.
TEST_F(SoundTest, DeckKeepsTimeAcrossServerOutages)
{
    const QString file = tuneFile(40.0);
    TCorvoBass canal;
    canal.OpenDevice(canal.DeviceNumber("Cue"));
    canal.LoadFile(file);
    test::Recording heard("cue");
    canal.Play();
    ASSERT_TRUE(waitForSound(heard, 500)) << "the output never took sound";
    heard.stop();
    QElapsedTimer clock;
    clock.start();
    const int64_t periodMs = int64_t(audio::deviceBufferFrames()) * 1000 / kRate;
    std::vector<int64_t> drift;
    for (int outage = 0; outage < 5; ++outage) {
        SCOPED_TRACE(outage);
        QThread::msleep(500);
        const int64_t before = lead(canal, clock);
        ASSERT_TRUE(server.stop());
        ASSERT_TRUE(waitUntil([&] { return !audio::deviceOnline(canal.Device); }, 5000));
        QThread::msleep(1500);
        ASSERT_TRUE(server.start()) << server.error().toStdString();
        ASSERT_TRUE(waitUntil([&] { return audio::deviceOnline(canal.Device); }, 8000));
        QThread::msleep(300);
        drift.push_back(lead(canal, clock) - before);
    }
    QString figures;
    for (int64_t d : drift)
        figures += QString(" %1").arg(d);
    SCOPED_TRACE("time gained at each outage, ms:" + figures.toStdString());
    std::vector<int64_t> sorted = drift;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_LE(std::abs(sorted[2]), periodMs);
    for (int64_t d : drift)
        EXPECT_LT(std::abs(d), 500);
    EXPECT_TRUE(canal.Playing);
    EXPECT_EQ(messages, QStringList{});
}
