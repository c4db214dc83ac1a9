// One playback channel: at most one decoded file on one output device, with transport,
// fade-out, position, volume/pan/frequency, sample and spectrum data and the effects.
// Every member is used on the main thread only; the engine's own threads stay inside audio/.
#pragma once

#include "audio/effect_blocks.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class TThreadedTimer;

class TCorvoBass : public QObject
{
    Q_OBJECT
    Q_PROPERTY(uint32_t Frequency READ frequency WRITE setFrequency)
    Q_PROPERTY(int32_t Pan READ pan WRITE setPan)
    Q_PROPERTY(uint32_t Volume READ volume WRITE setVolume)

public:
    using StopEvent = std::function<void(QObject* sender)>;

    explicit TCorvoBass(QObject* owner = nullptr);
    ~TCorvoBass() override;

    // Fields, in their documented order.
    int32_t Device = 0;
    QString FileName;
    QString FilePath;
    uint32_t FrequencyCache = 0;
    uint32_t VolumeCache = 0;
    int32_t PanCache = 0;
    bool Loop = false;
    TEQBlock EQBlock;
    TFlangerBlock FlangerBlock;
    TEchoBlock EchoBlock;
    uint32_t Stream = 0;
    bool Loaded = false;
    bool Playing = false;
    uint32_t FadeVolume = 0;
    StopEvent OnStop;
    bool EQActive = false;
    TThreadedTimer* EndTimer = nullptr;
    TThreadedTimer* FadeTimer = nullptr;

    void OpenDevice(int device, void* window = nullptr);
    void SetDevice(int device);
    void LoadFile(const QString& path);
    void Play();
    void Stop();
    int64_t GetLength();
    int64_t GetPosition();
    bool SetPosition(int32_t position);
    void FadeOut(int32_t time);
    void GetFFT(float* buffer);
    void GetData(void* buffer, int bytes);
    int DeviceCount();
    QString DeviceName(int device);
    // The number of the output named `name` (one after the list while it is absent), 0 for "".
    int DeviceNumber(const QString& name);
    // Whether a real output takes this channel's sound now: not while the silent clock stands in
    // for it (an output that failed, the null device) nor before the channel was opened.
    bool OutputHeard() const;

    // Effects.
    void SetEQ(bool on);
    void EQBand(int band, int centre, int value);
    void SetFlanger(bool on);
    void FlangerParams(int a, int b, int level);
    void SetEcho(bool on);
    void EchoParams(int n);
    void SetCut(bool on);

    // Device numbers initialised in this process, shared by every channel (main thread only).
    static const std::vector<int>& InitializedDevices();

    // Ticks of the two timers.
    void CheckEnd();
    void FadeStep();

    uint32_t frequency();
    void setFrequency(uint32_t hz);
    int32_t pan();
    void setPan(int32_t pan);
    uint32_t volume();
    void setVolume(uint32_t volume);

protected:
    virtual void DoStop();

private:
    void refreshCaches();
    void readAttributes(uint32_t& frequency);
    bool fading() const;

    bool firingStop_ = false; // OnStop is running: a nested Stop does not fire it again
};
