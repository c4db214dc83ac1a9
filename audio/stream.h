// One decoded file playing (or ready to play) on one device. The main thread creates it and
// sends commands through atomics; a decoder thread of its own keeps a 1000 ms ring of decoded
// chunks ahead; the device's output callback pulls from the ring, applies effects, frequency
// (libsamplerate), volume and pan, and adds the result into the device mix.
#pragma once

#include "audio/chunk_ring.h"
#include "audio/effects.h"
#include "audio/media_reader.h"
#include "audio/sample_tap.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

typedef struct SRC_STATE_tag SRC_STATE;

namespace audio {

class Stream
{
public:
    // `waitForDecoder`: the callback waits for decoded frames instead of playing silence
    // (manual rendering, where time does not depend on the machine's speed).
    Stream(std::unique_ptr<MediaReader> reader, std::string path, int deviceRate, bool waitForDecoder);
    ~Stream();

    // Main thread.
    int sourceRate() const { return sourceRate_; }
    int channels() const { return channels_; }
    bool eightBit() const { return eightBit_; }
    void play(); // from the current position; an ended stream starts again from its beginning
    void stop();
    bool playing() const { return playing_.load(); }
    bool ended() const;
    bool active() const { return playing() && !ended(); }
    int64_t lengthFrames() const;
    int64_t positionFrames() const;
    bool seek(int64_t frame);
    void shutdown(); // ends the decoder and scanner threads; nothing else may run afterwards

    std::atomic<uint32_t> frequency;
    std::atomic<uint32_t> volume{100};
    std::atomic<int32_t> pan{0};
    EffectChain effects;
    SampleTap tap;

    // Output callback: adds `frames` frames at the device rate into `mix` (interleaved stereo).
    void render(float* mix, int frames);

private:
    static constexpr int kBlock = 512;

    void decoderLoop();
    void scanLength(std::string path);
    bool fillChunk(Chunk* chunk, uint32_t generation);
    void syncGeneration();
    int pull(float* out, int frames);
    int pullProcessed(float* out, int frames);
    void mixInto(float* mix, const float* frames, int count);
    void publish();
    static long resamplerInput(void* self, float** data);

    const int sourceRate_;
    const int channels_;
    const bool eightBit_;
    const int deviceRate_;
    const bool waitForDecoder_;
    std::unique_ptr<MediaReader> reader_;

    ChunkRing ring_;
    std::atomic<bool> playing_{false};
    std::atomic<bool> quit_{false};

    // Seek requests: the main thread bumps the generation; the decoder re-seeks, the callback
    // drops older chunks.
    std::mutex seekMutex_;
    std::condition_variable wake_;
    std::atomic<uint32_t> generation_{0};
    std::atomic<int64_t> seekTarget_{0};

    std::atomic<int64_t> announcedFrames_;
    std::atomic<int64_t> scannedFrames_{-1};
    std::atomic<int64_t> decodedFrames_{-1}; // exact, once the decoder met the end
    std::atomic<uint64_t> published_{0}; // consumer's frame, end flag and generation in one word

    // Callback-only state.
    uint32_t consumerGeneration_ = 0;
    int64_t consumerFrame_ = 0;
    bool consumerEnded_ = false;
    int chunkOffset_ = 0;
    SRC_STATE* resampler_ = nullptr;
    bool resampling_ = false;
    float gainL_ = 1, gainR_ = 1;
    bool gainsSet_ = false;
    float sourceBlock_[kBlock * 2];
    float outputBlock_[kBlock * 2];

    std::thread decoder_;
    std::thread scanner_;
};

} // namespace audio
