// The level of what an output device sends out, in 10 ms blocks: the device's mix adds every
// period it renders, and each full block's RMS (both channels together) and peak go into a ring
// that the main thread takes from. Off until the first take, so a run that never measures pays
// nothing. add() runs on the driver's thread (no lock, no allocation); take() on the main thread.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <vector>

namespace audio {

class OutputMeter
{
public:
    static constexpr int kBlocks = 8192; // 82 s of blocks between two takes; a power of two

    explicit OutputMeter(int rate) : blockFrames_(rate / 100) {}

    // The output callback, with the interleaved stereo frames it just mixed.
    void add(const float* frames, int count)
    {
        if (!on_.load(std::memory_order_relaxed))
            return;
        for (int i = 0; i < count; ++i) {
            sum_ += double(frames[2 * i]) * frames[2 * i] + double(frames[2 * i + 1]) * frames[2 * i + 1];
            for (int c = 0; c < 2; ++c)
                if (!(std::fabs(frames[2 * i + c]) <= peak_)) // a NaN is the loudest of all
                    peak_ = std::fabs(frames[2 * i + c]);
            if (++inBlock_ < blockFrames_)
                continue;
            const uint64_t w = written_.load(std::memory_order_relaxed);
            ring_[w & (kBlocks - 1)].store(float(std::sqrt(sum_ / (2.0 * blockFrames_))), std::memory_order_relaxed);
            peaks_[w & (kBlocks - 1)].store(peak_, std::memory_order_relaxed);
            written_.store(w + 1, std::memory_order_release);
            sum_ = 0;
            peak_ = 0;
            inBlock_ = 0;
        }
    }

    // Main thread: appends the blocks completed since the last take, oldest first (their peaks
    // too when `peaks` is given); returns how many were overwritten before they could be taken.
    // The first call starts the measurement.
    int64_t take(std::vector<float>& rms, std::vector<float>* peaks = nullptr)
    {
        if (!on_.exchange(true))
            read_ = written_.load(std::memory_order_acquire);
        const uint64_t w = written_.load(std::memory_order_acquire);
        const uint64_t lost = w - read_ > uint64_t(kBlocks) / 2 ? w - read_ - kBlocks / 2 : 0;
        for (uint64_t b = read_ + lost; b < w; ++b) {
            rms.push_back(ring_[b & (kBlocks - 1)].load(std::memory_order_relaxed));
            if (peaks)
                peaks->push_back(peaks_[b & (kBlocks - 1)].load(std::memory_order_relaxed));
        }
        read_ = w;
        return int64_t(lost);
    }

private:
    const int blockFrames_;
    // The callback's own.
    double sum_ = 0;
    float peak_ = 0;
    int inBlock_ = 0;
    // Shared.
    std::atomic<bool> on_{false};
    std::array<std::atomic<float>, kBlocks> ring_{};
    std::array<std::atomic<float>, kBlocks> peaks_{};
    std::atomic<uint64_t> written_{0};
    // The main thread's own.
    uint64_t read_ = 0;
};

} // namespace audio
