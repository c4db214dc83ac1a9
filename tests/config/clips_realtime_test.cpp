// A clip on the clock-paced null device in real time, beside a playing deck. The engine keeps
// the backend it started with, so this runs in a copy of the test program of its own.
#include "audio/media.h"
#include "support/own_copy.h"
#include "support/harness.h"
#include "support/test_copy.h"

#include "audio/TCorvoBass.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

const char* const kChildData = "VOLTARIA_CLIP_CHILD_DATA";

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

// Runs only in the copy the test below starts.
TEST(ClipRealTimeCopy, Run)
{
    test::CopyEnvironment copy(kChildData);
    if (copy.data.isEmpty())
        GTEST_SKIP() << "started by the real-time clip test only";
    const QString& data = copy.data;
    const int nullDevice = copy.nullDevice;
    ASSERT_GE(nullDevice, 1);
    copy.writeSettings();
    const auto tone = [&](const QString& name, int seconds) {
        return media::writeWav(data + "/" + name, 44100, 2, 16, int64_t(seconds) * 44100, media::sine(550, 44100, 0.3));
    };
    const QString clip = tone("clip.wav", 20), track = tone("deck.wav", 20);
    writeFile(data + "/ATALHOS.INI", (clip + "\r\n").toUtf8());

    Tform_mixer w;
    w.show();
    w.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(w.canal_atalho->Device, nullDevice);
    w.canal_a->LoadFile(track);
    w.canal_a->Play();
    QTest::keyClick(&w, Qt::Key_F2);
    ASSERT_TRUE(w.canal_atalho->Playing);

    // Both advance with the clock, however slowly this loaded machine lets them start.
    QElapsedTimer clock;
    clock.start();
    while ((w.canal_atalho->GetPosition() < 500 || w.canal_a->GetPosition() < 500) && clock.elapsed() < 20000)
        QTest::qWait(50);
    const int64_t clipAt = w.canal_atalho->GetPosition();
    EXPECT_GE(clipAt, 500);
    EXPECT_GE(w.canal_a->GetPosition(), 500);
    // Paced by the clock: never ahead of the time that passed (plus a device buffer).
    EXPECT_LE(clipAt, clock.elapsed() + 100);
    EXPECT_TRUE(w.canal_atalho->Playing);
    EXPECT_TRUE(w.canal_a->Playing);
    EXPECT_EQ(copy.dialogs.texts(), QStringList{});
}

TEST(ClipRealTime, ClipAdvancesOnTheNullDeviceWhileDeckAPlays)
{
    QTemporaryDir data;
    test::runOwnCopy("ClipRealTimeCopy.Run", kChildData, data.path());
}
