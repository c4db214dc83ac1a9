#include "app/session_writer.h"

#include "app/textfile.h"

namespace session {

Writer::Writer(QString path) : path_(std::move(path))
{
    thread_ = std::thread([this] { run(); });
}

Writer::~Writer()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void Writer::write(QByteArray contents)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_ = std::move(contents);
    }
    wake_.notify_one();
}

void Writer::waitIdle()
{
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !pending_ && !busy_; });
}

bool Writer::lastWriteSucceeded()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return lastOk_;
}

// Runs on the writer's thread.
void Writer::run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return pending_ || quit_; });
        if (!pending_)
            return;
        const QByteArray contents = std::move(*pending_);
        pending_.reset();
        busy_ = true;
        lock.unlock();
        const bool ok = textfile::replaceFile(path_, contents);
        lock.lock();
        busy_ = false;
        lastOk_ = ok;
        idle_.notify_all();
    }
}

} // namespace session
