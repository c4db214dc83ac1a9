#include "audio/effects.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace audio {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr auto kRelaxed = std::memory_order_relaxed;
using Pair = float __attribute__((vector_size(8))); // one frame: left and right

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
}

// RBJ cookbook peaking filter: alpha = sin(w0)·sinh(ln2/2 · BW · w0/sin(w0)); only the
// amplitude A depends on the gain, so a glide recomputes a handful of products.
void EffectChain::Biquad::setGain(float dB)
{
    gain = dB;
    const double a = std::pow(10.0, double(dB) / 40.0);
    const double a0 = 1 + alpha / a;
    b0 = float((1 + alpha * a) / a0);
    b1 = float(-2 * cw / a0);
    b2 = float((1 - alpha * a) / a0);
    a1 = b1;
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
    // Frame by frame through every band, left and right side by side: the bands' recurrences
    // are independent of one another, so the processor overlaps them instead of waiting on one.
    Pair b0[kEqBands], b1[kEqBands], b2[kEqBands], a1[kEqBands], a2[kEqBands], z1[kEqBands], z2[kEqBands];
    int active[kEqBands];
    int n = 0;
    for (int b = 0; b < kEqBands; ++b) {
        const Biquad& f = bands_[b];
        if (!f.running)
            continue;
        b0[n] = Pair{f.b0, f.b0};
        b1[n] = Pair{f.b1, f.b1};
        b2[n] = Pair{f.b2, f.b2};
        a1[n] = Pair{f.a1, f.a1};
        a2[n] = Pair{f.a2, f.a2};
        z1[n] = Pair{f.z1[0], f.z1[1]};
        z2[n] = Pair{f.z2[0], f.z2[1]};
        active[n++] = b;
    }
    if (n == 0)
        return;
    for (int i = 0; i < count; ++i) {
        Pair x;
        std::memcpy(&x, frames + 2 * i, sizeof x);
        for (int k = 0; k < n; ++k) {
            const Pair y = b0[k] * x + z1[k];
            z1[k] = b1[k] * x - a1[k] * y + z2[k];
            z2[k] = b2[k] * x - a2[k] * y;
            x = y;
        }
        std::memcpy(frames + 2 * i, &x, sizeof x);
    }
    // Flush denormals left by a long silence.
    auto flushed = [](float v) { return std::fabs(v) < 1e-20f ? 0.0f : v; };
    for (int k = 0; k < n; ++k) {
        Biquad& f = bands_[active[k]];
        for (int c = 0; c < 2; ++c) {
            f.z1[c] = flushed(z1[k][c]);
            f.z2[c] = flushed(z2[k][c]);
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
    auto delayAt = [&](double phase) { return std::min(base * (1 - std::cos(2 * kPi * phase)), double(kFlangerLine - 2)); };
    // The sweep takes seconds: its delay is exact every kSweepFrames frames and linear in
    // between, a hundredth of a sample off at most, without a cosine per frame.
    constexpr int kSweepFrames = 32;
    for (int start = 0; start < count; start += kSweepFrames) {
        const int span = std::min(kSweepFrames, count - start);
        const double from = delayAt(flangerPhase_);
        const double slope = (delayAt(flangerPhase_ + sweepStep * span) - from) / span;
        for (int j = 0; j < span; ++j) {
            float* frame = frames + 2 * (start + j);
            line[2 * (flangerWrite_ & mask)] = frame[0];
            line[2 * (flangerWrite_ & mask) + 1] = frame[1];
            const double pos = double(flangerWrite_) - (from + slope * j);
            const double whole = std::floor(pos);
            const float frac = float(pos - whole);
            const uint32_t i0 = uint32_t(int64_t(whole)) & mask, i1 = (i0 + 1) & mask;
            if (flangerWet_ != wetTarget)
                flangerWet_ = glide(flangerWet_, wetTarget, wetStep);
            for (int c = 0; c < 2; ++c) {
                const float d = line[2 * i0 + c] + frac * (line[2 * i1 + c] - line[2 * i0 + c]);
                frame[c] += flangerWet_ * (d - frame[c]);
            }
            ++flangerWrite_;
        }
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
