// Writes the session file away from the main thread: replacing a file waits for the disk
// (the bytes are synced before the rename), which must not hold up the window or its timers.
// The latest bytes handed over win; a failed write leaves the previous file whole and is
// not reported. write() and waitIdle() are called on the main thread; the replacement runs on
// the writer's own thread.
#pragma once

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace session {

class Writer
{
public:
    explicit Writer(QString path);
    // Finishes the write in hand and the one waiting, then ends the thread.
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Returns at once; replaces bytes handed over earlier that were not written yet.
    void write(QByteArray contents);
    // Returns once everything handed over has been written (or has failed).
    void waitIdle();
    // Whether the last write reached the file.
    bool lastWriteSucceeded();

private:
    void run();

    const QString path_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<QByteArray> pending_;
    bool busy_ = false;
    bool quit_ = false;
    bool lastOk_ = true;
    std::thread thread_;
};

} // namespace session
