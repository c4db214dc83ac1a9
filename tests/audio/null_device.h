// The real backend's null device, paced by the clock, in a child process of the test program
// with a deadline: a livelock or a crash fails the case instead of stopping the run.
//     TEST_F(OnNullDevice, X) { ... }                 // skipped unless run as a child
//     TEST(S, XInAChild) { runOnNullDevice("X"); }
#pragma once

#include "media.h"

#include "audio/TCorvoBass.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>

namespace realtime {

const char* const kChildVariable = "VOLTARIA_REALTIME_CHILD";

// Generous deadlines: the machine may be busy, and a case that hangs is killed after them.
constexpr int kWaitMs = 20000;
constexpr int kChildSeconds = 120;

class OnNullDevice : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!qEnvironmentVariableIsSet(kChildVariable))
            GTEST_SKIP() << "runs in the child process of RealTime.*";
        int last = 1;
        while (!canal.DeviceName(last + 1).isEmpty())
            ++last;
        canal.OpenDevice(last); // the null device is the last one
        canal.OnStop = [this](QObject*) { ++stops; };
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    QString wav(const QString& name, double seconds, int rate, int channels = 2)
    {
        return media::writeWav(path(name), rate, channels, 16, int64_t(seconds * rate), media::sine(440, rate));
    }

    // Lets the channel's timers run until `done` holds; false after the deadline.
    bool waitFor(const std::function<bool()>& done)
    {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > kWaitMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(2);
        }
        return true;
    }

    // The position moves from where it is by `ms` and what is heard is the loud tone, twice
    // in a row (the sample data keeps changing, so the output goes on).
    void expectPlaysOn(int64_t ms, const char* where)
    {
        SCOPED_TRACE(where);
        const int64_t from = canal.GetPosition();
        ASSERT_TRUE(waitFor([&] { return canal.GetPosition() >= from + ms; }))
            << "stuck at " << canal.GetPosition() << " ms, from " << from;
        int16_t first[512], second[512];
        canal.GetData(first, sizeof(first));
        const int64_t at = canal.GetPosition();
        ASSERT_TRUE(waitFor([&] { return canal.GetPosition() >= at + 30; }));
        canal.GetData(second, sizeof(second));
        auto loudest = [](const int16_t* s) { return *std::max_element(s, s + 512); };
        EXPECT_GT(loudest(first), 8000);
        EXPECT_GT(loudest(second), 8000);
        EXPECT_FALSE(std::equal(first, first + 512, second));
    }

    void expectEnds()
    {
        ASSERT_TRUE(waitFor([&] { return stops > 0; })) << "no end at " << canal.GetPosition() << " ms";
        EXPECT_EQ(canal.GetPosition(), canal.GetLength());
    }

    QTemporaryDir dir;
    TCorvoBass canal;
    int stops = 0;
};

} // namespace realtime

using realtime::OnNullDevice;

// The parent's side: runs `suite`.`name` (a test of OnNullDevice or of a fixture built on it) in
// a child process and fails when it does not finish in time, ends abnormally or does not pass.
inline void runOnNullDevice(const char* name, const char* suite = "OnNullDevice")
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(realtime::kChildVariable, "1");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QString("--gtest_filter=%1.%2").arg(suite, name)});
    if (!child.waitForFinished(realtime::kChildSeconds * 1000)) {
        child.kill();
        child.waitForFinished();
        FAIL() << name << " hung: killed after " << realtime::kChildSeconds << " s\n" << child.readAll().toStdString();
    }
    const QByteArray out = child.readAll();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << out.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
}
