// The preview in real time on the clock-paced null device: the level timer, the channel's end
// watcher and the stop event run on their own clocks. The engine's backend is chosen once per
// process, so the real-time test runs in a child process of this program, which fails instead
// of hanging.
#include "support/eventually.h"
#include "audio/media.h"
#include "support/harness.h"
#include "support/own_copy.h"

#include "audio/TCorvoBass.h"
#include "audio/engine.h"
#include "library/library_file.h"
#include "widgets/LedGauge.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

namespace {

const char* const childVariable = "VOLTARIA_PREVIEW_REAL_TIME";

TEST(PreviewRealTime, RunsInAChildProcess)
{
    if (qEnvironmentVariableIsSet(childVariable))
        GTEST_SKIP();
    test::runOwnCopy("PreviewRealTimeChild.*", childVariable, "1");
}

// Catches a gauge the level timer does not feed on its own, and an end of track whose stop event
// never reaches the preview's controls in real time (or arrives before the track has played).
TEST(PreviewRealTimeChild, EndOfTrackResetsTheGaugeAndButtons)
{
    if (!qEnvironmentVariableIsSet(childVariable))
        GTEST_SKIP() << "runs in its own process";
    test::Harness h(test::Harness::RealOutputs{});
    int nullDevice = 0;
    while (!audio::deviceDescription(nullDevice + 1).isEmpty())
        ++nullDevice;
    ASSERT_GT(nullDevice, 0);
    const QString track = media::writeWav(h.dataFile("tom.wav"), 44100, 2, 16, 44100 * 6 / 10, media::sine(440, 44100));
    h.writeDataFile("VOLTARIA4.INI", QString("DEVICE_TRANSMISSAO=%1\r\nDEVICE_CUE=%1\r\n").arg(nullDevice).toUtf8());
    h.writeDataFile("lista.upd", library::captureLine(h.dataDir.path() + "/", "tom.wav").toUtf8());
    Tform_mixer& w = h.create();
    h.show();

    QElapsedTimer clock;
    clock.start();
    h.click("bitbtn21");
    ASSERT_TRUE(w.canal_00->Playing) << h.dialogs.texts().join(" / ").toStdString();
    ASSERT_EVENTUALLY(w.CoolGauge1->value() > 50, 3000);
    ASSERT_EVENTUALLY(!w.canal_00->Playing, 10000);
    EXPECT_GE(clock.elapsed(), 550);
    EXPECT_EQ(w.CoolGauge1->value(), 0);
    EXPECT_FALSE(w.Timer4->isActive());
    EXPECT_TRUE(w.bitbtn21->isEnabled());
    EXPECT_FALSE(w.bitbtn23->isEnabled());
    EXPECT_TRUE(h.dialogs.texts().isEmpty());
}

} // namespace
