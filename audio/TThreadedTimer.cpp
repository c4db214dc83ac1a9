#include "audio/TThreadedTimer.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

struct TThreadedTimer::Waiter {
    std::mutex mutex;
    std::condition_variable wake;
    bool paused = true;
    bool terminate = false;
    bool tickPending = false;
    uint32_t interval = 1000;
    uint64_t wakes = 0; // the wake event: each set ends the current wait without a tick

    void set()
    {
        ++wakes;
        wake.notify_all();
    }
    void tickDone()
    {
        std::lock_guard<std::mutex> lock(mutex);
        tickPending = false;
        wake.notify_all();
    }
};

TThreadedTimer::TThreadedTimer(QObject* owner) : QObject(owner), waiter_(std::make_shared<Waiter>())
{
    std::shared_ptr<Waiter> w = waiter_;
    thread_ = QThread::create([this, w] {
        std::unique_lock<std::mutex> lock(w->mutex);
        for (;;) {
            w->wake.wait(lock, [&] { return w->terminate || !w->paused; });
            if (w->terminate)
                return;
            const uint64_t seen = w->wakes;
            const bool woken = w->wake.wait_for(lock, std::chrono::milliseconds(w->interval),
                                                [&] { return w->terminate || w->wakes != seen; });
            if (w->terminate)
                return;
            if (woken)
                continue;
            // Timed out: the tick runs on the main thread while this thread waits for it. A timer
            // destroyed meanwhile drops the queued tick and sets `terminate` instead.
            w->tickPending = true;
            QMetaObject::invokeMethod(
                this,
                [this, w] {
                    DoTimer();
                    w->tickDone();
                },
                Qt::QueuedConnection);
            w->wake.wait(lock, [&] { return w->terminate || !w->tickPending; });
        }
    });
    thread_->start(priority_);
}

TThreadedTimer::~TThreadedTimer()
{
    {
        std::lock_guard<std::mutex> lock(waiter_->mutex);
        waiter_->terminate = true;
        waiter_->set();
    }
    thread_->wait();
    delete thread_;
}

void TThreadedTimer::setEnabled(bool on)
{
    if (on == enabled_)
        return;
    enabled_ = on;
    std::lock_guard<std::mutex> lock(waiter_->mutex);
    waiter_->paused = !(on && interval_ > 0);
    waiter_->set();
}

void TThreadedTimer::setInterval(uint32_t ms)
{
    if (ms == interval_)
        return;
    const bool was = enabled_;
    setEnabled(false);
    interval_ = ms;
    {
        std::lock_guard<std::mutex> lock(waiter_->mutex);
        waiter_->interval = ms;
    }
    setEnabled(was);
}

void TThreadedTimer::setThreadPriority(QThread::Priority priority)
{
    priority_ = priority;
    thread_->setPriority(priority);
}

void TThreadedTimer::DoTimer()
{
    if (enabled_ && OnTimer)
        OnTimer(this);
}
