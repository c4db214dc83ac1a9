// The threaded timer: ticks on the main thread, never overlapping, with its switch rules.
#include "support/eventually.h"
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
    ASSERT_EVENTUALLY(ticks >= 3, 3000);
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
    ASSERT_EVENTUALLY(ticks >= 3, 3000);
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
    ASSERT_EVENTUALLY(ticks >= 1, 3000);
}

// Counts the ticks handed to the main thread, and can keep them from running at all.
class TickWatch : public QObject
{
public:
    int handed = 0;
    bool swallow = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::MetaCall)
            return false;
        ++handed;
        return swallow;
    }
};

// A tick already queued when the timer is disabled does nothing; destroying a timer whose
// thread waits for a tick on its way neither hangs nor delivers it.
TEST(ThreadedTimer, QueuedTicksAfterDisableOrDestructionDoNothing)
{
    int ticks = 0;
    {
        TThreadedTimer timer;
        TickWatch watch;
        timer.installEventFilter(&watch);
        timer.OnTimer = [&](QObject*) { ++ticks; };
        timer.setInterval(1);
        // Disabled before its events run: until the thread had handed a tick over by then,
        // which a busy machine may delay, try again.
        QElapsedTimer clock;
        clock.start();
        while (watch.handed == 0 && clock.elapsed() < 5000) {
            timer.setEnabled(true);
            QThread::msleep(5);
            timer.setEnabled(false);
            QCoreApplication::processEvents();
        }
        ASSERT_GT(watch.handed, 0);
        EXPECT_EQ(ticks, 0);

        watch.swallow = true;
        watch.handed = 0;
        timer.setEnabled(true);
        ASSERT_EVENTUALLY(watch.handed > 0, 5000); // the thread now waits for that tick
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(ticks, 0);
}
