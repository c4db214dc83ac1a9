// Placeholder bodies until the engine lands: every operation is a silent no-op.
#include "audio/TCorvoBass.h"

#include <algorithm>

TCorvoBass::TCorvoBass(QObject* owner) : QObject(owner) {}
TCorvoBass::~TCorvoBass() = default;
void TCorvoBass::OpenDevice(int device, void*) { Device = device; }
void TCorvoBass::SetDevice(int device) { Device = device; }
void TCorvoBass::LoadFile(const QString& path) { Playing = false; FilePath = path; }
void TCorvoBass::Play() {}
void TCorvoBass::Stop()
{
    Playing = false;
    if (Loaded)
        DoStop();
}
int64_t TCorvoBass::GetLength() { return 0; }
int64_t TCorvoBass::GetPosition() { return 0; }
bool TCorvoBass::SetPosition(int32_t) { return false; }
void TCorvoBass::FadeOut(int32_t) {}
void TCorvoBass::GetFFT(float* buffer) { std::fill(buffer, buffer + 512, 0.0f); }
void TCorvoBass::GetData(void* buffer, int bytes) { std::fill_n(static_cast<char*>(buffer), bytes, 0); }
int TCorvoBass::DeviceCount() { return 0; }
QString TCorvoBass::DeviceName(int) { return {}; }
void TCorvoBass::SetEQ(bool on) { EQActive = on; }
void TCorvoBass::EQBand(int, int, int) {}
void TCorvoBass::SetFlanger(bool) {}
void TCorvoBass::FlangerParams(int, int, int) {}
void TCorvoBass::SetEcho(bool) {}
void TCorvoBass::EchoParams(int) {}
void TCorvoBass::SetCut(bool) {}
void TCorvoBass::CheckEnd() {}
void TCorvoBass::FadeStep() {}
uint32_t TCorvoBass::frequency() { return FrequencyCache; }
void TCorvoBass::setFrequency(uint32_t) {}
int32_t TCorvoBass::pan() { return 0; }
void TCorvoBass::setPan(int32_t) {}
uint32_t TCorvoBass::volume() { return 0; }
void TCorvoBass::setVolume(uint32_t) {}
void TCorvoBass::DoStop()
{
    if (OnStop)
        OnStop(this);
}
