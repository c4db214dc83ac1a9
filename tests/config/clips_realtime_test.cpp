// A clip on the clock-paced null device in real time, beside a playing deck. The engine keeps
// the backend it started with, so this runs in a copy of the test program of its own.
#include "audio/media.h"
#include "own_copy.h"
#include "support/harness.h"

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
    const QString data = qEnvironmentVariable(kChildData);
    if (data.isEmpty())
        GTEST_SKIP() << "started by the real-time clip test only";
    test::RecordingDialogs dialogs;
    setDialogs(&dialogs);
    app::setDataFolder(data);
    app::setScreenSize(QSize(1024, 768));
    timefmt::setStorePath(data + "/user-locale.ini");

    // The null device comes after the real outputs.
    const int nullDevice = TCorvoBass().DeviceCount();
    ASSERT_GE(nullDevice, 1);
    writeFile(data + "/VOLTARIA4.INI", QStringLiteral("DEVICE_TRANSMISSAO=%1\r\nDEVICE_CUE=%1\r\n").arg(nullDevice).toUtf8());
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
    EXPECT_EQ(dialogs.texts(), QStringList{});
    setDialogs(nullptr);
}

TEST(ClipRealTime, ClipAdvancesOnTheNullDeviceWhileDeckAPlays)
{
    QTemporaryDir data;
    test::runOwnCopy("ClipRealTimeCopy.Run", kChildData, data.path());
}
