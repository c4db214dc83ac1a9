#include "audio/rate_converter.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace audio {

namespace {
constexpr double kPi = 3.14159265358979323846;

// Source frames a converter needs before an instant to sound it as a running one does: its
// filter reaches about 70 frames each side, more when it takes several frames per output.
int64_t primingFrames(double ratio) { return int64_t(std::ceil(160.0 * std::max(1.0, ratio))); }

// Source frames to give a converter whose next output stands at source frame `time` so that
// `wanted` more can come out: up to the last one's instant and the reach of its filter and
// block. soxr takes whatever it is given, so more would pile up inside it, growing its buffers
// in the callback and the distance between what the effects process and what is heard.
int64_t inputFor(double ratio, double time, int wanted, int64_t cursor)
{
    const double reach = 1024.0 * std::clamp(ratio, 1.0, 4.0);
    return std::max<int64_t>(16, int64_t(std::ceil(time + double(wanted) * ratio + reach)) - cursor);
}

// Silence a new converter is run on, enough for soxr's buffers to reach the size they keep:
// they grow until several times 16 KB have gone through them.
constexpr int kWarmBlocks = 64, kWarmFrames = 32768, kMostWarmBlocks = 1024;
} // namespace

RateConverter::Converter* RateConverter::make(double ratio, uint32_t generation)
{
    auto* c = new Converter;
    c->ratio = ratio;
    c->generation = generation;
    if (ratio != 1.0) {
        const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
        // 16-bit precision (aliases 96 dB down) keeps the full passband, flat to 20 kHz, at
        // about two thirds of the 20-bit cost.
        const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_16_BITQ, 0);
        soxr_error_t error = nullptr;
        c->resampler = soxr_create(ratio, 1, 2, &error, &io, &quality, nullptr);
        if (error)
            c->resampler = nullptr;
        else
            warm(*c);
    }
    return c;
}

// Runs a new converter on silence as the callback will run it, so that its buffers grow here
// and not in the callback; what it made stands before the frame it will be started on.
void RateConverter::warm(Converter& c)
{
    std::vector<float> silence, out(kBlock * 2);
    for (int block = 0; block < kMostWarmBlocks && (block < kWarmBlocks || c.warmInputs < kWarmFrames); ++block) {
        for (int made = 0; made < kBlock;) {
            const int64_t given = inputFor(c.ratio, double(c.warmOutputs) * c.ratio, kBlock - made, c.warmInputs);
            silence.resize(size_t(given) * 2);
            size_t used = 0, produced = 0;
            if (soxr_process(c.resampler, silence.data(), size_t(given), &used, out.data(), size_t(kBlock - made), &produced))
                return;
            c.warmInputs += int64_t(used);
            c.warmOutputs += int64_t(produced);
            made += int(produced);
        }
    }
}

// A path that sounds `converter` from source frame `at` on: the warm-up's silence stands just
// before it, and the outputs standing for that silence are dropped. The first output kept may
// stand up to one source frame before `at`: dropping it too would lose the track's last output,
// as soxr's count of outputs rounds down.
RateConverter::Path RateConverter::Path::from(Converter* converter, int64_t at)
{
    Path p;
    p.converter = converter;
    p.cursor = at;
    p.start = at - converter->warmInputs;
    p.outputs = converter->warmOutputs;
    p.skip = std::max<int64_t>(0, int64_t(std::floor(double(converter->warmInputs) / converter->ratio)) - p.outputs);
    p.heardFrom = p.outputs + p.skip;
    return p;
}

RateConverter::RateConverter(double ratio) : history_(new float[kHistory * 2]())
{
    owned_.emplace_back(make(ratio, 0));
    primary_ = Path::from(owned_.back().get(), 0);
}

RateConverter::~RateConverter()
{
    for (auto& c : owned_)
        if (c->resampler)
            soxr_delete(c->resampler);
}

void RateConverter::offer(double ratio, uint32_t generation)
{
    owned_.emplace_back(make(ratio, generation));
    // One the callback has not taken yet is replaced: it never will.
    Converter* replaced = offered_.exchange(owned_.back().get(), std::memory_order_acq_rel);
    if (replaced)
        replaced->released.store(true, std::memory_order_relaxed);
    for (auto it = owned_.begin(); it != owned_.end();) {
        if ((*it)->released.load(std::memory_order_acquire)) {
            if ((*it)->resampler)
                soxr_delete((*it)->resampler);
            it = owned_.erase(it);
        } else {
            ++it;
        }
    }
}

// ---- output callback ----

void RateConverter::release(Path& path)
{
    if (path.converter)
        path.converter->released.store(true, std::memory_order_release);
    path = Path{};
}

// The offered converter when it was made for this seek generation. One made for a seek the
// callback has not seen yet goes back to the slot, unless a newer one has taken its place.
RateConverter::Converter* RateConverter::takeOffered()
{
    if (!offered_.load(std::memory_order_acquire))
        return nullptr;
    Converter* offered = offered_.exchange(nullptr, std::memory_order_acq_rel);
    if (!offered || offered->generation == generation_)
        return offered;
    Converter* empty = nullptr;
    if (int32_t(offered->generation - generation_) < 0 || !offered_.compare_exchange_strong(empty, offered))
        offered->released.store(true, std::memory_order_release);
    return nullptr;
}

void RateConverter::restart(uint32_t generation)
{
    generation_ = generation;
    filled_ = 0;
    release(fading_);
    if (Converter* offered = takeOffered()) {
        release(primary_);
        primary_.converter = offered;
    } else if (primary_.converter->resampler) {
        // No fresh converter came with the seek (it could not be made): empty this one.
        soxr_clear(primary_.converter->resampler);
        primary_.converter->warmInputs = primary_.converter->warmOutputs = 0;
    }
    primary_ = Path::from(primary_.converter, 0);
}

// A converter offered for a new ratio starts on frames already taken, early enough for its
// filter, and drops what it makes before the instant the running path sounds next; it is then
// faded in over that path. Output instants fall on whole source frames only at the start, so
// the start is chosen among a few to land nearest that instant.
void RateConverter::takeOffer()
{
    if (fading_.converter || primary_.drained)
        return;
    Converter* offered = takeOffered();
    if (!offered)
        return;
    if (offered->ratio == primary_.converter->ratio) {
        offered->released.store(true, std::memory_order_release);
        return;
    }
    const double now = primary_.time();
    Path next;
    const int64_t oldest = std::max<int64_t>(0, filled_ - kHistory);
    if (!offered->resampler) {
        next = Path::from(offered, std::max(oldest, int64_t(std::llround(now))));
    } else {
        const double r = offered->ratio;
        const int64_t latest = std::max(oldest, int64_t(std::floor(now)) - primingFrames(r));
        double best = 1e9;
        for (int64_t s = latest; s >= std::max(oldest, latest - 7); --s) {
            Path p = Path::from(offered, s);
            const int64_t k = std::max(p.outputs + p.skip, int64_t(std::llround((now - double(p.start)) / r)));
            const double miss = std::fabs(double(p.start) + double(k) * r - now);
            if (miss < best) {
                best = miss;
                p.skip = k - p.outputs;
                p.heardFrom = k;
                next = p;
            }
        }
    }
    fading_ = primary_;
    primary_ = next;
    fadeAt_ = 0;
}

// Takes source frames into the history until `upto` is there or the source has none for now;
// frames a path still has to be given are never overwritten. Returns what is there.
int64_t RateConverter::fill(int64_t upto, FrameSource& source)
{
    int64_t needed = primary_.cursor;
    if (fading_.converter)
        needed = std::min(needed, fading_.cursor);
    while (filled_ < upto) {
        const int64_t at = filled_ & (kHistory - 1);
        const int64_t room = std::min(kHistory - at, kHistory - (filled_ - needed));
        const int want = int(std::min<int64_t>({room, upto - filled_, kBlock}));
        if (want <= 0)
            break;
        const int got = source.pull(history_.get() + 2 * at, want);
        filled_ += got;
        if (got < want)
            break;
    }
    return filled_;
}

// Up to `frames` outputs of one path into `out`; fewer when the source has nothing for now.
int RateConverter::run(Path& path, float* out, int frames, FrameSource& source)
{
    int made = 0;
    soxr* resampler = path.converter->resampler;
    const double ratio = path.converter->ratio;
    while (made < frames && !path.drained) {
        // While priming, outputs go to the scratch block and are dropped.
        const bool priming = path.skip > 0;
        const int wanted = priming ? int(std::min<int64_t>(path.skip, kBlock)) : frames - made;
        float* into = priming ? scratch_ : out + 2 * made;
        // Give a converter only what this output needs, so the effects and the sample data
        // stay within a period of what is heard.
        const int64_t needed = resampler ? inputFor(ratio, path.time(), wanted, path.cursor) : wanted;
        const int64_t there = fill(path.cursor + needed, source) - path.cursor;
        const int64_t at = path.cursor & (kHistory - 1);
        const size_t given = size_t(std::min({there, needed, kHistory - at}));
        if (given == 0 && !source.exhausted())
            break; // the decoder is behind: silence now, the converter waits as it is
        size_t used = 0, produced = 0;
        if (!resampler) {
            if (given == 0) {
                path.drained = true;
                break;
            }
            std::memcpy(into, history_.get() + 2 * at, sizeof(float) * given * 2);
            used = produced = given;
        } else {
            const float* in = given ? history_.get() + 2 * at : nullptr; // none: drain it
            if (soxr_process(resampler, in, given, &used, into, size_t(wanted), &produced))
                break;
            if (!in && produced == 0) {
                path.drained = true; // the last frame was heard
                break;
            }
            if (used == 0 && produced == 0)
                break;
        }
        path.cursor += int64_t(used);
        path.outputs += int64_t(produced);
        if (priming)
            path.skip -= int64_t(produced);
        else
            made += int(produced);
    }
    return made;
}

int RateConverter::convert(float* out, int frames, FrameSource& source)
{
    takeOffer();
    if (!fading_.converter)
        return run(primary_, out, frames, source);
    // The old path fades out on a raised cosine while the new one fades in.
    const int span = std::min(frames, kFadeFrames - fadeAt_);
    const int fresh = run(primary_, out, span, source);
    const int old = run(fading_, fadeOut_, fresh, source);
    for (int i = 0; i < std::min(old, fresh); ++i) {
        const float w = float(0.5 - 0.5 * std::cos(kPi * double(fadeAt_ + i + 1) / double(kFadeFrames)));
        out[2 * i] = w * out[2 * i] + (1 - w) * fadeOut_[2 * i];
        out[2 * i + 1] = w * out[2 * i + 1] + (1 - w) * fadeOut_[2 * i + 1];
    }
    fadeAt_ += fresh;
    // An underrun or the end cuts the fade short: the gap is heard anyway.
    if (fadeAt_ >= kFadeFrames || old < fresh || fresh < span)
        release(fading_);
    if (fresh < span || span == frames)
        return fresh;
    return fresh + run(primary_, out + 2 * fresh, frames - fresh, source);
}

} // namespace audio
