// The audio engine behind the channel: device list and initialisation, streams decoded with
// FFmpeg, one mixing output per opened device, effects, sample and spectrum data. Every call
// is made on the main thread; the engine's own threads (decoders, outputs, supervisor) stay
// inside audio/. Devices are numbered from 1: the default output, the sound server's outputs (or
// the cards), the null device, then any output awaited by name (deviceNumber).
//
// Test seam: select the manual backend before any device is opened, then render time on demand.
//     audio::useManualBackend();                 // before the first OpenDevice
//     canal.OpenDevice(1); canal.LoadFile(path); canal.Play();
//     std::vector<float> heard;                  // interleaved stereo at kDeviceRate
//     audio::renderManual(500, 1, &heard);       // 500 ms on every opened device; device 1 captured
//     audio::setOutputFailing(1, true);          // device 1 "unplugged": time goes on in silence
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace audio {

inline constexpr int kDeviceRate = 44100;
int deviceBufferFrames(); // the buffer real outputs are opened with

// ---- test seams ----
void useManualBackend();
// Renders `ms` milliseconds on every opened device, in 10 ms periods, waiting for decoders as
// needed; appends device `captureDevice`'s output to `capture` when given.
void renderManual(int ms, int captureDevice = 0, std::vector<float>* capture = nullptr);
// Manual backend: the device's output fails (true) or answers again (false).
void setOutputFailing(int device, bool failing);
// Measuring an output (a bench, a test on the null device): appends the RMS of each 10 ms
// block device `device` sent out since the last call, oldest first (and each block's peak to
// `peaks` when given), and returns how many blocks were lost for want of a call within 40 s.
// The first call starts the measurement.
int64_t takeOutputLevels(int device, std::vector<float>& rms, std::vector<float>* peaks = nullptr);
// Versions the engine reports (both 2 by default), to try the channel's version checks.
void setReportedVersions(uint32_t engine, uint32_t effects);

// ---- the channel's calls ----
uint32_t version();
uint32_t effectsVersion();
QString deviceDescription(int device); // empty when there is no such device
// The number of the output of that name; an output absent now gets a number after the list and
// its channels keep time on the silent clock until it appears. 0 for the empty name.
int deviceNumber(const QString& name);
bool initDevice(int device);
// Whether a real output takes the device's sound now: false for the null device, while the
// silent clock stands in for a failed output, and for a device never initialised. Lock-free.
bool deviceOnline(int device);
void setDevice(int device); // streams created next are placed on that device

// A stream of the file on the current device; 0 when it cannot be opened or the device is not
// initialised. `wmaLoader` records which loader the caller asked for (FFmpeg reads both).
uint32_t createStream(const QString& path, bool wmaLoader = false);
void freeStream(uint32_t stream);

struct StreamInfo {
    uint32_t frequency = 0;
    int channels = 0;
    bool eightBit = false;
    bool wmaLoader = false;
    int device = 0;
    uint32_t silentPeriods = 0; // device periods cut short while playing: the decoder was behind
};
bool streamInfo(uint32_t stream, StreamInfo& info);
// The title and artist tags of the stream's file, empty when it has none.
bool streamTags(uint32_t stream, QString& title, QString& artist);
// Milliseconds of the stream that went to a working output (not to the silent clock that
// stands in for a failed device); -1 on an invalid handle.
int64_t heardMs(uint32_t stream);

bool getAttributes(uint32_t stream, uint32_t& frequency, uint32_t& volume, int32_t& pan);
bool setAttributes(uint32_t stream, uint32_t frequency, uint32_t volume, int32_t pan);
bool isActive(uint32_t stream); // playing and not at its end
bool play(uint32_t stream);     // from the current position; an ended stream from its start
bool stop(uint32_t stream);

// Real milliseconds of the source; -1 on an invalid handle.
int64_t lengthMs(uint32_t stream);
int64_t positionMs(uint32_t stream);
bool setPositionMs(uint32_t stream, int64_t ms);

// What is being heard: `bytes` of interleaved 16-bit frames, or 512 spectrum magnitudes.
bool getData(uint32_t stream, void* buffer, int bytes);
bool getFFT(uint32_t stream, float* magnitudes);

bool effectOn(uint32_t stream, int type, bool on);
bool effectGetParameters(uint32_t stream, int type, void* block);
bool effectSetParameters(uint32_t stream, int type, const void* block);

} // namespace audio
