// Decoded audio on its way from a stream's decoder thread (the only producer) to the output
// callback (the only consumer): a fixed ring of chunks, allocated once, never locked.
// Each chunk carries the seek generation it was decoded for, so a seek only has to bump the
// generation: the consumer drops chunks of older generations without touching the producer.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

namespace audio {

inline constexpr int kChunkFrames = 1024;

struct Chunk {
    uint32_t generation = 0;
    int64_t firstFrame = 0; // source frame of data[0]
    int frames = 0;
    bool last = false; // the source ends after this chunk
    float data[kChunkFrames * 2];
};

class ChunkRing
{
public:
    explicit ChunkRing(int capacity) : slots_(new Chunk[capacity]), capacity_(capacity) {}

    // Producer side.
    Chunk* writable()
    {
        const uint32_t w = write_.load(std::memory_order_relaxed);
        if (w - read_.load(std::memory_order_acquire) >= uint32_t(capacity_))
            return nullptr;
        return &slots_[w % capacity_];
    }
    void publish() { write_.store(write_.load(std::memory_order_relaxed) + 1, std::memory_order_release); }

    // Consumer side.
    Chunk* readable()
    {
        const uint32_t r = read_.load(std::memory_order_relaxed);
        if (r == write_.load(std::memory_order_acquire))
            return nullptr;
        return &slots_[r % capacity_];
    }
    void release() { read_.store(read_.load(std::memory_order_relaxed) + 1, std::memory_order_release); }

    int capacity() const { return capacity_; }
    // Chunks written and not yet released (from the producer side never less than the truth).
    int size() const { return int(write_.load(std::memory_order_acquire) - read_.load(std::memory_order_acquire)); }

private:
    std::unique_ptr<Chunk[]> slots_;
    int capacity_;
    std::atomic<uint32_t> write_{0};
    std::atomic<uint32_t> read_{0};
};

} // namespace audio
