// The silence watch in real time on the clock-paced null device: the window's own timers, the
// end watcher and the watch's tick, as the program runs them. The engine keeps the backend it
// started with, so this runs in a copy of the test program of its own, which a deadline kills.
#include "audio/media.h"
#include "support/harness.h"
#include "support/own_copy.h"
#include "support/test_copy.h"

#include "audio/TCorvoBass.h"
#include "mixer/play_record.h"

#include <QAction>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <gtest/gtest.h>

namespace {

const char* const kChildData = "VOLTARIA_WATCH_CHILD_DATA";

// Lets the window's timers run until `done` holds; the milliseconds it took, or -1 after 20 s.
int64_t waitFor(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 20000)
            return -1;
        QTest::qWait(20);
    }
    return clock.elapsed();
}

} // namespace

// Runs only in the copy the test below starts.
TEST(SilenceWatchRealTimeCopy, Run)
{
    test::CopyEnvironment copy(kChildData);
    if (copy.data.isEmpty())
        GTEST_SKIP() << "started by the real-time silence watch test only";
    const QString& data = copy.data;
    const int nullDevice = copy.nullDevice;
    copy.writeSettings("AUTOMIXAR=1\r\nVIGIA=1\r\n");
    const auto tone = [&](const QString& name, double seconds) {
        return media::writeWav(data + "/" + name, 44100, 2, 16, int64_t(seconds * 44100), media::sine(550, 44100, 0.3));
    };
    const QStringList tracks{tone("um.wav", 1.5), tone("dois.wav", 20)};

    Tform_mixer w;
    w.show();
    w.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(w.canal_a->Device, nullDevice);
    ASSERT_TRUE(w.VigiaSilencio1->isChecked());
    for (const QString& path : tracks) {
        w.ListBox1->addItem(QFileInfo(path).fileName().toUpper());
        w.lista_a << path;
    }
    w.ListBox1->setCurrentRow(0);
    w.ListBox1Click();
    w.BitBtn2Click();
    ASSERT_TRUE(w.canal_a->Playing);

    // Deck B's list is empty: the track ends with nothing to hand over to.
    ASSERT_GE(waitFor([&] { return !w.canal_a->Playing; }), 0);
    const int64_t silence = waitFor([&] { return w.canal_a->Playing; });
    EXPECT_GE(silence, 4900);
    EXPECT_LE(silence, 15000); // the watch's tick may come late on a loaded machine
    EXPECT_EQ(w.label2->text(), "dois.wav");
    // The position advances with the clock: the music is back.
    EXPECT_GE(waitFor([&] { return w.canal_a->GetPosition() >= 300; }), 0);

    bool onRecord = false;
    for (QDirIterator it(mixer::PlayRecord::folder(), {"*.csv"}); it.hasNext();) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        onRecord = onRecord || file.readAll().contains(",A," + tracks[1].toUtf8() + ",,,vigia\r\n");
    }
    EXPECT_TRUE(onRecord);
    EXPECT_EQ(copy.dialogs.texts(), QStringList{});
}

// Catches a watch that only works on the simulated clock: its timer not running, a restart
// before 5 s of silence, or none at all.
TEST(SilenceWatchRealTime, RestartsOnTheNullDeviceAfterFiveSeconds)
{
    QTemporaryDir data;
    test::runOwnCopy("SilenceWatchRealTimeCopy.Run", kChildData, data.path());
}
