// Stops the real timers of a window whose time a test simulates. Main thread only.
#pragma once
#include "app/UMIXER.h"
#include "audio/TThreadedTimer.h"

#include <QEvent>
#include <QObject>
#include <QTimer>

namespace test {

// While it lives, none of the window's timers (its own, its channels' end watchers and fade
// steppers) ticks by the wall clock: on the manual backend time passes only as a test renders
// it, and a real tick on a busy machine would act at a moment the test did not choose. The
// timers keep their state (active, enabled, interval) for the test to read and tick by hand.
class RealTimersStopped : public QObject
{
public:
    explicit RealTimersStopped(Tform_mixer& window) : w_(window) { cover(); }
    ~RealTimersStopped() override
    {
        for (QTimer* t : w_.findChildren<QTimer*>())
            t->removeEventFilter(this);
        for (TThreadedTimer* t : w_.findChildren<TThreadedTimer*>())
            t->removeEventFilter(this);
    }
    RealTimersStopped(const RealTimersStopped&) = delete;
    RealTimersStopped& operator=(const RealTimersStopped&) = delete;

    // Covers the timers made since (a channel opened later). Installing a filter again only
    // moves it to the front.
    void cover()
    {
        for (QTimer* t : w_.findChildren<QTimer*>())
            t->installEventFilter(this);
        for (TThreadedTimer* t : w_.findChildren<TThreadedTimer*>())
            t->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Timer && qobject_cast<QTimer*>(watched))
            return true;
        // A threaded timer's tick arrives as a queued call whose thread waits until it has
        // run: it runs with the timer disabled, which frees the thread and does nothing else.
        if (event->type() == QEvent::MetaCall) {
            if (auto* t = qobject_cast<TThreadedTimer*>(watched)) {
                const bool enabled = t->Enabled();
                t->setEnabled(false);
                t->event(event);
                t->setEnabled(enabled);
                return true;
            }
        }
        return false;
    }

private:
    Tform_mixer& w_;
};

} // namespace test
