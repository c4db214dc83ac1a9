#include "audio/engine.h"

#include "base/path_bytes.h"

#include "audio/device_output.h"
#include "audio/manual_backend.h"
#include "audio/media_reader.h"
#include "audio/spectrum.h"
#include "audio/stream.h"

extern "C" {
#include <libavutil/log.h>
}

#include <algorithm>
#include <cmath>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace audio {

namespace {

const char* const kNullDevice = "Sem saída de som";

class Engine
{
public:
    static Engine& instance()
    {
        static Engine engine;
        return engine;
    }

    Engine() { av_log_set_level(AV_LOG_ERROR); } // FFmpeg's warnings about odd files are not ours to show

    ~Engine()
    {
        stopSupervisor();
        for (auto& [handle, entry] : streams_)
            retire(entry);
        streams_.clear();
        while (!graveyard_.empty())
            reap(true);
        outputs_.clear();
    }

    void useManual()
    {
        if (manual_ || !outputs_.empty())
            return;
        manual_ = new ManualBackend;
        backend_.reset(manual_);
        names_.clear();
    }

    ManualBackend* manual() { return manual_; }

    // The outputs as numbered for the whole run, read once: the real ones, then the null device.
    const std::vector<std::string>& names()
    {
        if (names_.empty()) {
            if (!backend_)
                backend_ = makeSdlBackend();
            names_ = backend_->outputs();
            names_.push_back(kNullDevice);
        }
        return names_;
    }

    // The output a device number stands for: the list, then the outputs awaited by name.
    std::string name(int device)
    {
        const auto& list = names();
        if (device >= 1 && device <= int(list.size()))
            return list[size_t(device) - 1];
        const size_t awaited = size_t(device) - list.size() - 1;
        return device > int(list.size()) && awaited < awaited_.size() ? awaited_[awaited] : std::string();
    }

    int number(const std::string& wanted)
    {
        if (wanted.empty())
            return 0;
        const auto& list = names();
        auto found = std::find(list.begin(), list.end(), wanted);
        if (found != list.end())
            return int(found - list.begin()) + 1;
        found = std::find(awaited_.begin(), awaited_.end(), wanted);
        if (found == awaited_.end())
            found = awaited_.insert(awaited_.end(), wanted);
        return int(list.size() + size_t(found - awaited_.begin())) + 1;
    }

    bool init(int device)
    {
        const std::string named = name(device);
        if (named.empty())
            return false;
        if (outputs_.count(device))
            return true;
        const int listed = int(names().size());
        auto output = std::make_unique<DeviceOutput>(*backend_, named, device == listed, kDeviceRate);
        if (!output->start(device > listed))
            return false;
        {
            std::lock_guard<std::mutex> lock(outputsMutex_);
            outputs_[device] = std::move(output);
        }
        if (!manual_)
            startSupervisor();
        return true;
    }

    void setCurrent(int device) { current_ = device; }

    uint32_t create(const QString& path, bool wma)
    {
        reap(false);
        auto it = outputs_.find(current_);
        if (it == outputs_.end())
            return 0;
        // The path's own bytes: a file name that is not UTF-8 opens too.
        const std::string file = base::pathToBytes(path).toStdString();
        auto reader = MediaReader::open(file);
        if (!reader)
            return 0;
        Entry entry;
        // Copied here: the reader belongs to the stream's decoder thread from now on.
        entry.title = QString::fromStdString(reader->title());
        entry.artist = QString::fromStdString(reader->artist());
        entry.stream = std::make_unique<Stream>(std::move(reader), file, kDeviceRate, manual_ != nullptr);
        entry.output = it->second.get();
        entry.device = current_;
        entry.wma = wma;
        if (!entry.output->attach(entry.stream.get()))
            return 0;
        const uint32_t handle = nextHandle_++;
        streams_.emplace(handle, std::move(entry));
        return handle;
    }

    void free(uint32_t handle)
    {
        auto it = streams_.find(handle);
        if (it == streams_.end())
            return;
        retire(it->second);
        streams_.erase(it);
        reap(false);
    }

    struct Entry {
        std::unique_ptr<Stream> stream;
        DeviceOutput* output = nullptr;
        int device = 0;
        bool wma = false;
        QString title, artist;
    };

    Entry* find(uint32_t handle)
    {
        auto it = streams_.find(handle);
        return it == streams_.end() ? nullptr : &it->second;
    }
    Stream* stream(uint32_t handle)
    {
        Entry* e = find(handle);
        return e ? e->stream.get() : nullptr;
    }

    DeviceOutput* output(int device)
    {
        auto it = outputs_.find(device);
        return it == outputs_.end() ? nullptr : it->second.get();
    }

    void render(int ms, int captureDevice, std::vector<float>* capture)
    {
        if (!manual_)
            return;
        std::vector<float>& block = manualBlock_;
        for (int done = 0; done < ms;) {
            const int step = std::min(10, ms - done);
            const int64_t before = renderedMs_ * kDeviceRate / 1000;
            renderedMs_ += step;
            const int frames = int(renderedMs_ * kDeviceRate / 1000 - before);
            block.resize(size_t(frames) * 2);
            for (auto& [device, output] : outputs_) {
                output->renderManual(block.data(), frames);
                if (capture && device == captureDevice)
                    capture->insert(capture->end(), block.begin(), block.end());
            }
            manual_->advance(step);
            for (auto& [device, output] : outputs_)
                output->supervise();
            done += step;
        }
        reap(false);
    }

    Spectrum& spectrum() { return spectrum_; }
    uint32_t reportedVersion = 2;
    uint32_t reportedEffectsVersion = 2;

private:
    struct Grave {
        std::unique_ptr<Stream> stream;
        DeviceOutput* output;
        uint64_t epoch;
    };

    // Takes the stream off its device now; it is deleted once the mix cannot hold it any more.
    void retire(Entry& entry)
    {
        entry.output->detach(entry.stream.get());
        entry.stream->shutdown();
        graveyard_.push_back({std::move(entry.stream), entry.output, entry.output->epoch()});
    }

    void reap(bool wait)
    {
        for (auto it = graveyard_.begin(); it != graveyard_.end();) {
            if (it->output->releasedSince(it->epoch))
                it = graveyard_.erase(it);
            else
                ++it;
        }
        if (wait && !graveyard_.empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    void startSupervisor()
    {
        if (supervisor_.joinable())
            return;
        supervisor_ = std::thread([this] {
            std::unique_lock<std::mutex> lock(outputsMutex_);
            while (!quit_) {
                for (auto& [device, output] : outputs_)
                    output->supervise();
                wake_.wait_for(lock, std::chrono::milliseconds(100), [this] { return quit_; });
            }
        });
    }

    void stopSupervisor()
    {
        {
            std::lock_guard<std::mutex> lock(outputsMutex_);
            quit_ = true;
        }
        wake_.notify_all();
        if (supervisor_.joinable())
            supervisor_.join();
    }

    std::unique_ptr<OutputBackend> backend_;
    ManualBackend* manual_ = nullptr;
    std::vector<std::string> names_;
    std::vector<std::string> awaited_; // remembered outputs absent at start, numbered after the list
    std::mutex outputsMutex_; // the supervisor reads the map while the main thread adds to it
    std::map<int, std::unique_ptr<DeviceOutput>> outputs_;
    std::unordered_map<uint32_t, Entry> streams_;
    std::vector<Grave> graveyard_;
    uint32_t nextHandle_ = 1;
    int current_ = 0;
    int64_t renderedMs_ = 0;
    std::vector<float> manualBlock_; // kept, so that rendering allocates no more than a callback
    Spectrum spectrum_;
    std::thread supervisor_;
    std::condition_variable wake_;
    bool quit_ = false;
};

Engine& engine() { return Engine::instance(); }

int64_t framesToMs(int64_t frames, int rate) { return frames * 1000 / rate; }

} // namespace

void useManualBackend() { engine().useManual(); }
void renderManual(int ms, int captureDevice, std::vector<float>* capture) { engine().render(ms, captureDevice, capture); }
int64_t takeOutputLevels(int device, std::vector<float>& rms, std::vector<float>* peaks)
{
    DeviceOutput* output = engine().output(device);
    return output ? output->meter().take(rms, peaks) : 0;
}

void setOutputFailing(int device, bool failing)
{
    ManualBackend* manual = engine().manual();
    const std::string name = engine().name(device);
    if (manual && !name.empty())
        manual->setFailing(name, failing);
}

void setReportedVersions(uint32_t engineVersion, uint32_t effects)
{
    engine().reportedVersion = engineVersion;
    engine().reportedEffectsVersion = effects;
}

uint32_t version() { return engine().reportedVersion; }
uint32_t effectsVersion() { return engine().reportedEffectsVersion; }

QString deviceDescription(int device) { return QString::fromStdString(engine().name(device)); }
int deviceNumber(const QString& name) { return engine().number(name.toStdString()); }

bool initDevice(int device) { return engine().init(device); }

bool deviceOnline(int device)
{
    DeviceOutput* output = engine().output(device);
    return output && output->online();
}

void setDevice(int device) { engine().setCurrent(device); }
uint32_t createStream(const QString& path, bool wmaLoader) { return engine().create(path, wmaLoader); }
void freeStream(uint32_t stream) { engine().free(stream); }

bool streamInfo(uint32_t handle, StreamInfo& info)
{
    auto* e = engine().find(handle);
    if (!e)
        return false;
    info.frequency = uint32_t(e->stream->sourceRate());
    info.channels = e->stream->channels();
    info.eightBit = e->stream->eightBit();
    info.wmaLoader = e->wma;
    info.device = e->device;
    info.silentPeriods = e->stream->silentPeriods();
    return true;
}

bool streamTags(uint32_t handle, QString& title, QString& artist)
{
    auto* e = engine().find(handle);
    if (!e)
        return false;
    title = e->title;
    artist = e->artist;
    return true;
}

int64_t heardMs(uint32_t handle)
{
    Stream* s = engine().stream(handle);
    return s ? s->heardFrames() * 1000 / kDeviceRate : -1;
}

bool getAttributes(uint32_t handle, uint32_t& frequency, uint32_t& volume, int32_t& pan)
{
    Stream* s = engine().stream(handle);
    if (!s)
        return false;
    frequency = s->frequency.load();
    volume = s->volume.load();
    pan = s->pan.load();
    return true;
}

bool setAttributes(uint32_t handle, uint32_t frequency, uint32_t volume, int32_t pan)
{
    Stream* s = engine().stream(handle);
    if (!s || frequency < 100 || frequency > 200000 || pan < -100 || pan > 100)
        return false;
    s->setFrequency(frequency);
    s->volume = std::min<uint32_t>(volume, 100);
    s->pan = pan;
    return true;
}

bool isActive(uint32_t handle)
{
    Stream* s = engine().stream(handle);
    return s && s->active();
}

bool play(uint32_t handle)
{
    Stream* s = engine().stream(handle);
    if (s)
        s->play();
    return s != nullptr;
}

bool stop(uint32_t handle)
{
    Stream* s = engine().stream(handle);
    if (s)
        s->stop();
    return s != nullptr;
}

int64_t lengthMs(uint32_t handle)
{
    Stream* s = engine().stream(handle);
    return s ? framesToMs(s->lengthFrames(), s->sourceRate()) : -1;
}

int64_t positionMs(uint32_t handle)
{
    Stream* s = engine().stream(handle);
    return s ? framesToMs(s->positionFrames(), s->sourceRate()) : -1;
}

bool setPositionMs(uint32_t handle, int64_t ms)
{
    Stream* s = engine().stream(handle);
    // Rounded up, so that the position read back is the millisecond asked for.
    return s && ms >= 0 && s->seek((ms * s->sourceRate() + 999) / 1000);
}

bool getData(uint32_t handle, void* buffer, int bytes)
{
    Stream* s = engine().stream(handle);
    if (!s || bytes <= 0)
        return false;
    auto* out = static_cast<int16_t*>(buffer);
    const int frames = bytes / 4;
    const int taken = std::min(frames, SampleTap::kFrames);
    std::fill(static_cast<char*>(buffer), static_cast<char*>(buffer) + bytes, 0);
    if (!s->active())
        return true;
    auto toShort = [](float v) { return int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f)); };
    s->tap.readLatest(taken, [&](int i, float l, float r) {
        out[2 * i] = toShort(l);
        out[2 * i + 1] = toShort(r);
    });
    return true;
}

bool getFFT(uint32_t handle, float* magnitudes)
{
    Stream* s = engine().stream(handle);
    if (!s)
        return false;
    if (!s->active()) {
        std::fill(magnitudes, magnitudes + Spectrum::kBins, 0.0f);
        return true;
    }
    engine().spectrum().compute(s->tap, magnitudes);
    return true;
}

bool effectOn(uint32_t handle, int type, bool on)
{
    Stream* s = engine().stream(handle);
    if (!s || (type != kEqualiser && type != kCut && type != kFlanger && type != kEcho))
        return false;
    s->effects.setOn(type, on);
    return true;
}

bool effectGetParameters(uint32_t handle, int type, void* block)
{
    Stream* s = engine().stream(handle);
    return s && s->effects.getParameters(type, block);
}

bool effectSetParameters(uint32_t handle, int type, const void* block)
{
    Stream* s = engine().stream(handle);
    return s && s->effects.setParameters(type, block);
}

} // namespace audio
