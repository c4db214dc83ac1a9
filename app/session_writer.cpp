#include "app/session_writer.h"

#include "base/textfile.h"

namespace session {

Writer::Writer(QString path) : path_(std::move(path))
{
    for (int deck = 0; deck < 2; ++deck)
        playlists_[size_t(deck)] = encodePlaylist(deck, {}, {});
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

void Writer::write(const State& state, std::array<bool, 2> listsChanged)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        State next = state;
        // A list handed over earlier and not written yet is kept, unless this state brings a newer one.
        for (size_t deck = 0; deck < 2; ++deck) {
            if (listsChanged[deck] || !pending_ || !pendingLists_[deck])
                continue;
            next.decks[deck].names = pending_->decks[deck].names;
            next.decks[deck].paths = pending_->decks[deck].paths;
            listsChanged[deck] = true;
        }
        pending_ = std::move(next);
        pendingLists_ = listsChanged;
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
        const State state = std::move(*pending_);
        const std::array<bool, 2> lists = pendingLists_;
        pending_.reset();
        busy_ = true;
        lock.unlock();
        for (size_t deck = 0; deck < 2; ++deck)
            if (lists[deck])
                playlists_[deck] = encodePlaylist(int(deck), state.decks[deck].names, state.decks[deck].paths);
        const bool ok = textfile::replaceFile(path_, encode(state, playlists_[0], playlists_[1]));
        lock.lock();
        busy_ = false;
        lastOk_ = ok;
        idle_.notify_all();
    }
}

} // namespace session
