// Real sound cards through PortAudio. The list offers the system's default output, then one
// entry per ALSA card (its hw device, named by the card), leaving out ALSA's alias devices.
#include "audio/output_backend.h"

#include <portaudio.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <set>

namespace audio {

namespace {

const char* const kDefaultOutput = "Saída padrão do sistema";

// "HDA Intel PCH: ALC892 Analog (hw:0,0)" -> "HDA Intel PCH"; empty for alias devices.
std::string cardName(const PaDeviceInfo* info)
{
    const std::string name = info->name;
    if (name.find("(hw:") == std::string::npos)
        return {};
    const size_t colon = name.find(':');
    return name.substr(0, colon == std::string::npos ? name.find(" (hw:") : colon);
}

class PortAudioDriver : public OutputDriver
{
public:
    PortAudioDriver(MixCallback mix, std::atomic<int>& live) : mix_(std::move(mix)), live_(live) { ++live_; }
    ~PortAudioDriver() override
    {
        if (stream_) {
            Pa_AbortStream(stream_);
            Pa_CloseStream(stream_);
        }
        --live_;
    }
    bool start(PaDeviceIndex device, int rate)
    {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
        if (!info || info->maxOutputChannels < 2)
            return false;
        PaStreamParameters out{};
        out.device = device;
        out.channelCount = 2;
        out.sampleFormat = paFloat32;
        out.suggestedLatency = std::max(info->defaultLowOutputLatency, 0.02);
        if (Pa_OpenStream(&stream_, nullptr, &out, rate, paFramesPerBufferUnspecified, paNoFlag, &PortAudioDriver::callback,
                          this)
            != paNoError) {
            stream_ = nullptr;
            return false;
        }
        Pa_SetStreamFinishedCallback(stream_, &PortAudioDriver::finished);
        return Pa_StartStream(stream_) == paNoError;
    }
    bool failed() const override { return finished_.load() || Pa_IsStreamActive(stream_) != 1; }

private:
    // Runs in PortAudio's callback thread.
    static int callback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                        PaStreamCallbackFlags, void* self)
    {
        static_cast<PortAudioDriver*>(self)->mix_(static_cast<float*>(output), int(frames));
        return paContinue;
    }
    static void finished(void* self) { static_cast<PortAudioDriver*>(self)->finished_ = true; }

    MixCallback mix_;
    std::atomic<int>& live_;
    PaStream* stream_ = nullptr;
    std::atomic<bool> finished_{false};
};

class PortAudioBackend : public OutputBackend
{
public:
    PortAudioBackend() { initialised_ = Pa_Initialize() == paNoError; }
    ~PortAudioBackend() override
    {
        if (initialised_)
            Pa_Terminate();
    }

    std::vector<std::string> outputs() override
    {
        std::vector<std::string> names;
        if (!initialised_)
            return names;
        if (Pa_GetDefaultOutputDevice() != paNoDevice)
            names.push_back(kDefaultOutput);
        std::set<std::string> seen;
        for (PaDeviceIndex i = 0; i < Pa_GetDeviceCount(); ++i) {
            const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
            const std::string card = info && info->maxOutputChannels > 0 ? cardName(info) : std::string();
            if (!card.empty() && seen.insert(card).second)
                names.push_back(card);
        }
        return names;
    }

    std::unique_ptr<OutputDriver> open(const std::string& name, int rate, MixCallback mix) override
    {
        // PortAudio learns about cards that came back only when it starts again, which it may do
        // only while none of its streams is open.
        if (live_ == 0) {
            if (initialised_)
                Pa_Terminate();
            initialised_ = Pa_Initialize() == paNoError;
        }
        if (!initialised_)
            return nullptr;
        const PaDeviceIndex device = find(name);
        if (device == paNoDevice)
            return nullptr;
        auto driver = std::make_unique<PortAudioDriver>(std::move(mix), live_);
        if (!driver->start(device, rate))
            return nullptr;
        return driver;
    }

    std::unique_ptr<OutputDriver> openClock(int rate, MixCallback mix) override
    {
        return makeClockDriver(rate, std::move(mix));
    }

    int64_t nowMs() const override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

private:
    PaDeviceIndex find(const std::string& name)
    {
        if (name == kDefaultOutput)
            return Pa_GetDefaultOutputDevice();
        for (PaDeviceIndex i = 0; i < Pa_GetDeviceCount(); ++i) {
            const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
            if (info && info->maxOutputChannels >= 2 && cardName(info) == name)
                return i;
        }
        return paNoDevice;
    }

    bool initialised_ = false;
    std::atomic<int> live_{0};
};

} // namespace

std::unique_ptr<OutputBackend> makePortAudioBackend() { return std::make_unique<PortAudioBackend>(); }

} // namespace audio
