// A stream's frames to the device rate. At a ratio of exactly 1 the frames pass untouched; at
// any other ratio a fixed-rate soxr converter, made on the main thread (it allocates), does the
// work. A new ratio or a seek hands the callback a fresh converter: a new ratio is crossfaded
// in, started a little earlier on the frames already taken so that both paths sound the same
// instant, and a seek starts the fresh one cold. The callback takes no lock and allocates
// nothing here; converters travel through one atomic slot, and the main thread deletes the
// ones the callback has let go.
#pragma once

#include <atomic>
#include <algorithm>
#include <cstdint>
#include <list>
#include <memory>

struct soxr;

namespace audio {

// Where the converter takes its source frames from (the stream's ring, after the effects).
class FrameSource
{
public:
    // Up to `frames` frames; fewer when the decoder is behind or the source has ended.
    virtual int pull(float* out, int frames) = 0;
    virtual bool exhausted() const = 0; // nothing more will come

protected:
    ~FrameSource() = default;
};

class RateConverter
{
public:
    static constexpr int kBlock = 512;    // most output frames one convert() call is asked for
    static constexpr int kFadeFrames = 512;

    // Main thread. `ratio`: source frames per device frame.
    explicit RateConverter(double ratio);
    ~RateConverter();
    // Makes a converter for `ratio` for the callback to take within seek `generation`, and
    // deletes those the callback has let go.
    void offer(double ratio, uint32_t generation);

    // Output callback.
    // Starts again at a seek's target with the converter offered for `generation` (cold).
    void restart(uint32_t generation);
    // Up to `frames` (<= kBlock) frames at the device rate; fewer when the source ran dry for
    // now or everything was heard.
    int convert(float* out, int frames, FrameSource& source);
    bool drained() const { return primary_.drained; }
    bool untouched() const { return filled_ == 0; }
    // Source frames since the restart whose sound has left the converter (the first output may
    // stand a fraction of a frame before the restart).
    double heard() const { return std::max(0.0, primary_.time()); }

private:
    struct Converter {
        soxr* resampler = nullptr; // none at a ratio of 1
        double ratio = 1;
        uint32_t generation = 0;
        std::atomic<bool> released{false}; // the callback has let go of it
        int64_t warmInputs = 0, warmOutputs = 0; // the silence it was run on, and what it made
    };
    struct Path {
        Converter* converter = nullptr;
        int64_t start = 0;  // source frame its first output (skipped ones included) stands for
        int64_t cursor = 0; // next source frame to give it
        int64_t outputs = 0; // outputs so far, skipped ones included
        int64_t skip = 0;   // outputs still to drop while it is primed
        int64_t heardFrom = 0; // the first output heard
        bool drained = false;
        // The source frame the path sounds next: while it is primed, the first one it will sound.
        double time() const
        {
            return double(start) + double(std::max(outputs, heardFrom)) * (converter ? converter->ratio : 1.0);
        }
        static Path from(Converter* converter, int64_t at);
    };

    static Converter* make(double ratio, uint32_t generation);
    static void warm(Converter& c);
    void release(Path& path);
    Converter* takeOffered();
    void takeOffer();
    int64_t fill(int64_t upto, FrameSource& source);
    int run(Path& path, float* out, int frames, FrameSource& source);

    // Main thread.
    std::list<std::unique_ptr<Converter>> owned_;
    std::atomic<Converter*> offered_{nullptr};

    // Callback. The frames taken since the restart, in a ring indexed by source frame.
    static constexpr int kHistory = 16384; // a power of two
    std::unique_ptr<float[]> history_;
    int64_t filled_ = 0; // source frames taken since the restart
    uint32_t generation_ = 0;
    Path primary_, fading_;
    int fadeAt_ = 0;
    float fadeOut_[kBlock * 2];
    float scratch_[kBlock * 2];
};

} // namespace audio
