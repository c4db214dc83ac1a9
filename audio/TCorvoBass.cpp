#include "audio/TCorvoBass.h"

#include "audio/TThreadedTimer.h"
#include "audio/engine.h"
#include "audio/messages.h"

#include <algorithm>

namespace {

std::vector<int>& initializedDevices()
{
    static std::vector<int> devices;
    return devices;
}

// The fade's step for the band the volume is in.
uint32_t fadeStepped(uint32_t volume)
{
    if (volume > 100)
        return volume;
    if (volume >= 75)
        return volume - 10;
    if (volume >= 41)
        return volume - 7;
    if (volume >= 11)
        return volume - 5;
    return volume > 0 ? volume - 1 : 0;
}

} // namespace

TCorvoBass::TCorvoBass(QObject* owner) : QObject(owner) {}

TCorvoBass::~TCorvoBass()
{
    delete EndTimer;
    delete FadeTimer;
    audio::freeStream(Stream);
}

const std::vector<int>& TCorvoBass::InitializedDevices() { return initializedDevices(); }

void TCorvoBass::OpenDevice(int device, void*)
{
    if (EndTimer) {
        audio::showMessage(QStringLiteral("Canal já Criado - Verifique"));
        return;
    }
    if (audio::version() < 2) {
        audio::showMessage(QStringLiteral("ARVESTO-BASS.DLL Detectado Versão diferente de 2.0"));
        audio::endProgram(1);
        return;
    }
    if (audio::effectsVersion() != 2) {
        audio::showMessage(QStringLiteral("ARVESTO-BASS_FX.DLL Detectado Versão diferente de 2.0"));
        audio::endProgram(1);
        return;
    }
    auto& devices = initializedDevices();
    if (std::find(devices.begin(), devices.end(), device) == devices.end()) {
        if (!audio::initDevice(device)) {
            audio::showMessage(QStringLiteral("Inicialização da Device com Problemas"));
            return;
        }
        devices.push_back(device);
    }
    Loop = false;
    Device = device;
    EndTimer = new TThreadedTimer(this);
    EndTimer->setInterval(60);
    EndTimer->OnTimer = [this](QObject*) { CheckEnd(); };
    FadeTimer = new TThreadedTimer(this);
    FadeTimer->setInterval(300);
    FadeTimer->OnTimer = [this](QObject*) { FadeStep(); };
}

void TCorvoBass::SetDevice(int device)
{
    audio::setDevice(device);
    Device = device;
}

void TCorvoBass::LoadFile(const QString& path)
{
    Playing = false;
    for (int type : {5, 9, 13, 8, 6, 14})
        audio::effectOn(Stream, type, false);
    audio::freeStream(Stream);
    audio::setDevice(Device);
    Stream = audio::createStream(path, path.toUpper().contains(QLatin1String(".WMA")));
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    FileName = slash >= 0 ? path.mid(slash + 1) : path;
    FilePath = path;
    audio::getAttributes(Stream, FrequencyCache, VolumeCache, PanCache);
    audio::StreamInfo info;
    audio::streamInfo(Stream, info);
    if (info.eightBit) {
        audio::showMessage(QStringLiteral("16-bit stereo sources only. Please select another."));
        audio::freeStream(Stream);
        return;
    }
    Loaded = true;
}

void TCorvoBass::Play()
{
    if (!Loaded)
        return;
    audio::setAttributes(Stream, FrequencyCache, VolumeCache, PanCache);
    audio::play(Stream);
    Playing = true;
    if (EndTimer)
        EndTimer->setEnabled(true);
    if (FadeTimer)
        FadeTimer->setEnabled(false);
}

void TCorvoBass::Stop()
{
    Playing = false;
    if (!Loaded)
        return;
    if (EndTimer)
        EndTimer->setEnabled(false);
    if (FadeTimer)
        FadeTimer->setEnabled(false);
    // The handler may load and play again on this channel: only the stream that was playing
    // when the stop began is silenced afterwards, unless the handler started that very stream
    // again, and a nested Stop does not fire again.
    const uint32_t stopping = Stream;
    if (!firingStop_) {
        firingStop_ = true;
        DoStop();
        firingStop_ = false;
    }
    if (!Playing || Stream != stopping)
        audio::stop(stopping);
    FadeVolume = VolumeCache;
}

int64_t TCorvoBass::GetLength() { return std::max<int64_t>(0, audio::lengthMs(Stream)); }

int64_t TCorvoBass::GetPosition() { return std::max<int64_t>(0, audio::positionMs(Stream)); }

bool TCorvoBass::SetPosition(int32_t position) { return audio::setPositionMs(Stream, position); }

void TCorvoBass::FadeOut(int32_t time)
{
    if (!Playing || !FadeTimer || FadeTimer->Enabled())
        return;
    FadeVolume = VolumeCache;
    // A fade shorter than 25 ms still steps, once a millisecond.
    FadeTimer->setInterval(uint32_t(std::max(1, time / 25)));
    FadeTimer->setEnabled(true);
}

void TCorvoBass::FadeStep()
{
    if (Playing) {
        FadeVolume = fadeStepped(FadeVolume);
        audio::setAttributes(Stream, FrequencyCache, FadeVolume, PanCache);
    }
    if (FadeVolume < 2) {
        if (FadeTimer)
            FadeTimer->setEnabled(false);
        Stop();
    }
}

void TCorvoBass::CheckEnd()
{
    if (!Playing) {
        Stop();
        return;
    }
    if (uint32_t(GetPosition()) < uint32_t(GetLength()))
        return;
    if (Loop)
        Play();
    else
        Stop();
}

void TCorvoBass::GetFFT(float* buffer)
{
    if (!audio::getFFT(Stream, buffer))
        std::fill(buffer, buffer + 512, 0.0f);
}

void TCorvoBass::GetData(void* buffer, int bytes)
{
    if (!audio::getData(Stream, buffer, bytes) && bytes > 0)
        std::fill_n(static_cast<char*>(buffer), bytes, 0);
}

int TCorvoBass::DeviceCount()
{
    int count = 0;
    for (int device = 1; device <= 10; ++device)
        if (!audio::deviceDescription(device).trimmed().isEmpty())
            ++count;
    return count;
}

QString TCorvoBass::DeviceName(int device) { return audio::deviceDescription(device); }
int TCorvoBass::DeviceNumber(const QString& name) { return audio::deviceNumber(name); }
bool TCorvoBass::OutputHeard() const { return audio::deviceOnline(Device); }

void TCorvoBass::SetEQ(bool on)
{
    if (on) {
        uint32_t frequency = 0;
        readAttributes(frequency);
        for (int i = 0; i < 10; ++i)
            audio::effectOn(Stream, audio::kEqualiser, true);
        EQBlock.sampleRate = frequency;
        EQBlock.bandwidth = 2.5f;
        EQBlock.q = 0;
        EQBlock.gain = 0;
    } else {
        audio::effectOn(Stream, audio::kEqualiser, false);
    }
    EQActive = on;
}

void TCorvoBass::EQBand(int band, int centre, int value)
{
    if (!EQActive)
        return;
    EQBlock.band = band;
    audio::effectGetParameters(Stream, audio::kEqualiser, &EQBlock);
    EQBlock.centre = float(centre);
    EQBlock.gain = float(value - 10);
    audio::effectSetParameters(Stream, audio::kEqualiser, &EQBlock);
}

void TCorvoBass::SetFlanger(bool on) { audio::effectOn(Stream, audio::kFlanger, on); }

void TCorvoBass::FlangerParams(int a, int b, int level)
{
    audio::effectGetParameters(Stream, audio::kFlanger, &FlangerBlock);
    uint32_t frequency = 0, volume = 0;
    int32_t pan = 0;
    audio::getAttributes(Stream, frequency, volume, pan);
    FlangerBlock.first = float(a) / 100.0f;
    FlangerBlock.frequency = frequency;
    FlangerBlock.second = float(b);
    FlangerBlock.level = float(level);
    audio::effectSetParameters(Stream, audio::kFlanger, &FlangerBlock);
}

void TCorvoBass::SetEcho(bool on)
{
    audio::effectOn(Stream, audio::kEcho, on);
    if (on)
        EchoParams(1);
}

void TCorvoBass::EchoParams(int n)
{
    EchoBlock = {1.0f, 1.0f, 0.0f, float(std::min(n, 6))};
    audio::effectSetParameters(Stream, audio::kEcho, &EchoBlock);
}

void TCorvoBass::SetCut(bool on) { audio::effectOn(Stream, audio::kCut, on); }

uint32_t TCorvoBass::frequency()
{
    refreshCaches();
    return FrequencyCache;
}

void TCorvoBass::setFrequency(uint32_t hz)
{
    if (audio::isActive(Stream) && audio::setAttributes(Stream, hz, VolumeCache, PanCache))
        FrequencyCache = hz;
}

int32_t TCorvoBass::pan()
{
    if (!audio::isActive(Stream))
        return 0;
    refreshCaches();
    return PanCache;
}

void TCorvoBass::setPan(int32_t value)
{
    if (audio::isActive(Stream) && audio::setAttributes(Stream, FrequencyCache, VolumeCache, value))
        PanCache = value;
}

uint32_t TCorvoBass::volume()
{
    if (!audio::isActive(Stream))
        return 0;
    refreshCaches();
    return fading() ? FadeVolume : VolumeCache;
}

void TCorvoBass::setVolume(uint32_t value)
{
    if (!audio::isActive(Stream))
        return;
    audio::setAttributes(Stream, FrequencyCache, value, PanCache);
    VolumeCache = value;
}

void TCorvoBass::refreshCaches()
{
    if (audio::isActive(Stream))
        readAttributes(FrequencyCache);
}

void TCorvoBass::readAttributes(uint32_t& frequency)
{
    // During a fade the stream sounds at the fade's level; the stored volume, which Play and a
    // replay bring back, must not become it.
    const uint32_t stored = VolumeCache;
    audio::getAttributes(Stream, frequency, VolumeCache, PanCache);
    if (fading())
        VolumeCache = stored;
}

bool TCorvoBass::fading() const { return FadeTimer && FadeTimer->Enabled(); }

void TCorvoBass::DoStop()
{
    if (OnStop)
        OnStop(this);
}
