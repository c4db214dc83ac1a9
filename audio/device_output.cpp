#include "audio/device_output.h"

#include "audio/manual_backend.h"
#include "audio/sample_guard.h"
#include "audio/stream.h"

#include <algorithm>
#include <cstring>

namespace audio {

namespace {
constexpr int64_t kRetryMs = 1000;  // how often a failed device is tried again
// A driver that stopped calling back counts as failed; a sound server's idle output may take
// a second or two to start taking sound from a stream just opened.
constexpr int64_t kStalledMs = 3000;
} // namespace

DeviceOutput::DeviceOutput(OutputBackend& backend, std::string name, bool nullDevice, int rate)
    : backend_(backend), name_(std::move(name)), null_(nullDevice), rate_(rate), meter_(rate)
{
}

DeviceOutput::~DeviceOutput()
{
    std::lock_guard<std::mutex> lock(driverMutex_);
    driver_.reset();
}

MixCallback DeviceOutput::mixCallback(bool heard)
{
    return [this, heard](float* out, int frames) { mix(out, frames, heard); };
}

bool DeviceOutput::start(bool waitForIt)
{
    std::lock_guard<std::mutex> lock(driverMutex_);
    driver_ = null_ ? backend_.openClock(rate_, mixCallback(true)) : backend_.open(name_, rate_, mixCallback(true));
    onClock_ = null_;
    if (!driver_ && waitForIt) {
        driver_ = backend_.openClock(rate_, mixCallback(false));
        onClock_ = true;
    }
    lastProgressMs_ = lastRetryMs_ = backend_.nowMs();
    return driver_ != nullptr;
}

bool DeviceOutput::attach(Stream* stream)
{
    for (auto& slot : slots_) {
        Stream* empty = nullptr;
        if (slot.compare_exchange_strong(empty, stream))
            return true;
    }
    return false;
}

void DeviceOutput::detach(Stream* stream)
{
    for (auto& slot : slots_) {
        Stream* expected = stream;
        slot.compare_exchange_strong(expected, nullptr);
    }
}

bool DeviceOutput::releasedSince(uint64_t epoch) const { return !inMix_.load() || epoch_.load() != epoch; }

// Runs on the driver's thread.
void DeviceOutput::mix(float* out, int frames, bool heard)
{
    inMix_.store(true);
    std::memset(out, 0, sizeof(float) * size_t(frames) * 2);
    for (auto& slot : slots_)
        if (Stream* s = slot.load())
            s->render(out, frames, heard);
    // Decks add up: what leaves for the speakers stays within full scale.
    boundSamples(out, size_t(frames) * 2, 1.0f);
    meter_.add(out, frames);
    epoch_.fetch_add(1);
    inMix_.store(false);
}

void DeviceOutput::supervise()
{
    std::lock_guard<std::mutex> lock(driverMutex_);
    if (null_)
        return;
    const int64_t now = backend_.nowMs();
    const uint64_t epoch = epoch_.load();
    if (epoch != lastEpoch_) {
        lastEpoch_ = epoch;
        lastProgressMs_ = now;
    }
    const bool stalled = !onClock_ && now - lastProgressMs_ > kStalledMs;
    if (!onClock_ && (!driver_ || driver_->failed() || stalled)) {
        // The card is gone: keep the streams' time on a silent clock.
        driver_.reset();
        driver_ = backend_.openClock(rate_, mixCallback(false));
        onClock_ = true;
        lastRetryMs_ = now;
        return;
    }
    if (onClock_ && now - lastRetryMs_ >= kRetryMs) {
        lastRetryMs_ = now;
        driver_.reset(); // only one driver may run the mix at a time
        driver_ = backend_.open(name_, rate_, mixCallback(true));
        onClock_ = driver_ == nullptr;
        if (onClock_)
            driver_ = backend_.openClock(rate_, mixCallback(false));
        lastProgressMs_ = now;
    }
}

bool DeviceOutput::online() const
{
    std::lock_guard<std::mutex> lock(driverMutex_);
    return driver_ && !onClock_ && !driver_->failed();
}

void DeviceOutput::renderManual(float* out, int frames)
{
    auto current = [this] {
        std::lock_guard<std::mutex> lock(driverMutex_);
        return dynamic_cast<ManualDriver*>(driver_.get());
    };
    ManualDriver* driver = current();
    if (driver && driver->failed()) {
        supervise(); // no period is lost: the silent clock takes this one already
        driver = current();
    }
    if (!driver || !driver->render(out, frames) || driver->silent())
        std::memset(out, 0, sizeof(float) * size_t(frames) * 2);
}

} // namespace audio
