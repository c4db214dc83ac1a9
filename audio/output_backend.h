// The small interface between the engine and whatever carries sound out: SDL2's audio for real
// outputs, a clock-paced silent thread for the null device (and for a device that failed),
// and the manual backend of tests. Called on the main thread and the engine's supervisor.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace audio {

// Fills `frames` frames of interleaved stereo float; runs on the driver's own thread.
using MixCallback = std::function<void(float* out, int frames)>;

class OutputDriver
{
public:
    virtual ~OutputDriver() = default;
    // True once the device stopped taking sound (unplugged, sound server gone).
    virtual bool failed() const { return false; }
};

class OutputBackend
{
public:
    virtual ~OutputBackend() = default;
    // Descriptions of the real outputs: the system's default output first, then one per output
    // of the sound server (or per card on a machine without one).
    virtual std::vector<std::string> outputs() = 0;
    // Opens an output by its description and starts calling `mix`; null when it cannot.
    virtual std::unique_ptr<OutputDriver> open(const std::string& name, int rate, MixCallback mix) = 0;
    // A silent output paced by the clock: the null device, and the stand-in for a failed device,
    // which first makes up `owedMs` of periods the device did not take.
    virtual std::unique_ptr<OutputDriver> openClock(int rate, MixCallback mix, int64_t owedMs) = 0;
    // The backend's own time in ms, which paces the retries of a failed device.
    virtual int64_t nowMs() const = 0;
};

std::unique_ptr<OutputBackend> makeSdlBackend();
std::unique_ptr<OutputDriver> makeClockDriver(int rate, MixCallback mix, int64_t owedMs); // real-time silent thread

} // namespace audio
