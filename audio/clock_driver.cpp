// The silent output: a thread that renders one 10 ms period and waits for the clock, so time
// goes on at the real pace without a sound card.
#include "audio/output_backend.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace audio {

namespace {

class ClockDriver : public OutputDriver
{
public:
    ClockDriver(int rate, MixCallback mix) : rate_(rate), mix_(std::move(mix))
    {
        thread_ = std::thread([this] { run(); });
    }
    ~ClockDriver() override
    {
        quit_ = true;
        thread_.join();
    }

private:
    void run()
    {
        using clock = std::chrono::steady_clock;
        const int period = rate_ / 100;
        std::vector<float> buffer(size_t(period) * 2);
        auto next = clock::now();
        while (!quit_) {
            mix_(buffer.data(), period);
            next += std::chrono::microseconds(int64_t(period) * 1000000 / rate_);
            if (clock::now() - next > std::chrono::milliseconds(200))
                next = clock::now(); // asleep (suspended machine): do not race to catch up
            std::this_thread::sleep_until(next);
        }
    }

    const int rate_;
    MixCallback mix_;
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

} // namespace

std::unique_ptr<OutputDriver> makeClockDriver(int rate, MixCallback mix)
{
    return std::make_unique<ClockDriver>(rate, std::move(mix));
}

} // namespace audio
