// One decoded file playing (or ready to play) on one device. The main thread creates it and
// sends commands through atomics; a decoder thread of its own keeps a 1000 ms ring of decoded
// chunks ahead; the device's output callback pulls from the ring, applies effects, frequency
// (rate_converter.h: untouched at the device's rate, a fixed-rate converter otherwise, a new
// one crossfaded in when the frequency changes), volume and pan, and adds the result into the
// device mix. An empty ring is heard as silence and never stalls the callback.
#pragma once

#include "audio/chunk_ring.h"
#include "audio/effects.h"
#include "audio/media_reader.h"
#include "audio/rate_converter.h"
#include "audio/sample_tap.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace audio {

class Stream : private FrameSource
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
    void setFrequency(uint32_t hz);
    uint32_t silentPeriods() const { return silentPeriods_.load(std::memory_order_relaxed); }
    void shutdown(); // ends the decoder and scanner threads; nothing else may run afterwards

    std::atomic<uint32_t> frequency; // written by setFrequency()
    std::atomic<uint32_t> volume{100};
    std::atomic<int32_t> pan{0};
    EffectChain effects;
    SampleTap tap;

    // Output callback: adds `frames` frames at the device rate into `mix` (interleaved stereo).
    // `heard`: the mix goes to a working output, not to the silent stand-in of a failed one.
    void render(float* mix, int frames, bool heard);
    // Device frames of this stream that went to a working output (any thread).
    int64_t heardFrames() const { return heardFrames_.load(std::memory_order_relaxed); }

private:
    static constexpr int kBlock = RateConverter::kBlock;
    // Chunks the decoder may write beyond the one second ahead right after a seek, while the
    // callback has not dropped the older chunks yet: the target is heard at the next period.
    static constexpr int kSeekReserve = 4;
    // A full ring waits until this many chunks were played before decoding again.
    static constexpr int kRefillChunks = 4;

    void decoderLoop();
    bool mayWrite(int writtenSinceSeek) const;
    void syncGeneration();
    double ratioFor(uint32_t hz) const;
    int take(float* out, int frames);
    int pull(float* out, int frames) override; // taken frames after the effects
    bool exhausted() const override { return sourceEnded_; }
    int64_t heardFrame() const;
    void mixInto(float* mix, const float* frames, int count);
    void publish();

    const int sourceRate_;
    const int channels_;
    const bool eightBit_;
    const int deviceRate_;
    const bool waitForDecoder_;
    std::unique_ptr<MediaReader> reader_;

    ChunkRing ring_;
    const int fillLimit_; // chunks of one second ahead
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
    // What has been heard, whether the end was heard, whether nothing of the generation was
    // taken yet, and the generation, in one word.
    std::atomic<uint64_t> published_;
    std::atomic<int64_t> heardFrames_{0};
    std::atomic<uint32_t> silentPeriods_{0};

    // Callback-only state.
    uint32_t consumerGeneration_ = 0;
    int64_t generationStart_ = 0; // the seek target of consumerGeneration_
    int64_t consumerFrame_ = 0;   // source frame after the last one taken from the ring
    bool sourceEnded_ = false;    // the ring's last chunk was taken
    int chunkOffset_ = 0;
    RateConverter converter_;
    double offeredRatio_;         // main thread: the ratio last handed to the converter
    float gainL_ = 1, gainR_ = 1;
    bool gainsSet_ = false;
    float outputBlock_[kBlock * 2];

    std::thread decoder_;
    std::thread scanner_;
};

} // namespace audio
