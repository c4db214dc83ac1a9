// The stream effects: ten-band peaking equaliser, flanger, echo and the "Cut" gate.
// Parameters are written on the main thread into atomics; the output callback reads them,
// rebuilds its coefficients when their version changes and processes audio in place.
// process() takes no lock and allocates nothing; the echo's line is allocated on the main
// thread when the echo is switched on. Nothing a setting changes is heard as a click: an
// effect fades in and out of the dry sound, a band's gain glides to its new value, and a
// band whose gain is sent again unchanged keeps its filter running as it was. A chain whose
// filters or lines meet a non-finite value clears them and gives that block as silence.
#pragma once

#include "audio/effect_blocks.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace audio {

class EffectChain
{
public:
    explicit EffectChain(int sampleRate);

    // Main thread.
    void setOn(int type, bool on);
    bool isOn(int type) const;
    bool getParameters(int type, void* block) const;
    bool setParameters(int type, const void* block);

    // Output callback: applies the switched-on effects to interleaved stereo frames.
    void process(float* frames, int count);

private:
    struct Biquad {
        float b0 = 1, b2 = 0, a1 = 0, a2 = 0; // b1 is a1 in a peaking filter
        float z1[2] = {0, 0}, z2[2] = {0, 0};
        double cw = 1, alpha = 0; // from the centre, rate and bandwidth
        float gain = 0;           // dB, what the filter runs at now (callback's own)
        bool running = false;     // false: flat and at rest, skipped
        void setGain(float dB);
    };
    struct Switch {
        std::atomic<bool> on{false};
        bool now = false;    // callback: the switch as read for this block
        bool active = false; // callback: the effect is heard, fully or fading in or out
        // Callback: reads the switch; true when the effect starts from rest (clear its state).
        bool engage();
    };

    void resetEqualiser();
    void rebuildEqualiser();
    bool glideEqualiser(int frames);
    void filterBands(float* frames, int count);
    void runEqualiser(float* frames, int count);
    void runFlanger(float* frames, int count);
    void runEcho(float* frames, int count);
    void runCut(float* frames, int count);
    void ensureEchoLine();
    bool equaliserFinite() const;
    void clearState();

    const int rate_;
    Switch eq_, flanger_, echo_, cut_;

    // Equaliser parameters (main thread writes) and filters (callback).
    std::atomic<float> eqCentre_[kEqBands];
    std::atomic<float> eqGain_[kEqBands];
    std::atomic<float> eqBandwidth_{2.5f};
    std::atomic<uint32_t> eqRate_;
    std::atomic<uint32_t> eqVersion_{1};
    uint32_t eqBuilt_ = 0;
    Biquad bands_[kEqBands];

    // Flanger.
    std::atomic<float> flangerBaseMs_{1.3f};
    std::atomic<uint32_t> flangerRate_;
    std::atomic<float> flangerBpm_{120.0f};
    std::atomic<float> flangerLevel_{3.0f};
    static constexpr int kFlangerLine = 8192; // frames, a power of two
    std::unique_ptr<float[]> flangerLine_;
    uint32_t flangerWrite_ = 0;
    double flangerPhase_ = 0;
    float flangerWet_ = 0; // callback: the wet share heard now, gliding to the level's

    // Echo.
    std::atomic<float> echoDry_{1.0f}, echoWet_{1.0f}, echoFeedback_{0.0f}, echoDelay_{1.0f};
    static constexpr float kMaxEchoSeconds = 6.0f;
    std::unique_ptr<float[]> echoLineStore_; // main thread owns the memory
    std::atomic<float*> echoLine_{nullptr};
    int echoLineFrames_ = 0;
    int echoWrite_ = 0;
    float echoDryNow_ = 1, echoWetNow_ = 0; // callback: gliding to the block's, or dry when off

    // Cut gate.
    int64_t cutPhase_ = 0;
    float cutGain_ = 1.0f;
};

} // namespace audio
