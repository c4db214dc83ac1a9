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
// The most time the silent clock makes up for: a device that went quiet is noticed within this.
constexpr int64_t kMostOwedMs = kStalledMs + 500;
// A returning device takes the mix from the clock once it has asked for sound at the real pace
// this long, never behind by more than the slack: a sound server's output that was just opened
// asks for its first buffers and then may wait a second before it plays them.
constexpr int64_t kSteadyMs = 250;
constexpr double kPaceSlackMs = 60;
// A returning device that has not kept pace within this is closed and tried again.
constexpr int64_t kReturnMs = 5000;
} // namespace

DeviceOutput::DeviceOutput(OutputBackend& backend, std::string name, bool nullDevice, int rate)
    : backend_(backend), name_(std::move(name)), null_(nullDevice), rate_(rate), meter_(rate)
{
}

DeviceOutput::~DeviceOutput()
{
    std::lock_guard<std::mutex> lock(driverMutex_);
    driver_.reset();
    clock_.reset();
}

MixCallback DeviceOutput::mixCallback(bool heard, uint32_t driver)
{
    return [this, heard, driver](float* out, int frames) { mix(out, frames, heard, driver); };
}

bool DeviceOutput::start(bool waitForIt)
{
    std::lock_guard<std::mutex> lock(driverMutex_);
    const int64_t now = backend_.nowMs();
    lastProgressMs_ = lastRetryMs_ = now;
    mixedUntilMs_.store(now);
    driverNumber_ = ++lastNumber_;
    owner_.store(driverNumber_); // before it opens: the driver may call back at once
    driver_ = null_ ? backend_.openClock(rate_, mixCallback(true, driverNumber_), 0)
                    : backend_.open(name_, rate_, mixCallback(true, driverNumber_));
    if (!driver_ && waitForIt)
        standIn(now);
    online_.store(heardNow());
    return driver_ || clock_;
}

void DeviceOutput::standIn(int64_t now)
{
    driver_.reset(); // closing a device that went away may take a while
    returning_.store(0);
    const uint32_t number = ++lastNumber_;
    owner_.store(number);
    // The periods between the device's last one and now are owed: the clock makes them up.
    const int64_t owed = std::clamp<int64_t>(backend_.nowMs() - mixedUntilMs_.load(), 0, kMostOwedMs);
    clock_ = backend_.openClock(rate_, mixCallback(false, number), owed);
    lastRetryMs_ = now;
}

bool DeviceOutput::deviceOwnsMix() const { return driver_ && owner_.load() == driverNumber_; }

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
void DeviceOutput::mix(float* out, int frames, bool heard, uint32_t driver)
{
    std::memset(out, 0, sizeof(float) * size_t(frames) * 2);
    // Periods of a returning device are silent until it keeps pace; a stand-in whose device
    // has taken over is silent too.
    if (driver != owner_.load() && (driver != returning_.load() || !keepsPace(frames)))
        return;
    // Two drivers only meet while the returning device takes over from the clock: the one that
    // comes second in that instant gives a silent period instead of waiting.
    if (inMix_.exchange(true))
        return;
    if (driver != owner_.load() && driver != returning_.load()) {
        inMix_.store(false); // the device took over meanwhile
        return;
    }
    owner_.store(driver); // a returning device's takeover: the clock's time ends here
    for (auto& slot : slots_)
        if (Stream* s = slot.load())
            s->render(out, frames, heard);
    // Decks add up: what leaves for the speakers stays within full scale.
    boundSamples(out, size_t(frames) * 2, 1.0f);
    meter_.add(out, frames);
    mixedUntilMs_.store(backend_.nowMs() + int64_t(frames) * 1000 / rate_);
    epoch_.fetch_add(1);
    inMix_.store(false);
}

// Runs on the returning device's thread, the only one that touches the pace's figures.
bool DeviceOutput::keepsPace(int frames)
{
    const int64_t now = backend_.nowMs();
    const double ms = double(frames) * 1000.0 / rate_;
    returnedMs_ += ms;
    if (paceFromMs_ < 0 || returnedMs_ < double(now - paceFromMs_) - kPaceSlackMs) {
        paceFromMs_ = now;
        returnedMs_ = ms;
    }
    return now - paceFromMs_ >= kSteadyMs;
}

void DeviceOutput::supervise()
{
    std::lock_guard<std::mutex> lock(driverMutex_);
    superviseLocked();
    online_.store(heardNow());
}

void DeviceOutput::superviseLocked()
{
    if (null_)
        return;
    const int64_t now = backend_.nowMs();
    const uint64_t epoch = epoch_.load();
    if (epoch != lastEpoch_) {
        lastEpoch_ = epoch;
        lastProgressMs_ = now;
    }
    if (deviceOwnsMix()) {
        clock_.reset(); // a device that has just taken over: the stand-in is done
        if (driver_->failed() || now - lastProgressMs_ > kStalledMs)
            standIn(now); // the card is gone: the streams' time goes on over a silent clock
        return;
    }
    if (!clock_) {
        standIn(now);
        return;
    }
    // A returning device that fails again, or never takes sound, is tried again later.
    if (driver_ && (driver_->failed() || now - openedMs_ > kReturnMs)) {
        returning_.store(0);
        driver_.reset();
    }
    if (!driver_ && now - lastRetryMs_ >= kRetryMs) {
        lastRetryMs_ = openedMs_ = now;
        driverNumber_ = ++lastNumber_;
        paceFromMs_ = -1; // the last returning device is closed: its callbacks are over
        returning_.store(driverNumber_); // before it opens: the driver may call back at once
        driver_ = backend_.open(name_, rate_, mixCallback(true, driverNumber_));
        if (!driver_)
            returning_.store(0);
    }
}

bool DeviceOutput::heardNow() const { return !null_ && deviceOwnsMix() && !driver_->failed(); }

void DeviceOutput::renderManual(float* out, int frames)
{
    struct Drivers {
        ManualDriver* device = nullptr; // the device, or the one returning
        ManualDriver* clock = nullptr;
    };
    auto current = [this] {
        std::lock_guard<std::mutex> lock(driverMutex_);
        return Drivers{driver_ && !driver_->failed() ? dynamic_cast<ManualDriver*>(driver_.get()) : nullptr,
                       dynamic_cast<ManualDriver*>(clock_.get())};
    };
    Drivers d = current();
    if (!d.device && !d.clock) {
        supervise(); // no period is lost: the silent clock takes this one already
        d = current();
    }
    // The device is asked first, as a returning device asks while the clock still keeps time;
    // the clock mixes the period the device did not.
    const bool sounded = d.device && d.device->render(out, frames) && [this] {
        std::lock_guard<std::mutex> lock(driverMutex_);
        return heardNow();
    }();
    if (!sounded) {
        if (d.clock)
            d.clock->render(out, frames);
        std::memset(out, 0, sizeof(float) * size_t(frames) * 2);
    }
}

} // namespace audio
