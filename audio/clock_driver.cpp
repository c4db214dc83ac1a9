// The silent output: a thread that renders one 10 ms period and waits for the clock, so time
// goes on at the real pace without a sound card. Standing in for a device that failed, it first
// makes up the periods the device did not take, at four times the pace, which the decoders
// follow easily.
#include "audio/output_backend.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace audio {

namespace {

using Clock = std::chrono::steady_clock;
// Further behind than this the machine was asleep (suspended): time starts afresh from now.
constexpr auto kMostBehind = std::chrono::seconds(5);

class ClockDriver : public OutputDriver
{
public:
    ClockDriver(int rate, MixCallback mix, int64_t owedMs)
        : rate_(rate), mix_(std::move(mix)), start_(Clock::now() - std::chrono::milliseconds(owedMs))
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
        const int period = rate_ / 100;
        const auto length = std::chrono::microseconds(int64_t(period) * 1000000 / rate_);
        std::vector<float> buffer(size_t(period) * 2);
        auto next = start_;
        while (!quit_) {
            mix_(buffer.data(), period);
            next += length;
            const auto now = Clock::now();
            if (now - next > kMostBehind)
                next = now;
            std::this_thread::sleep_until(next > now ? next : now + length / 4);
        }
    }

    const int rate_;
    MixCallback mix_;
    const Clock::time_point start_;
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

} // namespace

std::unique_ptr<OutputDriver> makeClockDriver(int rate, MixCallback mix, int64_t owedMs)
{
    return std::make_unique<ClockDriver>(rate, std::move(mix), owedMs);
}

} // namespace audio
