// One opened output device: the streams placed on it and the mix that the device's driver
// thread (or the manual render) calls. When the driver fails, time goes on over a silent clock
// and the device is reopened by its name when it answers again. attach/detach run on the main
// thread, supervise() on the engine's supervisor thread (or inside the manual render), mix()
// on the driver's thread; mix() takes no lock and allocates nothing.
#pragma once

#include "audio/output_backend.h"
#include "audio/output_meter.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace audio {

class Stream;

class DeviceOutput
{
public:
    DeviceOutput(OutputBackend& backend, std::string name, bool nullDevice, int rate);
    ~DeviceOutput();

    // Opens the output; `waitForIt`: an output that is not there yet keeps time on the silent
    // clock until it appears, instead of failing.
    bool start(bool waitForIt = false);
    int rate() const { return rate_; }
    bool attach(Stream* stream);
    void detach(Stream* stream);
    // True when a stream detached at `epoch` can no longer be in use by the mix.
    bool releasedSince(uint64_t epoch) const;
    uint64_t epoch() const { return epoch_.load(); }

    void supervise();
    // A real output is taking the sound: not the null device, nor the silent clock standing in
    // for a failed one. Lock-free, as the window asks on its status line's every step.
    bool online() const { return online_.load(); }
    // Manual backend: renders `frames` frames into `out` (silence when the output failed).
    void renderManual(float* out, int frames);
    // The level of what this device sent out, block by block.
    OutputMeter& meter() { return meter_; }

private:
    void mix(float* out, int frames, bool heard);
    // `heard`: the driver is the device itself (or the null device), not the silent clock
    // standing in for a device that failed.
    MixCallback mixCallback(bool heard);
    // The driver in place is the silent clock (true) or the output itself; driverMutex_ held.
    void setOnClock(bool onClock);

    OutputBackend& backend_;
    const std::string name_;
    const bool null_;
    const int rate_;

    mutable std::mutex driverMutex_; // between the main thread and the supervisor, never the mix
    std::unique_ptr<OutputDriver> driver_;
    bool onClock_ = false;
    std::atomic<bool> online_{false}; // !onClock_, kept where the driver changes
    int64_t lastRetryMs_ = 0;
    uint64_t lastEpoch_ = 0;
    int64_t lastProgressMs_ = 0;

    static constexpr int kSlots = 32;
    std::array<std::atomic<Stream*>, kSlots> slots_{};
    std::atomic<uint64_t> epoch_{0};
    std::atomic<bool> inMix_{false};
    OutputMeter meter_;
};

} // namespace audio
