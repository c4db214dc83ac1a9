// The threaded timer: ticks on the main thread, never overlapping, with its switch rules.
#include "audio/TThreadedTimer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

TEST(ThreadedTimer, StartsDisabledAndTicksOnTheMainThread)
{
    TThreadedTimer timer;
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_EQ(timer.ThreadPriority(), QThread::NormalPriority);
    int ticks = 0;
    timer.OnTimer = [&](QObject* sender) {
        EXPECT_EQ(sender, &timer);
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        ++ticks;
    };
    timer.setInterval(20);
    QElapsedTimer clock;
    clock.start();
    timer.setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 3000);
    EXPECT_GE(clock.elapsed(), 3 * 20 - 5); // the first tick comes one interval after enabling
    timer.setEnabled(false);
    const int seen = ticks;
    QTest::qWait(80);
    EXPECT_EQ(ticks, seen);
}

// A tick that runs long holds the next one back instead of queueing more.
TEST(ThreadedTimer, TicksNeverOverlapOrPileUp)
{
    TThreadedTimer timer;
    int depth = 0, deepest = 0, ticks = 0;
    timer.OnTimer = [&](QObject*) {
        ++depth;
        deepest = std::max(deepest, depth);
        ++ticks;
        QTest::qWait(50); // events run meanwhile, yet no second tick may start
        --depth;
    };
    timer.setInterval(5);
    timer.setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 3000);
    timer.setEnabled(false);
    EXPECT_EQ(deepest, 1);
}

TEST(ThreadedTimer, ZeroIntervalNeverTicks)
{
    TThreadedTimer timer;
    int ticks = 0;
    timer.OnTimer = [&](QObject*) { ++ticks; };
    timer.setInterval(0);
    timer.setEnabled(true);
    QTest::qWait(60);
    EXPECT_EQ(ticks, 0);
    EXPECT_TRUE(timer.Enabled());
    timer.setInterval(10); // a new interval restarts the paused timer with the same Enabled
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 1, 3000);
}

// A tick already queued when the timer is disabled does nothing; destroying a timer with a
// tick on its way neither hangs nor delivers it.
TEST(ThreadedTimer, QueuedTicksAfterDisableOrDestructionDoNothing)
{
    int ticks = 0;
    {
        TThreadedTimer timer;
        timer.OnTimer = [&](QObject*) { ++ticks; };
        timer.setInterval(1);
        timer.setEnabled(true);
        QThread::msleep(20); // the thread has handed a tick over and waits for it
        timer.setEnabled(false);
        QCoreApplication::processEvents();
        EXPECT_EQ(ticks, 0);
        timer.setEnabled(true);
        QThread::msleep(20);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(ticks, 0);
}
