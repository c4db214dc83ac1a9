#include "audio/media_reader.h"

#include "audio/sample_guard.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/intreadwrite.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string_view>
#include <utility>

namespace audio {

namespace {

// What any real file has; a header outside this is corrupt, and sizes derived from it would be huge.
constexpr int kMinRate = 100;
constexpr int kMaxRate = 384000;
constexpr int kMaxChannels = 32;
// The lowest bit rate of any real compressed file (bytes a second): no file holds more time than this.
constexpr int64_t kMinBytesPerSecond = 250;

bool plausible(int rate, int channels)
{
    return rate >= kMinRate && rate <= kMaxRate && channels >= 1 && channels <= kMaxChannels;
}

uint64_t layoutMask(const AVChannelLayout& layout)
{
    return layout.order == AV_CHANNEL_ORDER_NATIVE ? layout.u.mask : 0;
}

bool isEightBit(const AVCodecParameters* p)
{
    return p->codec_id == AV_CODEC_ID_PCM_U8 || p->codec_id == AV_CODEC_ID_PCM_S8 || p->format == AV_SAMPLE_FMT_U8
           || p->format == AV_SAMPLE_FMT_U8P;
}

bool isMpegAudio(AVCodecID id)
{
    return id == AV_CODEC_ID_MP3 || id == AV_CODEC_ID_MP2 || id == AV_CODEC_ID_MP1;
}

bool isWma(AVCodecID id)
{
    return id == AV_CODEC_ID_WMAV1 || id == AV_CODEC_ID_WMAV2 || id == AV_CODEC_ID_WMAPRO || id == AV_CODEC_ID_WMAVOICE
           || id == AV_CODEC_ID_WMALOSSLESS;
}

// A tag of the container, or of the audio stream where the container keeps none (Ogg's
// comments); FFmpeg matches the key in any letter case.
std::string tag(const AVFormatContext* format, const AVStream* stream, const char* key)
{
    for (const AVDictionary* tags : {format->metadata, stream->metadata})
        if (const AVDictionaryEntry* entry = av_dict_get(tags, key, nullptr, 0))
            return entry->value;
    return {};
}

// A float decoder hands on whatever a corrupt file holds (NaN, infinity, 1e38): it is bounded
// before the converter, whose filter would keep it when it resamples. Integer samples are
// always within full scale.
void boundFloatFrame(AVFrame* frame)
{
    const AVSampleFormat format = AVSampleFormat(frame->format);
    const AVSampleFormat packed = av_get_packed_sample_fmt(format);
    if ((packed != AV_SAMPLE_FMT_FLT && packed != AV_SAMPLE_FMT_DBL) || av_frame_make_writable(frame) < 0)
        return;
    const bool planar = av_sample_fmt_is_planar(format);
    const int planes = planar ? frame->ch_layout.nb_channels : 1;
    const size_t count = size_t(frame->nb_samples) * size_t(planar ? 1 : frame->ch_layout.nb_channels);
    for (int p = 0; p < planes; ++p) {
        if (packed == AV_SAMPLE_FMT_FLT)
            boundSamples(reinterpret_cast<float*>(frame->extended_data[p]), count, kDecodedPeak);
        else
            boundSamples(reinterpret_cast<double*>(frame->extended_data[p]), count, double(kDecodedPeak));
    }
}

} // namespace

// Byte offset of the first Ogg page in [from, to] that begins a logical stream ("OggS",
// version 0, the beginning-of-stream flag): where the next part of a chained file starts.
// -1 when there is none.
int64_t nextOggStreamStart(const std::string& path, int64_t from, int64_t to = INT64_MAX)
{
    std::ifstream in(path, std::ios::binary);
    in.seekg(from);
    std::vector<char> block(size_t(1) << 16);
    constexpr size_t kHeader = 6;
    int64_t at = from; // file offset of block[0]
    size_t kept = 0;   // bytes carried over from the last block: a header may straddle two
    while (in && at <= to) {
        in.read(block.data() + kept, std::streamsize(block.size() - kept));
        const size_t n = kept + size_t(in.gcount());
        const std::string_view seen(block.data(), n);
        for (size_t i = seen.find("OggS"); i != seen.npos && i + kHeader <= n; i = seen.find("OggS", i + 1))
            if (block[i + 4] == 0 && (block[i + 5] & 0x02))
                return at + int64_t(i) <= to ? at + int64_t(i) : -1;
        kept = std::min(n, kHeader - 1);
        std::memmove(block.data(), block.data() + n - kept, kept);
        at += int64_t(n - kept);
    }
    return -1;
}

// Opens `url` (the file, or one part of a chained file) for decoding its best audio stream, in
// place of what was open; on failure what was open stays.
bool MediaReader::openDemuxer(const std::string& url)
{
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    const AVCodec* decoder = nullptr;
    int index = -1;
    const bool opened = avformat_open_input(&format, url.c_str(), nullptr, nullptr) >= 0
                        && avformat_find_stream_info(format, nullptr) >= 0
                        && (index = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0)) >= 0
                        && decoder && (codec = avcodec_alloc_context3(decoder))
                        && avcodec_parameters_to_context(codec, format->streams[index]->codecpar) >= 0;
    if (opened)
        codec->pkt_timebase = format->streams[index]->time_base;
    if (!opened || avcodec_open2(codec, decoder, nullptr) < 0) {
        avcodec_free_context(&codec);
        avformat_close_input(&format);
        return false;
    }
    for (unsigned i = 0; i < format->nb_streams; ++i)
        if (int(i) != index)
            format->streams[i]->discard = AVDISCARD_ALL;
    avcodec_free_context(&codec_);
    avformat_close_input(&format_);
    format_ = format;
    codec_ = codec;
    streamIndex_ = index;
    return true;
}

std::unique_ptr<MediaReader> MediaReader::open(const std::string& path)
{
    std::unique_ptr<MediaReader> r(new MediaReader);
    r->path_ = path;
    if (!r->openDemuxer(path))
        return nullptr;
    AVStream* st = r->format_->streams[r->streamIndex_];
    r->ogg_ = std::strcmp(r->format_->iformat->name, "ogg") == 0;
    r->rate_ = r->codec_->sample_rate;
    r->channels_ = r->codec_->ch_layout.nb_channels;
    if (!plausible(r->rate_, r->channels_))
        return nullptr;
    r->eightBit_ = isEightBit(st->codecpar);
    r->title_ = tag(r->format_, st, "title");
    r->artist_ = tag(r->format_, st, "artist");
    r->packet_ = av_packet_alloc();
    r->frame_ = av_frame_alloc();

    r->startPts_ = st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;
    r->firstPts_ = r->startPts_;
    const AVRational perFrame{1, r->rate_};
    if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
        r->announced_ = av_rescale_q(st->duration - std::max<int64_t>(r->startPts_, 0), st->time_base, perFrame);
    else if (r->format_->duration > 0)
        r->announced_ = av_rescale_q(r->format_->duration, AV_TIME_BASE_Q, perFrame);
    r->fileBytes_ = r->format_->pb ? std::max<int64_t>(0, avio_size(r->format_->pb)) : 0;
    r->announced_ = std::clamp<int64_t>(r->announced_, 0, r->maxFrames());
    r->needsScan_ = isMpegAudio(st->codecpar->codec_id) || isWma(st->codecpar->codec_id) || r->ogg_
                    || r->format_->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE;
    // The bit reservoir of MP3 and the packet structure of WMA corrupt the first frames after
    // a seek, so those are sought early and decoded up to the target.
    if (isMpegAudio(st->codecpar->codec_id))
        r->prerollFrames_ = r->rate_ / 10;
    else if (isWma(st->codecpar->codec_id))
        r->prerollFrames_ = r->rate_ / 5;
    // Positions count from the first decoded sample. Its timestamp is the stream's start for
    // most formats, but a WMA decoder hands each frame out two packets late, labelled with the
    // later packet's time: the first frame is decoded now and its label anchors the timeline.
    if (r->receive()) {
        r->held_ = true;
        if (r->frame_->best_effort_timestamp != AV_NOPTS_VALUE)
            r->firstPts_ = r->frame_->best_effort_timestamp;
        // WMA's times are whole milliseconds, but its frames all start at a multiple of the
        // frame length: a frame is placed on the multiple within a millisecond of its time.
        r->tickFrames_ = av_rescale_q_rnd(1, st->time_base, perFrame, AV_ROUND_UP);
        if (isWma(st->codecpar->codec_id) && r->frame_->nb_samples > 2 * r->tickFrames_)
            r->grain_ = r->frame_->nb_samples;
    }
    return r;
}

int64_t MediaReader::maxFrames() const
{
    constexpr int64_t kPositionLimit = int64_t(1) << 45; // what a position word can carry
    if (fileBytes_ <= 0)
        return kPositionLimit;
    return std::min(kPositionLimit, av_rescale(fileBytes_, rate_, kMinBytesPerSecond));
}

MediaReader::~MediaReader()
{
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    swr_free(&swr_);
    avcodec_free_context(&codec_);
    avformat_close_input(&format_);
}

// WMA packets carry times in whole milliseconds, and the decoder gives one frame fewer than
// there are packets: only decoding the file counts its frames.
int64_t MediaReader::countDecoded(const std::string& path, const std::atomic<bool>& cancel)
{
    const std::unique_ptr<MediaReader> reader = open(path);
    if (!reader)
        return -1;
    int64_t frames = 0;
    std::vector<float> out;
    while (!cancel.load(std::memory_order_relaxed)) {
        out.clear();
        if (!reader->decode(out))
            return frames;
        frames += int64_t(out.size() / 2);
    }
    return -1;
}

int64_t MediaReader::scanFrames(const std::string& path, const std::atomic<bool>& cancel)
{
    AVFormatContext* fmt = nullptr;
    if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0)
        return -1;
    int64_t frames = -1;
    const int index = avformat_find_stream_info(fmt, nullptr) >= 0
                          ? av_find_best_stream(fmt, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0)
                          : -1;
    // An Ogg file's header only tells its last part's length: a chained one is counted by
    // decoding, one of a single part is already known.
    const bool ogg = index >= 0 && std::strcmp(fmt->iformat->name, "ogg") == 0;
    if (ogg || (index >= 0 && isWma(fmt->streams[index]->codecpar->codec_id))) {
        avformat_close_input(&fmt);
        return !ogg || nextOggStreamStart(path, 1) > 0 ? countDecoded(path, cancel) : -1;
    }
    if (index >= 0) {
        AVStream* st = fmt->streams[index];
        for (unsigned i = 0; i < fmt->nb_streams; ++i)
            if (int(i) != index)
                fmt->streams[i]->discard = AVDISCARD_ALL;
        AVPacket* pkt = av_packet_alloc();
        int64_t duration = 0;
        int64_t trimmed = 0; // samples the decoder drops: encoder delay and end padding
        bool cancelled = false;
        while (!(cancelled = cancel.load(std::memory_order_relaxed)) && av_read_frame(fmt, pkt) >= 0) {
            if (pkt->stream_index == index) {
                duration += pkt->duration;
                size_t size = 0;
                const uint8_t* skip = av_packet_get_side_data(pkt, AV_PKT_DATA_SKIP_SAMPLES, &size);
                if (skip && size >= 8)
                    trimmed += int64_t(AV_RL32(skip)) + int64_t(AV_RL32(skip + 4));
            }
            av_packet_unref(pkt);
        }
        av_packet_free(&pkt);
        if (!cancelled)
            frames = std::max<int64_t>(0, av_rescale_q(duration, st->time_base, {1, st->codecpar->sample_rate}) - trimmed);
    }
    avformat_close_input(&fmt);
    return frames;
}

bool MediaReader::seek(int64_t frame)
{
    if (partOffset_ > 0) { // back to the file's first part, where positions are timestamps
        if (!openDemuxer(path_))
            return false;
        partOffset_ = lastPacketAt_ = 0;
    }
    lastPts_ = INT64_MIN;
    AVStream* st = format_->streams[streamIndex_];
    const int64_t from = std::max<int64_t>(0, frame - prerollFrames_);
    const int64_t ts = startPts_ + av_rescale_q(from, {1, rate_}, st->time_base);
    if (av_seek_frame(format_, streamIndex_, frame == 0 ? std::min<int64_t>(ts, startPts_) : ts, AVSEEK_FLAG_BACKWARD)
        < 0)
        return false;
    avcodec_flush_buffers(codec_);
    av_frame_unref(frame_);
    held_ = false;
    swr_free(&swr_); // its buffered samples belong before the seek
    draining_ = false;
    dropBefore_ = frame;
    nextFrame_ = frame;
    return true;
}

// The next decoded frame into frame_; false at the end of the file.
bool MediaReader::receive()
{
    for (;;) {
        const int got = avcodec_receive_frame(codec_, frame_);
        if (got == 0)
            return true;
        if (got == AVERROR_EOF || draining_) {
            if (got == AVERROR_EOF && openNextPart())
                continue;
            return false;
        }
        const int read = av_read_frame(format_, packet_);
        if (read < 0) {
            draining_ = true;
            avcodec_send_packet(codec_, nullptr);
            continue;
        }
        if (packet_->stream_index == streamIndex_) {
            if (ogg_ && packet_->pts != AV_NOPTS_VALUE && packet_->pts < lastPts_ && packet_->pos >= 0
                && nextOggStreamStart(path_, lastPacketAt_ + 1, partOffset_ + packet_->pos) > 0) {
                // Timestamps start again after a new stream's first page: the next part of a
                // chained file, opened on its own.
                av_packet_unref(packet_);
                draining_ = true;
                avcodec_send_packet(codec_, nullptr);
                continue;
            }
            lastPts_ = packet_->pts != AV_NOPTS_VALUE ? packet_->pts : lastPts_;
            if (packet_->pos >= 0)
                lastPacketAt_ = partOffset_ + packet_->pos;
            avcodec_send_packet(codec_, packet_); // a corrupt packet is skipped, decoding goes on
        }
        av_packet_unref(packet_);
    }
}

// FFmpeg's Ogg reader follows a chained file (Ogg files joined, as recorded radio shows are
// stored) from its start, but after a seek it ends at the first part's end, and it does not
// trim the next part's first samples. So every part after the first is opened on its own
// where the one before ends, and its frames are counted on from there.
bool MediaReader::openNextPart()
{
    if (!ogg_)
        return false;
    for (int64_t at = nextOggStreamStart(path_, lastPacketAt_ + 1); at > 0; at = nextOggStreamStart(path_, at + 1)) {
        if (openDemuxer("subfile,,start," + std::to_string(at) + ",end,0,,:file:" + path_)) {
            partOffset_ = lastPacketAt_ = at;
            lastPts_ = INT64_MIN;
            draining_ = false;
            return true;
        }
    }
    return false;
}

bool MediaReader::decode(std::vector<float>& out)
{
    const size_t before = out.size();
    while (std::exchange(held_, false) || receive()) {
        const bool ok = convert(frame_, out);
        av_frame_unref(frame_);
        if (ok)
            return true;
    }
    flushConverter(out);
    return out.size() > before;
}

// Sets the converter up for the frame's own format, rate and layout when they differ from the
// last frame's (joined MP3s, chained Ogg): everything comes out as float at the stream's rate.
bool MediaReader::followFormat(AVFrame* frame)
{
    const int channels = frame->ch_layout.nb_channels;
    if (swr_ && frame->format == swrFormat_ && frame->sample_rate == swrRate_
        && std::min(channels, 2) == swrChannels_ && layoutMask(frame->ch_layout) == swrLayoutMask_)
        return true;
    swr_free(&swr_);
    if (!plausible(frame->sample_rate, channels))
        return false;
    AVChannelLayout outLayout;
    av_channel_layout_default(&outLayout, std::min(channels, 2));
    if (swr_alloc_set_opts2(&swr_, &outLayout, AV_SAMPLE_FMT_FLT, rate_, &frame->ch_layout,
                            AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr)
            < 0
        || swr_init(swr_) < 0) {
        swr_free(&swr_);
        return false;
    }
    swrFormat_ = frame->format;
    swrRate_ = frame->sample_rate;
    swrChannels_ = std::min(channels, 2);
    swrLayoutMask_ = layoutMask(frame->ch_layout);
    return true;
}

// Takes what the converter still holds: a rate conversion keeps a few samples back.
void MediaReader::flushConverter(std::vector<float>& out)
{
    if (!swr_ || swrRate_ == rate_)
        return;
    converted_.resize(size_t(swr_get_out_samples(swr_, 0) + 64) * 2);
    uint8_t* dst = reinterpret_cast<uint8_t*>(converted_.data());
    const int n = swr_convert(swr_, &dst, int(converted_.size() / 2), nullptr, 0);
    place(converted_.data(), n, AV_NOPTS_VALUE, out);
}

// Hands out `n` converted frames, leaving out those before a seek's target. After a seek the
// first frames are placed by their timestamp `pts` (in the file's first part), then counted on.
void MediaReader::place(const float* in, int n, int64_t pts, std::vector<float>& out)
{
    if (n <= 0)
        return;
    int first = 0;
    if (dropBefore_ >= 0) {
        if (pts != AV_NOPTS_VALUE && partOffset_ == 0) {
            nextFrame_ = av_rescale_q(pts - firstPts_, format_->streams[streamIndex_]->time_base, {1, rate_});
            const int64_t snapped = grain_ > 0 ? (nextFrame_ + grain_ / 2) / grain_ * grain_ : nextFrame_;
            if (std::abs(snapped - nextFrame_) <= tickFrames_)
                nextFrame_ = snapped;
        }
        if (nextFrame_ + n <= dropBefore_) {
            nextFrame_ += n;
            return;
        }
        first = int(std::max<int64_t>(0, dropBefore_ - nextFrame_));
        nextFrame_ += first;
        dropBefore_ = -1;
    }
    append(in + size_t(first) * size_t(swrChannels_), n - first, out);
}

void MediaReader::append(const float* in, int n, std::vector<float>& out)
{
    const size_t at = out.size();
    out.resize(at + size_t(n) * 2);
    float* o = out.data() + at;
    if (swrChannels_ == 1) {
        for (int i = 0; i < n; ++i) {
            *o++ = in[i];
            *o++ = in[i];
        }
    } else {
        std::copy(in, in + size_t(n) * 2, o);
    }
    // Mixing down more than two channels can add up past full scale.
    boundSamples(out.data() + at, size_t(n) * 2, kDecodedPeak);
    nextFrame_ += n;
}

// Converts one decoded frame and places it on the source timeline; false when nothing was handed out.
bool MediaReader::convert(AVFrame* frame, std::vector<float>& out)
{
    boundFloatFrame(frame);
    const size_t before = out.size();
    if (swr_ && (frame->format != swrFormat_ || frame->sample_rate != swrRate_))
        flushConverter(out);
    if (!followFormat(frame))
        return out.size() > before; // a frame no converter can take is skipped
    const int room = swr_get_out_samples(swr_, frame->nb_samples) + 16;
    converted_.resize(size_t(std::max(room, 0)) * 2 + 64);
    uint8_t* dst = reinterpret_cast<uint8_t*>(converted_.data());
    const int n = swr_convert(swr_, &dst, room, const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
    place(converted_.data(), n, frame->best_effort_timestamp, out);
    return out.size() > before;
}

} // namespace audio
