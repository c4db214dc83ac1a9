#include "audio/stream.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

namespace audio {

namespace {

constexpr int kGenerationBits = 16;
constexpr uint64_t kEndBit = uint64_t(1) << 47;
constexpr uint64_t kFreshBit = uint64_t(1) << 46;
constexpr uint64_t kFrameMask = kFreshBit - 1;

uint64_t pack(uint32_t generation, int64_t frame, bool ended, bool fresh)
{
    return (uint64_t(generation) << (64 - kGenerationBits)) | (ended ? kEndBit : 0) | (fresh ? kFreshBit : 0)
           | (uint64_t(frame) & kFrameMask);
}
uint32_t generationOf(uint64_t p) { return uint32_t(p >> (64 - kGenerationBits)); }
uint32_t shortGeneration(uint32_t g) { return g & ((1u << kGenerationBits) - 1); }
// Generations wrap: a chunk is older than the consumer's when the difference is negative.
bool older(uint32_t chunk, uint32_t consumer) { return int32_t(chunk - consumer) < 0; }

// A ring that holds at least one second of decoded audio (rates are bounded at load).
int ringChunks(int rate) { return (rate + kChunkFrames - 1) / kChunkFrames + 1; }

} // namespace

Stream::Stream(std::unique_ptr<MediaReader> reader, std::string path, int deviceRate, bool waitForDecoder)
    : frequency(uint32_t(reader->sampleRate())), effects(reader->sampleRate()), sourceRate_(reader->sampleRate()),
      channels_(reader->channels()), eightBit_(reader->eightBit()), deviceRate_(deviceRate),
      waitForDecoder_(waitForDecoder), reader_(std::move(reader)),
      ring_(ringChunks(sourceRate_) + kSeekReserve), fillLimit_(ringChunks(sourceRate_)),
      announcedFrames_(reader_->announcedFrames()), published_(pack(0, 0, false, true)),
      converter_(ratioFor(frequency.load())), offeredRatio_(ratioFor(frequency.load()))
{
    if (reader_->needsLengthScan()) {
        // Only a demuxing pass tells the true length; in manual rendering it is done at once so
        // that tests see it right after the load.
        const int64_t most = reader_->maxFrames();
        auto scan = [this, path, most] { scannedFrames_ = std::min(most, MediaReader::scanFrames(path, quit_)); };
        if (waitForDecoder_)
            scan();
        else
            scanner_ = std::thread(scan);
    }
    decoder_ = std::thread([this] { decoderLoop(); });
}

Stream::~Stream() { shutdown(); }

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
    wake_.notify_all(); // a stopped stream's decoder sleeps until it is needed
}

void Stream::stop() { playing_.store(false, std::memory_order_release); }

bool Stream::ended() const
{
    const uint64_t p = published_.load(std::memory_order_acquire);
    return generationOf(p) == shortGeneration(generation_.load()) && (p & kEndBit);
}

// The decoded length once a decode met the end; before that the demuxing scan's count or the
// container's figure. A file that plays on past that figure (a chained Ogg, whose header only
// knows its last part) is still playing: the length stays ahead of the position until the end.
int64_t Stream::lengthFrames() const
{
    const int64_t decoded = decodedFrames_.load();
    const int64_t scanned = scannedFrames_.load();
    const int64_t known =
        decoded >= 0 ? decoded : scanned >= 0 ? scanned : std::max<int64_t>(0, announcedFrames_.load());
    const uint64_t p = published_.load(std::memory_order_acquire);
    const bool current = generationOf(p) == shortGeneration(generation_.load());
    if (current && !(p & kEndBit) && int64_t(p & kFrameMask) > known)
        return int64_t(p & kFrameMask) + sourceRate_ / 10;
    return known;
}

int64_t Stream::positionFrames() const
{
    const uint64_t p = published_.load(std::memory_order_acquire);
    if (generationOf(p) != shortGeneration(generation_.load()))
        return seekTarget_.load();
    // A track that was heard to its end is at its length, however the frames were counted.
    return (p & kEndBit) ? lengthFrames() : int64_t(p & kFrameMask);
}

bool Stream::seek(int64_t frame)
{
    if (frame < 0 || frame > lengthFrames())
        return false;
    // A stopped stream already waiting at that very frame (Play from the start right after a
    // load) keeps what is decoded instead of decoding it again.
    const uint64_t p = published_.load(std::memory_order_acquire);
    if (!playing() && (p & kFreshBit) && !(p & kEndBit) && int64_t(p & kFrameMask) == frame
        && generationOf(p) == shortGeneration(generation_.load()))
        return true;
    // The seek's fresh converter is there before the callback can see the seek.
    converter_.offer(offeredRatio_, generation_.load() + 1);
    {
        std::lock_guard<std::mutex> lock(seekMutex_);
        seekTarget_.store(frame);
        generation_.fetch_add(1, std::memory_order_release);
    }
    wake_.notify_all();
    return true;
}

// Source frames per device frame.
double Stream::ratioFor(uint32_t hz) const { return double(std::max<uint32_t>(1, hz)) / double(deviceRate_); }

void Stream::setFrequency(uint32_t hz)
{
    frequency.store(hz, std::memory_order_relaxed);
    const double ratio = ratioFor(hz);
    if (ratio != offeredRatio_) {
        offeredRatio_ = ratio;
        converter_.offer(ratio, generation_.load());
    }
}

// ---- decoder thread ----

bool Stream::mayWrite(int writtenSinceSeek) const
{
    const int queued = ring_.size();
    return queued < fillLimit_ || (writtenSinceSeek < kSeekReserve && queued < ring_.capacity());
}

void Stream::decoderLoop()
{
    std::vector<float> pending;
    size_t pendingAt = 0; // floats of `pending` already handed out
    int64_t pendingFirst = 0;
    uint32_t generation = 0;
    int writtenSinceSeek = kSeekReserve; // the first fill has no older chunks to wait for
    bool atEnd = false, endSent = false, fromStart = true;
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
            writtenSinceSeek = 0;
            fromStart = target == 0;
            atEnd = !reader_->seek(target);
            pendingFirst = target;
        }
        if (endSent || !mayWrite(writtenSinceSeek)) {
            // Nothing to do until the consumer has played a few chunks, or a seek or Play comes.
            // A stopped stream consumes nothing, so it only wakes for those.
            const bool playing = playing_.load();
            const int refillMs = int(int64_t(kRefillChunks) * kChunkFrames * 1000
                                     / std::max<uint32_t>(1, frequency.load(std::memory_order_relaxed)));
            // Right after a seek the ring is full of older chunks that the callback drops at its
            // next period, without waking anyone: look again soon, or the new ones run out.
            const bool refilling = writtenSinceSeek < fillLimit_;
            const int waitMs = endSent || !playing ? 1000 : refilling ? 5 : std::clamp(refillMs, 20, 100);
            const auto wait = std::chrono::milliseconds(waitMs);
            std::unique_lock<std::mutex> lock(seekMutex_);
            wake_.wait_for(lock, wait, [&] {
                return changed() || (!endSent && ring_.size() <= fillLimit_ - kRefillChunks)
                       || (playing_.load() && !playing);
            });
            continue;
        }
        Chunk* chunk = ring_.writable();
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
        // A decoder that gave nothing leaves `pending` empty, with no storage to copy from.
        std::copy_n(pending.data() + pendingAt, size_t(frames) * 2, chunk->data);
        pendingAt += size_t(frames) * 2;
        pendingFirst += frames;
        chunk->last = atEnd && pendingAt == pending.size();
        if (chunk->last) {
            endSent = true;
            // A decode from the very start that met the end counted the exact length. One that
            // began at a seek counts from where the seek was placed, which is not exact for
            // every format (WMA's times are whole milliseconds): it only shortens the container's
            // figure, where the data does not reach it, never a counted length.
            const int64_t end = std::min(pendingFirst, reader_->maxFrames());
            const bool counted = decodedFrames_.load() >= 0 || scannedFrames_.load() >= 0;
            if (fromStart || (!counted && end < lengthFrames()))
                decodedFrames_ = end;
        }
        ++writtenSinceSeek;
        ring_.publish();
    }
}

// ---- output callback ----

// The source frame whose sound leaves the converter now: the converter takes its input ahead
// of what it puts out, so the position counts what came out, in source frames.
int64_t Stream::heardFrame() const
{
    if (converter_.drained())
        return consumerFrame_;
    return std::min(consumerFrame_, generationStart_ + int64_t(std::llround(converter_.heard())));
}

void Stream::publish()
{
    const bool fresh = consumerFrame_ == generationStart_ && chunkOffset_ == 0 && converter_.untouched();
    published_.store(pack(shortGeneration(consumerGeneration_), heardFrame(), converter_.drained(), fresh),
                     std::memory_order_release);
}

void Stream::syncGeneration()
{
    const uint32_t g = generation_.load(std::memory_order_acquire);
    if (g != consumerGeneration_) {
        consumerGeneration_ = g;
        generationStart_ = consumerFrame_ = seekTarget_.load();
        sourceEnded_ = false;
        chunkOffset_ = 0;
        converter_.restart(g);
    }
    // Chunks decoded before the last seek are dropped even while the stream is stopped, so the
    // decoder can refill at once.
    while (Chunk* c = ring_.readable()) {
        if (!older(c->generation, consumerGeneration_))
            break;
        ring_.release();
        chunkOffset_ = 0;
    }
}

int Stream::take(float* out, int frames)
{
    int got = 0;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (got < frames && !sourceEnded_) {
        Chunk* c = ring_.readable();
        if (c && older(c->generation, consumerGeneration_)) {
            ring_.release();
            chunkOffset_ = 0;
            continue;
        }
        if (!c || c->generation != consumerGeneration_) {
            // Not decoded yet (or already for a newer seek, taken at the next period).
            if (!waitForDecoder_ || std::chrono::steady_clock::now() > giveUp)
                break;
            wake_.notify_all();
            std::this_thread::sleep_for(std::chrono::microseconds(50));
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
            sourceEnded_ = last;
            // Waking the decoder before it may refill would only cost a system call.
            if (waitForDecoder_ && ring_.size() <= fillLimit_ - kRefillChunks)
                wake_.notify_all();
        }
    }
    return got;
}

int Stream::pull(float* out, int frames)
{
    const int got = take(out, frames);
    effects.process(out, got);
    tap.write(out, got);
    return got;
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

void Stream::render(float* mix, int frames, bool heard)
{
    syncGeneration();
    if (playing_.load(std::memory_order_acquire) && !converter_.drained()) {
        int done = 0;
        while (done < frames) {
            const int n = std::min(kBlock, frames - done);
            const int got = converter_.convert(outputBlock_, n, *this);
            mixInto(mix + 2 * done, outputBlock_, got);
            done += got;
            if (got < n) {
                if (!converter_.drained())
                    silentPeriods_.fetch_add(1, std::memory_order_relaxed);
                break; // the rest of the period stays silent
            }
        }
        if (heard)
            heardFrames_.fetch_add(done, std::memory_order_relaxed);
    }
    publish();
}

} // namespace audio
