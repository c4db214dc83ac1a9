// Writes the session file away from the main thread: encoding a 10 000-entry playlist and
// replacing a file that waits for the disk (the bytes are synced before the rename) must not
// hold up the window or its timers. The latest state handed over wins; a failed write leaves
// the previous file whole, and lastWriteSucceeded() tells the caller. write() and waitIdle() are called on the main
// thread; encoding and replacing run on the writer's own thread.
#pragma once

#include "app/session_file.h"

#include <QByteArray>
#include <QString>
#include <array>
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

    // Returns at once. The decks whose lists changed carry them in `state` and are marked in
    // `listsChanged`; the others keep the lists of an earlier write.
    void write(const State& state, std::array<bool, 2> listsChanged);
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
    std::optional<State> pending_;
    std::array<bool, 2> pendingLists_{false, false};
    bool busy_ = false;
    bool quit_ = false;
    bool lastOk_ = true;
    std::thread thread_;
    // The writer thread's own: each deck's list as last encoded.
    std::array<QByteArray, 2> playlists_;
};

} // namespace session
