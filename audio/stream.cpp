#include "audio/stream.h"

#include <samplerate.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace audio {

namespace {

constexpr int kGenerationBits = 16;
constexpr uint64_t kEndBit = uint64_t(1) << 47;
constexpr uint64_t kFrameMask = kEndBit - 1;

uint64_t pack(uint32_t generation, int64_t frame, bool ended)
{
    return (uint64_t(generation) << (64 - kGenerationBits)) | (ended ? kEndBit : 0) | (uint64_t(frame) & kFrameMask);
}
uint32_t generationOf(uint64_t p) { return uint32_t(p >> (64 - kGenerationBits)); }
uint32_t shortGeneration(uint32_t g) { return g & ((1u << kGenerationBits) - 1); }

// A ring that holds at least one second of decoded audio.
int ringChunks(int rate) { return (rate + kChunkFrames - 1) / kChunkFrames + 1; }

} // namespace

Stream::Stream(std::unique_ptr<MediaReader> reader, std::string path, int deviceRate, bool waitForDecoder)
    : frequency(uint32_t(reader->sampleRate())), effects(reader->sampleRate()), sourceRate_(reader->sampleRate()),
      channels_(reader->channels()), eightBit_(reader->eightBit()), deviceRate_(deviceRate),
      waitForDecoder_(waitForDecoder), reader_(std::move(reader)), ring_(ringChunks(sourceRate_)),
      announcedFrames_(reader_->announcedFrames())
{
    int error = 0;
    resampler_ = src_callback_new(&Stream::resamplerInput, SRC_SINC_FASTEST, 2, &error, this);
    if (reader_->needsLengthScan()) {
        // Only a demuxing pass tells the true length; in manual rendering it is done at once so
        // that tests see it right after the load.
        if (waitForDecoder_)
            scannedFrames_ = MediaReader::scanFrames(path, quit_);
        else
            scanner_ = std::thread([this, path] { scannedFrames_ = MediaReader::scanFrames(path, quit_); });
    }
    decoder_ = std::thread([this] { decoderLoop(); });
}

Stream::~Stream()
{
    shutdown();
    if (resampler_)
        src_delete(resampler_);
}

void Stream::shutdown()
{
    quit_ = true;
    wake_.notify_all();
    if (decoder_.joinable())
        decoder_.join();
    if (scanner_.joinable())
        scanner_.join();
}

// ---- main thread ----

void Stream::play()
{
    if (ended())
        seek(0);
    playing_.store(true, std::memory_order_release);
}

void Stream::stop() { playing_.store(false, std::memory_order_release); }

bool Stream::ended() const
{
    const uint64_t p = published_.load(std::memory_order_acquire);
    return generationOf(p) == shortGeneration(generation_.load()) && (p & kEndBit);
}

int64_t Stream::lengthFrames() const
{
    const int64_t decoded = decodedFrames_.load();
    if (decoded >= 0)
        return decoded;
    const int64_t scanned = scannedFrames_.load();
    return scanned >= 0 ? scanned : std::max<int64_t>(0, announcedFrames_.load());
}

int64_t Stream::positionFrames() const
{
    const uint64_t p = published_.load(std::memory_order_acquire);
    if (generationOf(p) == shortGeneration(generation_.load()))
        return int64_t(p & kFrameMask);
    return seekTarget_.load();
}

bool Stream::seek(int64_t frame)
{
    if (frame < 0 || frame > lengthFrames())
        return false;
    {
        std::lock_guard<std::mutex> lock(seekMutex_);
        seekTarget_.store(frame);
        generation_.fetch_add(1, std::memory_order_release);
    }
    wake_.notify_all();
    return true;
}

// ---- decoder thread ----

void Stream::decoderLoop()
{
    std::vector<float> pending;
    size_t pendingAt = 0; // floats of `pending` already handed out
    int64_t pendingFirst = 0;
    uint32_t generation = 0;
    bool atEnd = false, endSent = false, decodedAny = false;
    auto changed = [&] { return quit_.load() || generation_.load(std::memory_order_acquire) != generation; };

    while (!quit_) {
        uint32_t wanted;
        int64_t target;
        {
            std::lock_guard<std::mutex> lock(seekMutex_);
            wanted = generation_.load();
            target = seekTarget_.load();
        }
        if (wanted != generation) {
            generation = wanted;
            pending.clear();
            pendingAt = 0;
            endSent = false;
            decodedAny = false;
            atEnd = !reader_->seek(target);
            pendingFirst = target;
        }
        Chunk* chunk = endSent ? nullptr : ring_.writable();
        if (!chunk) {
            std::unique_lock<std::mutex> lock(seekMutex_);
            wake_.wait_for(lock, std::chrono::milliseconds(endSent ? 50 : 2), changed);
            continue;
        }
        while (!atEnd && pending.size() - pendingAt < size_t(kChunkFrames) * 2 && !changed()) {
            if (pendingAt > size_t(kChunkFrames) * 8) {
                pending.erase(pending.begin(), pending.begin() + std::ptrdiff_t(pendingAt));
                pendingAt = 0;
            }
            if (!reader_->decode(pending))
                atEnd = true;
        }
        if (changed())
            continue;
        const int frames = int(std::min<size_t>(kChunkFrames, (pending.size() - pendingAt) / 2));
        chunk->generation = generation;
        chunk->firstFrame = pendingFirst;
        chunk->frames = frames;
        std::memcpy(chunk->data, pending.data() + pendingAt, sizeof(float) * size_t(frames) * 2);
        pendingAt += size_t(frames) * 2;
        pendingFirst += frames;
        decodedAny = decodedAny || frames > 0;
        chunk->last = atEnd && pendingAt == pending.size();
        if (chunk->last) {
            endSent = true;
            // The end's frame number is the exact length (positions are absolute).
            if (decodedAny || target == 0)
                decodedFrames_ = pendingFirst;
        }
        ring_.publish();
    }
}

// ---- output callback ----

void Stream::publish()
{
    published_.store(pack(shortGeneration(consumerGeneration_), consumerFrame_, consumerEnded_),
                     std::memory_order_release);
}

void Stream::syncGeneration()
{
    const uint32_t g = generation_.load(std::memory_order_acquire);
    if (g != consumerGeneration_) {
        consumerGeneration_ = g;
        consumerFrame_ = seekTarget_.load();
        consumerEnded_ = false;
        chunkOffset_ = 0;
        src_reset(resampler_);
        resampling_ = false;
    }
    // Chunks decoded before the last seek are dropped even while the stream is stopped, so the
    // decoder can refill at once.
    while (Chunk* c = ring_.readable()) {
        if (c->generation == consumerGeneration_)
            break;
        ring_.release();
        chunkOffset_ = 0;
    }
}

int Stream::pull(float* out, int frames)
{
    int got = 0;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (got < frames && !consumerEnded_) {
        Chunk* c = ring_.readable();
        if (!c) {
            if (!waitForDecoder_ || std::chrono::steady_clock::now() > giveUp)
                break;
            wake_.notify_all();
            std::this_thread::sleep_for(std::chrono::microseconds(50));
            continue;
        }
        if (c->generation != consumerGeneration_) {
            ring_.release();
            chunkOffset_ = 0;
            continue;
        }
        if (chunkOffset_ == 0)
            consumerFrame_ = c->firstFrame;
        const int take = std::min(c->frames - chunkOffset_, frames - got);
        std::memcpy(out + 2 * got, c->data + 2 * chunkOffset_, sizeof(float) * size_t(take) * 2);
        got += take;
        chunkOffset_ += take;
        consumerFrame_ += take;
        if (chunkOffset_ >= c->frames) {
            const bool last = c->last;
            ring_.release();
            chunkOffset_ = 0;
            consumerEnded_ = last;
            if (waitForDecoder_)
                wake_.notify_all();
        }
    }
    return got;
}

int Stream::pullProcessed(float* out, int frames)
{
    const int got = pull(out, frames);
    effects.process(out, got);
    tap.write(out, got);
    return got;
}

long Stream::resamplerInput(void* self, float** data)
{
    auto* s = static_cast<Stream*>(self);
    *data = s->sourceBlock_;
    return s->pullProcessed(s->sourceBlock_, kBlock / 2);
}

void Stream::mixInto(float* mix, const float* frames, int count)
{
    const float v = float(std::min<uint32_t>(volume.load(std::memory_order_relaxed), 100)) / 100.0f;
    const float p = float(std::clamp(pan.load(std::memory_order_relaxed), -100, 100)) / 100.0f;
    const float targetL = v * std::min(1.0f, 1.0f - p), targetR = v * std::min(1.0f, 1.0f + p);
    if (!gainsSet_) {
        gainL_ = targetL;
        gainR_ = targetR;
        gainsSet_ = true;
    }
    // A change of volume or pan ramps over the block instead of clicking. Each frame's gain is
    // computed from the block's start, so no frame waits on the one before.
    const float stepL = count > 0 ? (targetL - gainL_) / float(count) : 0;
    const float stepR = count > 0 ? (targetR - gainR_) / float(count) : 0;
    for (int i = 0; i < count; ++i) {
        const float t = float(i + 1);
        mix[2 * i] += frames[2 * i] * (gainL_ + stepL * t);
        mix[2 * i + 1] += frames[2 * i + 1] * (gainR_ + stepR * t);
    }
    gainL_ = targetL;
    gainR_ = targetR;
}

void Stream::render(float* mix, int frames)
{
    syncGeneration();
    if (playing_.load(std::memory_order_acquire) && !consumerEnded_) {
        const uint32_t hz = std::max<uint32_t>(1, frequency.load(std::memory_order_relaxed));
        // Once the frequency leaves the device's rate the resampler stays in, so returning to
        // the neutral pitch never jumps.
        if (!resampling_ && hz != uint32_t(deviceRate_) && resampler_) {
            resampling_ = true;
            src_reset(resampler_);
        }
        const double ratio = std::clamp(double(deviceRate_) / double(hz), 1.0 / 256, 256.0);
        for (int done = 0; done < frames;) {
            const int n = std::min(kBlock, frames - done);
            long got = resampling_ ? src_callback_read(resampler_, ratio, n, outputBlock_)
                                   : pullProcessed(outputBlock_, n);
            got = std::max<long>(got, 0);
            mixInto(mix + 2 * done, outputBlock_, int(got));
            done += n;
            if (got < n)
                break;
        }
    }
    publish();
}

} // namespace audio
