// Real outputs through SDL2's audio: behind a sound server (PipeWire, PulseAudio) its outputs by
// the descriptions the desktop shows, on a bare machine the ALSA cards as SDL names them. The
// list offers the system's default output first, then SDL's outputs in its own order (the
// order the server lists them).
#include "audio/engine.h"
#include "audio/output_backend.h"

#include <SDL.h>
#include <alsa/asoundlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>

namespace audio {

namespace {

const char* const kDefaultOutput = "Saída padrão do sistema";
constexpr int kBufferFrames = 1024; // about 23 ms at 44.1 kHz: a slider is heard within it

// ALSA reports every card it cannot find on stderr; the operator's terminal is not the place.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

class SdlDriver : public OutputDriver
{
public:
    SdlDriver(MixCallback mix, std::mutex& sdl, std::atomic<int>& live)
        : mix_(std::move(mix)), sdl_(sdl), live_(live)
    {
        ++live_;
    }
    ~SdlDriver() override
    {
        if (device_) {
            std::lock_guard<std::mutex> lock(sdl_);
            SDL_CloseAudioDevice(device_); // waits for SDL's thread to leave the callback
        }
        --live_;
    }

    // `name` null opens the default output. Called with the backend's lock held.
    bool start(const char* name, int rate)
    {
        SDL_AudioSpec want{};
        want.freq = rate;
        want.format = AUDIO_F32SYS;
        want.channels = 2;
        want.samples = kBufferFrames;
        want.callback = &SdlDriver::callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        device_ = SDL_OpenAudioDevice(name, 0, &want, &have, 0); // SDL converts if the output differs
        if (device_ == 0)
            return false;
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    // SDL marks an opened output that went away (unplugged, server gone) as stopped.
    bool failed() const override { return SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED; }

private:
    // Runs on SDL's audio thread.
    static void callback(void* self, Uint8* stream, int bytes)
    {
        static_cast<SdlDriver*>(self)->mix_(reinterpret_cast<float*>(stream), bytes / int(2 * sizeof(float)));
    }

    MixCallback mix_;
    std::mutex& sdl_;
    std::atomic<int>& live_;
    SDL_AudioDeviceID device_ = 0;
};

class SdlBackend : public OutputBackend
{
public:
    SdlBackend()
    {
        snd_lib_error_set_handler(&quietAlsa);
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1"); // the program's own signals stay Qt's
        std::lock_guard<std::mutex> lock(sdl_);
        initialised_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }
    ~SdlBackend() override
    {
        if (initialised_)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    std::vector<std::string> outputs() override
    {
        std::lock_guard<std::mutex> lock(sdl_);
        std::vector<std::string> names = listed();
        if (!names.empty())
            names.insert(names.begin(), kDefaultOutput);
        return names;
    }

    std::unique_ptr<OutputDriver> open(const std::string& name, int rate, MixCallback mix) override
    {
        std::lock_guard<std::mutex> lock(sdl_);
        const char* device = name == kDefaultOutput ? nullptr : name.c_str();
        auto attempt = [&]() -> std::unique_ptr<OutputDriver> {
            auto driver = std::make_unique<SdlDriver>(mix, sdl_, live_);
            if (!present(name) || !driver->start(device, rate))
                return nullptr; // never opened, so its end takes no lock
            return driver;
        };
        if (auto driver = attempt())
            return driver;
        if (live_ > 0)
            return nullptr;
        // SDL meets a restarted sound server (or one started after us) only when its audio starts
        // again, which it may do while none of its outputs is open.
        restart();
        return attempt();
    }

    std::unique_ptr<OutputDriver> openClock(int rate, MixCallback mix, int64_t owedMs) override
    {
        return makeClockDriver(rate, std::move(mix), owedMs);
    }

    int64_t nowMs() const override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

private:
    // SDL's outputs now; SDL keeps the list up to date as outputs come and go.
    std::vector<std::string> listed() const
    {
        std::vector<std::string> names;
        if (!initialised_)
            return names;
        const int count = SDL_GetNumAudioDevices(0);
        for (int i = 0; i < count; ++i)
            if (const char* name = SDL_GetAudioDeviceName(i, 0))
                names.emplace_back(name);
        return names;
    }

    bool present(const std::string& name) const
    {
        const std::vector<std::string> names = listed();
        return !names.empty() && (name == kDefaultOutput || std::find(names.begin(), names.end(), name) != names.end());
    }

    void restart()
    {
        if (initialised_)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        initialised_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }

    std::mutex sdl_; // the main thread and the supervisor both open and close outputs
    bool initialised_ = false;
    std::atomic<int> live_{0};
};

} // namespace

std::unique_ptr<OutputBackend> makeSdlBackend() { return std::make_unique<SdlBackend>(); }

int deviceBufferFrames() { return kBufferFrames; }

} // namespace audio
