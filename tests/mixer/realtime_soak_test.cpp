// The auto-mix on the real path for a minute: the window on the clock-paced null device in real
// time, short generated tracks without silence, Auto Mix on. Run in a child process of this
// test program, so a hang is killed and no simulated clock of the other cases is involved.
#include "support/realtime_soak.h"

#include <QCoreApplication>
#include <QProcess>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

const char* const kChild = "VOLTARIA_REALTIME_SOAK_CHILD";
constexpr int kSeconds = 60;
constexpr int kDeadlineSeconds = kSeconds + 120;

} // namespace

TEST(RealTimeSoakChild, Run)
{
    if (!qEnvironmentVariableIsSet(kChild))
        GTEST_SKIP() << "runs in the child process of RealTimeSoak.*";
    soak::RealTimeOptions options;
    options.seconds = kSeconds;
    const soak::RealTimeResult r = soak::runRealTime(options);
    std::printf("result|%s\n", qPrintable(r.line()));
    std::fflush(stdout);
}

// Catches silence between tracks that only the real clock shows: a next track that is not
// ready when the hand-over starts it, an end noticed late, an underrun at a start.
TEST(RealTimeSoak, AMinuteOfHandOversOnTheNullDeviceHasNoSilentBlock)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChild, "1");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=RealTimeSoakChild.Run"});
    if (!child.waitForFinished(kDeadlineSeconds * 1000)) {
        child.kill();
        child.waitForFinished();
        FAIL() << "hung: killed after " << kDeadlineSeconds << " s\n" << child.readAll().toStdString();
    }
    const QByteArray out = child.readAll();
    ASSERT_EQ(child.exitStatus(), QProcess::NormalExit) << out.toStdString();
    const qsizetype at = out.indexOf("result|");
    ASSERT_GE(at, 0) << out.toStdString();
    const QString line = QString::fromUtf8(out.mid(at + 7, out.indexOf('\n', at) - at - 7));
    const soak::RealTimeResult r = soak::RealTimeResult::fromLine(line);
    std::printf("%s\n", qPrintable(line));
    EXPECT_EQ(r.silentBlocks, 0) << line.toStdString();
    EXPECT_EQ(r.lostBlocks, 0);
    EXPECT_EQ(r.messages.size(), 0);
    // Tracks of 2.5 to 8 s handed over 3 s before their ends (a jingle at once): well over ten.
    EXPECT_GE(r.handOvers, 10) << line.toStdString();
    // The device kept the clock's pace: blocks for nearly the whole minute.
    EXPECT_GE(r.blocks, int64_t(kSeconds) * 100 * 9 / 10) << line.toStdString();
}
