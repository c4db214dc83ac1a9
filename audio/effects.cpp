#include "audio/effects.h"

#include "audio/sample_guard.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace audio {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr auto kRelaxed = std::memory_order_relaxed;
// Two equaliser bands' left and right, and a lane mask or index for them.
using Quad = float __attribute__((vector_size(16)));
using Lanes = int32_t __attribute__((vector_size(16)));
constexpr int kQuads = (kEqBands + 1) / 2;
using Pair = float __attribute__((vector_size(8))); // one frame: left and right

inline Pair load(const float* frame)
{
    Pair p;
    std::memcpy(&p, frame, sizeof p);
    return p;
}

inline void store(float* frame, Pair p) { std::memcpy(frame, &p, sizeof p); }

// The equaliser's bands as a pipeline, two to a vector, left and right side by side: at each
// step band k filters the frame k steps behind band 0's, so all bands work at once instead of
// each waiting on the one before. The steps where the pipeline fills or empties leave a band
// without a frame of the call untouched, so no delay and no state crosses a call.
struct Pipeline {
    Quad b0[kQuads], b2[kQuads], a1[kQuads], a2[kQuads], z1[kQuads], z2[kQuads];

    // The first 2·Q slots over `count` frames in place.
    template <int Q>
    void run(float* frames, int count)
    {
        Quad y[Q] = {};
        const int steps = count + 2 * Q - 1;
        int t = 0;
        for (; t < std::min(2 * Q - 1, steps); ++t)
            step<Q, true>(frames, count, t, y);
        for (; t < count; ++t)
            step<Q, false>(frames, count, t, y);
        for (; t < steps; ++t)
            step<Q, true>(frames, count, t, y);
    }

    // Step t: slot k takes frame t - k; on the edges a slot without one keeps its state.
    template <int Q, bool Edge>
    inline __attribute__((always_inline)) void step(float* frames, int count, int t, Quad (&y)[Q])
    {
        const Quad in = !Edge || t < count ? Quad{frames[2 * t], frames[2 * t + 1]} : Quad{};
#pragma GCC unroll 8
        for (int q = Q - 1; q >= 0; --q) {
            // Slot 2q takes what slot 2q - 1 gave last step (the new frame for slot 0), slot
            // 2q + 1 what slot 2q gave.
            const Quad x = q == 0 ? __builtin_shufflevector(in, y[0], 0, 1, 4, 5)
                                  : __builtin_shufflevector(y[q - 1], y[q], 2, 3, 4, 5);
            const Quad out = b0[q] * x + z1[q];
            const Quad n1 = a1[q] * (x - out) + z2[q]; // a peaking filter's b1 equals its a1
            const Quad n2 = b2[q] * x - a2[q] * out;
            y[q] = out;
            if (Edge) {
                const Lanes frame = t - Lanes{2 * q, 2 * q, 2 * q + 1, 2 * q + 1};
                const Lanes has = frame >= 0 && frame < count;
                z1[q] = has ? n1 : z1[q];
                z2[q] = has ? n2 : z2[q];
            } else {
                z1[q] = n1;
                z2[q] = n2;
            }
        }
        const int done = t - (2 * Q - 1);
        if (done >= 0) {
            frames[2 * done] = y[Q - 1][2];
            frames[2 * done + 1] = y[Q - 1][3];
        }
    }
};

// How fast a changed setting is reached: fast enough to follow a slider, slow enough that
// no step is heard.
constexpr float kEqDbPerMs = 0.5f;
constexpr float kFadeMs = 10.0f;   // an effect's share of the sound, 0 to full
constexpr int kGlideFrames = 8;    // the equaliser's coefficients are recomputed this often
constexpr float kAtRest = 1e-6f;   // a flat band whose state is below this is no longer run

// One frame's move of `value` towards `target` by at most `step`.
inline float glide(float value, float target, float step)
{
    return target > value ? std::min(target, value + step) : std::max(target, value - step);
}
} // namespace

bool EffectChain::Switch::engage()
{
    now = on.load(std::memory_order_acquire);
    const bool fresh = now && !active;
    active = active || now;
    return fresh;
}

EffectChain::EffectChain(int sampleRate)
    : rate_(sampleRate), eqRate_(uint32_t(sampleRate)), flangerRate_(uint32_t(sampleRate)),
      flangerLine_(new float[kFlangerLine * 2]())
{
    resetEqualiser();
}

void EffectChain::setOn(int type, bool on)
{
    Switch* s = type == kEqualiser ? &eq_ : type == kFlanger ? &flanger_ : type == kEcho ? &echo_ : type == kCut ? &cut_ : nullptr;
    if (!s)
        return;
    // Switching on an equaliser that is on keeps its bands as they are (and their filters
    // running); one switched on afresh starts flat.
    if (on && !s->on.load()) {
        if (type == kEcho)
            ensureEchoLine();
        if (type == kEqualiser)
            resetEqualiser();
    }
    s->on.store(on, std::memory_order_release);
}

bool EffectChain::isOn(int type) const
{
    switch (type) {
    case kEqualiser: return eq_.on.load();
    case kFlanger: return flanger_.on.load();
    case kEcho: return echo_.on.load();
    case kCut: return cut_.on.load();
    default: return false;
    }
}

bool EffectChain::getParameters(int type, void* block) const
{
    if (!isOn(type))
        return false;
    if (type == kEqualiser) {
        auto* b = static_cast<TEQBlock*>(block);
        if (b->band < 0 || b->band >= kEqBands)
            return false;
        b->sampleRate = eqRate_.load(kRelaxed);
        b->bandwidth = eqBandwidth_.load(kRelaxed);
        b->q = 0;
        b->centre = eqCentre_[b->band].load(kRelaxed);
        b->gain = eqGain_[b->band].load(kRelaxed);
    } else if (type == kFlanger) {
        *static_cast<TFlangerBlock*>(block) = {flangerBaseMs_.load(kRelaxed), flangerRate_.load(kRelaxed),
                                               flangerBpm_.load(kRelaxed), flangerLevel_.load(kRelaxed)};
    } else if (type == kEcho) {
        *static_cast<TEchoBlock*>(block) = {echoDry_.load(kRelaxed), echoWet_.load(kRelaxed),
                                            echoFeedback_.load(kRelaxed), echoDelay_.load(kRelaxed)};
    } else {
        return false;
    }
    return true;
}

bool EffectChain::setParameters(int type, const void* block)
{
    if (!isOn(type))
        return false;
    if (type == kEqualiser) {
        const auto* b = static_cast<const TEQBlock*>(block);
        if (b->band < 0 || b->band >= kEqBands || !(b->centre > 0) || !std::isfinite(b->gain))
            return false;
        if (b->sampleRate > 0)
            eqRate_.store(b->sampleRate, kRelaxed);
        if (b->bandwidth > 0)
            eqBandwidth_.store(b->bandwidth, kRelaxed);
        eqCentre_[b->band].store(b->centre, kRelaxed);
        eqGain_[b->band].store(std::clamp(b->gain, -15.0f, 15.0f), kRelaxed);
        eqVersion_.fetch_add(1, std::memory_order_release);
    } else if (type == kFlanger) {
        const auto* b = static_cast<const TFlangerBlock*>(block);
        flangerBaseMs_.store(std::clamp(b->first, 0.0f, 40.0f), kRelaxed);
        flangerRate_.store(b->frequency > 0 ? b->frequency : uint32_t(rate_), kRelaxed);
        flangerBpm_.store(b->second > 0 ? b->second : 120.0f, kRelaxed);
        flangerLevel_.store(std::clamp(b->level, 0.0f, 15.0f), kRelaxed);
    } else if (type == kEcho) {
        const auto* b = static_cast<const TEchoBlock*>(block);
        echoDry_.store(b->dry, kRelaxed);
        echoWet_.store(b->wet, kRelaxed);
        echoFeedback_.store(std::clamp(b->feedback, 0.0f, 0.95f), kRelaxed);
        echoDelay_.store(std::clamp(b->delay, 0.001f, kMaxEchoSeconds), kRelaxed);
    } else {
        return false;
    }
    return true;
}

// A freshly switched-on equaliser is flat, its bands on their usual centres.
void EffectChain::resetEqualiser()
{
    for (int b = 0; b < kEqBands; ++b) {
        eqCentre_[b].store(kEqCentres[b], kRelaxed);
        eqGain_[b].store(0.0f, kRelaxed);
    }
    eqVersion_.fetch_add(1, std::memory_order_release);
}

void EffectChain::ensureEchoLine()
{
    if (echoLineStore_)
        return;
    echoLineFrames_ = int(std::ceil(kMaxEchoSeconds * float(rate_))) + 1;
    echoLineStore_.reset(new float[size_t(echoLineFrames_) * 2]());
    echoLine_.store(echoLineStore_.get(), std::memory_order_release);
}

void EffectChain::process(float* frames, int count)
{
    // Effects switched on at priority 1 run before the equaliser (priority 0).
    runCut(frames, count);
    runFlanger(frames, count);
    runEcho(frames, count);
    runEqualiser(frames, count);
    // A filter or a line that met a value no sound has (NaN, infinity) would keep it for good:
    // the block is heard as silence and the effects go on from silence.
    if ((eq_.active || flanger_.active || echo_.active)
        && !(allFinite(frames, size_t(count) * 2) && equaliserFinite())) {
        std::memset(frames, 0, sizeof(float) * size_t(count) * 2);
        clearState();
    }
}

bool EffectChain::equaliserFinite() const
{
    for (const Biquad& f : bands_)
        if (!allFinite(f.z1, 2) || !allFinite(f.z2, 2))
            return false;
    return true;
}

// Filters and lines back to rest; settings, sweeps and glides go on as they were.
void EffectChain::clearState()
{
    for (Biquad& f : bands_)
        f.z1[0] = f.z1[1] = f.z2[0] = f.z2[1] = 0;
    std::memset(flangerLine_.get(), 0, sizeof(float) * kFlangerLine * 2);
    if (float* line = echoLine_.load(std::memory_order_acquire))
        std::memset(line, 0, sizeof(float) * size_t(echoLineFrames_) * 2);
}

// RBJ cookbook peaking filter: alpha = sin(w0)·sinh(ln2/2 · BW · w0/sin(w0)); only the
// amplitude A depends on the gain, so a glide recomputes a handful of products.
void EffectChain::Biquad::setGain(float dB)
{
    gain = dB;
    const double a = std::pow(10.0, double(dB) / 40.0);
    const double a0 = 1 + alpha / a;
    b0 = float((1 + alpha * a) / a0);
    b2 = float((1 - alpha * a) / a0);
    a1 = float(-2 * cw / a0); // b1 as well
    a2 = float((1 - alpha / a) / a0);
}

void EffectChain::rebuildEqualiser()
{
    const double fs = eqRate_.load(kRelaxed);
    const double bw = eqBandwidth_.load(kRelaxed);
    for (int b = 0; b < kEqBands; ++b) {
        Biquad& f = bands_[b];
        // A band at or above the Nyquist frequency cannot be built: it stays flat.
        const double centre = std::min(double(eqCentre_[b].load(kRelaxed)), fs * 0.499);
        const double w0 = 2 * kPi * centre / fs;
        const double sw = std::sin(w0);
        f.cw = std::cos(w0);
        f.alpha = sw * std::sinh(std::log(2.0) / 2 * bw * w0 / sw);
        f.setGain(f.gain);
    }
}

// Moves every band's gain towards its target for the next `frames`; true while any band glides.
bool EffectChain::glideEqualiser(int frames)
{
    const float fs = float(eqRate_.load(kRelaxed));
    const float step = kEqDbPerMs * 1000.0f / fs * float(frames);
    bool gliding = false;
    for (int b = 0; b < kEqBands; ++b) {
        Biquad& f = bands_[b];
        const bool buildable = eqCentre_[b].load(kRelaxed) < fs / 2;
        const float target = eq_.now && buildable ? eqGain_[b].load(kRelaxed) : 0.0f;
        if (f.gain == target)
            continue;
        f.setGain(glide(f.gain, target, step));
        f.running = true;
        gliding = gliding || f.gain != target;
    }
    return gliding;
}

void EffectChain::runEqualiser(float* frames, int count)
{
    eq_.engage();
    if (!eq_.active)
        return;
    const uint32_t version = eqVersion_.load(std::memory_order_acquire);
    if (version != eqBuilt_) {
        eqBuilt_ = version;
        rebuildEqualiser();
    }
    // While a gain glides its coefficients move every few frames; otherwise in one run.
    int done = 0;
    while (done < count && glideEqualiser(std::min(kGlideFrames, count - done))) {
        const int span = std::min(kGlideFrames, count - done);
        filterBands(frames + 2 * done, span);
        done += span;
    }
    if (done < count)
        filterBands(frames + 2 * done, count - done);
    // A band back at 0 dB leaves the chain once what it still rings with has died away.
    bool anyRunning = false;
    for (Biquad& f : bands_) {
        const float state = std::max({std::fabs(f.z1[0]), std::fabs(f.z1[1]), std::fabs(f.z2[0]), std::fabs(f.z2[1])});
        if (f.running && f.gain == 0 && state < kAtRest) {
            f.running = false;
            f.z1[0] = f.z1[1] = f.z2[0] = f.z2[1] = 0;
        }
        anyRunning = anyRunning || f.running;
    }
    eq_.active = eq_.now || anyRunning;
}

void EffectChain::filterBands(float* frames, int count)
{
    Pipeline p;
    int active[kEqBands];
    int n = 0;
    for (int b = 0; b < kEqBands; ++b)
        if (bands_[b].running)
            active[n++] = b;
    if (n == 0)
        return;
    for (int k = 0; k < 2 * kQuads; ++k) {
        // A spare slot after the last band passes its input on untouched.
        static const Biquad kThrough;
        const Biquad& f = k < n ? bands_[active[k]] : kThrough;
        const int q = k / 2, lane = 2 * (k % 2);
        for (int c = 0; c < 2; ++c) {
            p.b0[q][lane + c] = f.b0;
            p.b2[q][lane + c] = f.b2;
            p.a1[q][lane + c] = f.a1;
            p.a2[q][lane + c] = f.a2;
            p.z1[q][lane + c] = f.z1[c];
            p.z2[q][lane + c] = f.z2[c];
        }
    }
    switch ((n + 1) / 2) {
    case 1: p.run<1>(frames, count); break;
    case 2: p.run<2>(frames, count); break;
    case 3: p.run<3>(frames, count); break;
    case 4: p.run<4>(frames, count); break;
    default: p.run<5>(frames, count); break;
    }
    // Flush denormals left by a long silence.
    auto flushed = [](float v) { return std::fabs(v) < 1e-20f ? 0.0f : v; };
    for (int k = 0; k < n; ++k) {
        Biquad& f = bands_[active[k]];
        for (int c = 0; c < 2; ++c) {
            f.z1[c] = flushed(p.z1[k / 2][2 * (k % 2) + c]);
            f.z2[c] = flushed(p.z2[k / 2][2 * (k % 2) + c]);
        }
    }
}

// The delay sweeps between 0 and twice the base delay once every four beats; the wet part is
// mixed in up to an even blend, which gives the deepest notches.
void EffectChain::runFlanger(float* frames, int count)
{
    if (flanger_.engage()) {
        std::memset(flangerLine_.get(), 0, sizeof(float) * kFlangerLine * 2);
        flangerPhase_ = 0;
        flangerWet_ = 0;
    }
    if (!flanger_.active)
        return;
    const double fs = flangerRate_.load(kRelaxed);
    const double base = flangerBaseMs_.load(kRelaxed) * fs / 1000.0;
    const double sweepStep = flangerBpm_.load(kRelaxed) / 60.0 / 4.0 / fs;
    const float wetTarget = flanger_.now ? std::min(flangerLevel_.load(kRelaxed), 10.0f) / 10.0f * 0.5f : 0.0f;
    const float wetStep = 0.5f / (kFadeMs / 1000.0f * float(rate_));
    float* line = flangerLine_.get();
    constexpr uint32_t mask = kFlangerLine - 1;
    // The sweep takes seconds: its delay is exact every kSweepFrames frames and linear in
    // between, a hundredth of a sample off at most, without a cosine per frame.
    constexpr int kSweepFrames = 32;
    auto delayAt = [&](double phase) {
        return std::min(base * (1 - std::cos(2 * kPi * phase)), double(kFlangerLine - kSweepFrames - 2));
    };
    double to = delayAt(flangerPhase_);
    for (int start = 0; start < count; start += kSweepFrames) {
        const int span = std::min(kSweepFrames, count - start);
        float* f = frames + 2 * start;
        // The span goes into the line first: each frame reads only itself and older ones.
        const uint32_t at = flangerWrite_ & mask;
        const int first = std::min(span, int(kFlangerLine - at));
        std::memcpy(line + 2 * at, f, sizeof(float) * size_t(first) * 2);
        std::memcpy(line, f + 2 * first, sizeof(float) * size_t(span - first) * 2);
        const float from = float(to);
        to = delayAt(flangerPhase_ + sweepStep * span);
        const float slope = (float(to) - from) / float(span);
        const float wet = flangerWet_;
        for (int j = 0; j < span; ++j) {
            // The delay d = whole + frac sounds between the frames whole and whole + 1 back.
            const float d = std::max(0.0f, from + slope * float(j));
            const int whole = int(d);
            const float frac = d - float(whole);
            const uint32_t i1 = (flangerWrite_ + uint32_t(j - whole)) & mask, i0 = (i1 - 1) & mask;
            const float w = glide(wet, wetTarget, wetStep * float(j + 1));
            const Pair newer = load(line + 2 * i1), older = load(line + 2 * i0), x = load(f + 2 * j);
            const Pair delayed = newer + frac * (older - newer);
            store(f + 2 * j, x + w * (delayed - x));
        }
        flangerWet_ = glide(wet, wetTarget, wetStep * float(span));
        flangerWrite_ += uint32_t(span);
        flangerPhase_ += sweepStep * span;
        if (flangerPhase_ >= 1)
            flangerPhase_ -= 1;
    }
    flanger_.active = flanger_.now || flangerWet_ > 0;
}

// Switched off, the echo glides to the dry sound alone; what it still held is not heard.
void EffectChain::runEcho(float* frames, int count)
{
    float* line = echoLine_.load(std::memory_order_acquire);
    if (echo_.engage() && line) {
        std::memset(line, 0, sizeof(float) * size_t(echoLineFrames_) * 2);
        echoWrite_ = 0;
        echoDryNow_ = 1;
        echoWetNow_ = 0;
    }
    if (!echo_.active || !line)
        return;
    const float dry = echo_.now ? echoDry_.load(kRelaxed) : 1.0f, wet = echo_.now ? echoWet_.load(kRelaxed) : 0.0f;
    const float fb = echoFeedback_.load(kRelaxed);
    const float step = 1.0f / (kFadeMs / 1000.0f * float(rate_));
    const int delay = std::clamp(int(echoDelay_.load(kRelaxed) * float(rate_)), 1, echoLineFrames_ - 1);
    // In runs that wrap neither the read nor the write position; the levels glide only while
    // they differ from the block's.
    for (int i = 0; i < count;) {
        int read = echoWrite_ - delay;
        if (read < 0)
            read += echoLineFrames_;
        const int span = std::min({count - i, echoLineFrames_ - echoWrite_, echoLineFrames_ - read});
        const bool steady = echoDryNow_ == dry && echoWetNow_ == wet;
        float* f = frames + 2 * i;
        const float* d = line + 2 * read;
        float* w = line + 2 * echoWrite_;
        for (int j = 0; j < span; ++j) {
            if (!steady) {
                echoDryNow_ = glide(echoDryNow_, dry, step);
                echoWetNow_ = glide(echoWetNow_, wet, step);
            }
            for (int c = 0; c < 2; ++c) {
                const float x = f[2 * j + c], delayed = d[2 * j + c];
                w[2 * j + c] = x + fb * delayed;
                f[2 * j + c] = echoDryNow_ * x + echoWetNow_ * delayed;
            }
        }
        i += span;
        echoWrite_ += span;
        if (echoWrite_ == echoLineFrames_)
            echoWrite_ = 0;
    }
    echo_.active = echo_.now || echoWetNow_ > 0 || echoDryNow_ != 1;
}

// A square gate at 120 BPM, two cuts per beat and open half the time, with 3 ms ramps;
// switched off, it opens along the same ramp.
void EffectChain::runCut(float* frames, int count)
{
    if (cut_.engage()) {
        cutPhase_ = 0;
        cutGain_ = 1.0f;
    }
    if (!cut_.active)
        return;
    const int64_t period = std::max<int64_t>(2, int64_t(rate_) * 60 / 120 / 2);
    const float ramp = 1.0f / (0.003f * float(rate_));
    for (int i = 0; i < count; ++i) {
        const float target = !cut_.now || cutPhase_ < period / 2 ? 1.0f : 0.0f;
        cutGain_ = glide(cutGain_, target, ramp);
        frames[2 * i] *= cutGain_;
        frames[2 * i + 1] *= cutGain_;
        if (++cutPhase_ >= period)
            cutPhase_ = 0;
    }
    cut_.active = cut_.now || cutGain_ < 1.0f;
}

} // namespace audio
