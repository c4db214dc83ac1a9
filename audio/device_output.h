// One opened output device: the streams placed on it and the mix that the device's driver
// thread (or the manual render) calls. When the driver fails, time goes on over a silent clock
// and the device is reopened by its name when it answers again; the clock keeps the mix going
// until the returning device asks for sound at the real pace, so the streams' time follows the
// wall clock through the outage and the return. attach/detach run on the main thread, supervise()
// on the engine's supervisor thread (or inside the manual render), mix() on the driver's
// thread; mix() takes no lock, waits for nothing and allocates nothing.
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
    // for a failed one. Lock-free, as the window asks on its status line's every step; it follows
    // the output at the supervisor's pace.
    bool online() const { return online_.load(); }
    // Manual backend: renders `frames` frames into `out` (silence when the output failed).
    void renderManual(float* out, int frames);
    // The level of what this device sent out, block by block.
    OutputMeter& meter() { return meter_; }

private:
    void mix(float* out, int frames, bool heard, uint32_t driver);
    // `heard`: the driver is the device itself (or the null device), not the silent clock
    // standing in for a device that failed. `driver`: the number it was opened under.
    MixCallback mixCallback(bool heard, uint32_t driver);
    // Driver lock held: the silent clock takes the mix from where the device left it.
    void standIn(int64_t now);
    bool deviceOwnsMix() const;
    // Driver lock held: a real output is taking the sound now.
    bool heardNow() const;
    void superviseLocked();
    bool keepsPace(int frames);

    OutputBackend& backend_;
    const std::string name_;
    const bool null_;
    const int rate_;

    mutable std::mutex driverMutex_; // between the main thread and the supervisor, never the mix
    std::unique_ptr<OutputDriver> driver_; // the device (or the null device's clock)
    std::unique_ptr<OutputDriver> clock_;  // the silent clock standing in while the device is lost
    uint32_t driverNumber_ = 0;            // the number driver_ was opened under
    uint32_t lastNumber_ = 0;
    int64_t lastRetryMs_ = 0;
    uint64_t lastEpoch_ = 0;
    int64_t lastProgressMs_ = 0;
    int64_t openedMs_ = 0; // when the returning device was opened
    std::atomic<bool> online_{false}; // heardNow(), kept by start() and supervise()

    // The driver whose periods are mixed; a returning device takes over at its first period.
    std::atomic<uint32_t> owner_{0};
    std::atomic<uint32_t> returning_{0};
    std::atomic<int64_t> mixedUntilMs_{0}; // the backend's time at which the last period ends
    // The returning device's thread: since when it has kept pace, and the sound it asked for since.
    int64_t paceFromMs_ = -1;
    double returnedMs_ = 0;

    static constexpr int kSlots = 32;
    std::array<std::atomic<Stream*>, kSlots> slots_{};
    std::atomic<uint64_t> epoch_{0};
    std::atomic<bool> inMix_{false};
    OutputMeter meter_;
};

} // namespace audio
