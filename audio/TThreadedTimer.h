// A periodic timer whose waiting happens on a thread of its own while every tick runs on the
// main thread: the thread waits one interval, hands the tick over and blocks until it has run,
// so ticks never overlap or pile up. Created, configured and destroyed on the main thread.
#pragma once

#include <QObject>
#include <QThread>
#include <cstdint>
#include <functional>
#include <memory>

class TThreadedTimer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(uint32_t Interval READ Interval WRITE setInterval)
    Q_PROPERTY(QThread::Priority ThreadPriority READ ThreadPriority WRITE setThreadPriority)

public:
    using TimerEvent = std::function<void(QObject* sender)>;

    explicit TThreadedTimer(QObject* owner = nullptr);
    ~TThreadedTimer() override;

    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);
    uint32_t Interval() const { return interval_; }
    void setInterval(uint32_t ms);
    QThread::Priority ThreadPriority() const { return priority_; }
    void setThreadPriority(QThread::Priority priority);

    TimerEvent OnTimer;

private:
    struct Waiter; // what the thread and the main thread share

    void DoTimer();

    bool enabled_ = false;
    uint32_t interval_ = 1000;
    QThread::Priority priority_ = QThread::NormalPriority;
    std::shared_ptr<Waiter> waiter_;
    QThread* thread_ = nullptr;
};
