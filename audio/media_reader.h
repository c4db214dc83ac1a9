// One opened media file decoded with FFmpeg into interleaved float stereo at its own rate.
// Opened on the main thread; afterwards used only by the stream's decoder thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVPacket;
struct AVFrame;
struct SwrContext;

namespace audio {

class MediaReader
{
public:
    // Null when FFmpeg cannot open the file or it holds no decodable audio.
    static std::unique_ptr<MediaReader> open(const std::string& path);
    ~MediaReader();

    int sampleRate() const { return rate_; }
    int channels() const { return channels_; }
    bool eightBit() const { return eightBit_; }
    // Frames the container announces, without encoder delay where it is known.
    int64_t announcedFrames() const { return announced_; }
    // The most frames a file of this size can hold at the lowest bit rate of any real file.
    int64_t maxFrames() const;
    // True when only a pass over the file gives the true decoded length (MP3, WMA, chained Ogg,
    // bit-rate estimates).
    bool needsLengthScan() const { return needsScan_; }
    // The file's title and artist tags (UTF-8), empty when it has none.
    const std::string& title() const { return title_; }
    const std::string& artist() const { return artist_; }

    // Counts the frames the decoder will produce by demuxing the whole file (decoding WMA and
    // chained Ogg); -1 on failure, when `cancel` was raised meanwhile, or for an Ogg file of one
    // part, whose container figure is exact.
    static int64_t scanFrames(const std::string& path, const std::atomic<bool>& cancel);

    // Positions the reader so the next decode() starts exactly at source frame `frame`.
    bool seek(int64_t frame);
    // Appends the next decoded frames (interleaved stereo) to `out`; returns false at the end.
    bool decode(std::vector<float>& out);

private:
    MediaReader() = default;
    static int64_t countDecoded(const std::string& path, const std::atomic<bool>& cancel);
    bool openDemuxer(const std::string& url);
    bool openNextPart();
    bool receive();
    bool convert(AVFrame* frame, std::vector<float>& out);
    bool followFormat(AVFrame* frame);
    void flushConverter(std::vector<float>& out);
    void place(const float* in, int n, int64_t pts, std::vector<float>& out);
    void append(const float* in, int n, std::vector<float>& out);

    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    SwrContext* swr_ = nullptr;
    // The format the converter is set up for: a stream may change it between frames.
    int swrFormat_ = -1;
    int swrRate_ = 0;
    int swrChannels_ = 0; // channels it puts out: 1 (copied to both sides) or 2
    uint64_t swrLayoutMask_ = 0;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    int streamIndex_ = -1;
    int rate_ = 0;
    int channels_ = 0;
    bool eightBit_ = false;
    bool needsScan_ = false;
    int64_t announced_ = 0;
    std::string title_, artist_;
    std::string path_;
    bool ogg_ = false;
    int64_t partOffset_ = 0;   // byte offset of the part of a chained file that is open
    int64_t lastPacketAt_ = 0; // byte offset of the page of the last packet read
    int64_t lastPts_ = INT64_MIN;
    int64_t fileBytes_ = 0;
    int64_t startPts_ = 0; // the stream's start: where a seek to the first sample goes
    int64_t firstPts_ = 0; // the timestamp the decoder gives the first decoded sample
    int64_t tickFrames_ = 0; // frames in one tick of the stream's time base, rounded up
    int64_t grain_ = 0;      // WMA: every frame starts at a multiple of this
    int64_t prerollFrames_ = 0;
    int64_t nextFrame_ = 0;   // source frame of the next sample handed out
    int64_t dropBefore_ = -1; // after a seek: samples before this frame are discarded
    bool draining_ = false;
    bool held_ = false; // frame_ holds a decoded frame not converted yet
    std::vector<float> converted_;
};

} // namespace audio
