// The last frames a stream sent towards its device, after the effects and before volume, pan
// and frequency: what the oscilloscope, meters and spectrum read. Written by the output
// callback, read on the main thread; relaxed atomics, no lock, no allocation after creation.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

namespace audio {

class SampleTap
{
public:
    static constexpr int kFrames = 4096; // a power of two, enough for 2048-frame reads

    SampleTap() : samples_(new std::atomic<float>[kFrames * 2]) { clear(); }

    // Output callback.
    void write(const float* frames, int count)
    {
        uint64_t w = written_.load(std::memory_order_relaxed);
        for (int i = 0; i < count; ++i, ++w) {
            const size_t at = (w & (kFrames - 1)) * 2;
            samples_[at].store(frames[2 * i], std::memory_order_relaxed);
            samples_[at + 1].store(frames[2 * i + 1], std::memory_order_relaxed);
        }
        written_.store(w, std::memory_order_release);
    }

    // Main thread: the latest `count` frames (at most kFrames), oldest first; zeros before any.
    template <typename Sink>
    void readLatest(int count, Sink&& sink) const
    {
        const uint64_t w = written_.load(std::memory_order_acquire);
        for (int i = 0; i < count; ++i) {
            const int64_t frame = int64_t(w) - count + i;
            if (frame < 0) {
                sink(i, 0.0f, 0.0f);
                continue;
            }
            const size_t at = (uint64_t(frame) & (kFrames - 1)) * 2;
            sink(i, samples_[at].load(std::memory_order_relaxed), samples_[at + 1].load(std::memory_order_relaxed));
        }
    }

    void clear()
    {
        for (int i = 0; i < kFrames * 2; ++i)
            samples_[i].store(0.0f, std::memory_order_relaxed);
    }

private:
    std::unique_ptr<std::atomic<float>[]> samples_;
    std::atomic<uint64_t> written_{0};
};

} // namespace audio
