#include "platform/editing/media_file.h"

#include <algorithm>
#include <vector>

namespace editing {

HRESULT MediaFile::Open(const std::string& path, AVMediaType type) {
    AVFormatContext* raw = nullptr;
    int error = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
    if (error < 0)
        return graph::StatusFromAv(error);
    format_.reset(raw);
    error = avformat_find_stream_info(format_.get(), nullptr);
    if (error < 0)
        return graph::StatusFromAv(error);
    const AVCodec* decoder = nullptr;
    stream_ = av_find_best_stream(format_.get(), type, -1, -1, &decoder, 0);
    if (stream_ == AVERROR_STREAM_NOT_FOUND)
        return VFW_E_NOT_FOUND;
    if (stream_ < 0 || !decoder)
        return VFW_E_UNSUPPORTED_STREAM;
    codec_.reset(avcodec_alloc_context3(decoder));
    if (!codec_)
        return E_OUTOFMEMORY;
    avcodec_parameters_to_context(codec_.get(), format_->streams[stream_]->codecpar);
    codec_->pkt_timebase = format_->streams[stream_]->time_base;
    codec_->thread_count = 0;
    if (avcodec_open2(codec_.get(), decoder, nullptr) < 0)
        return VFW_E_UNSUPPORTED_STREAM;
    // Only this stream is read.
    for (unsigned i = 0; i < format_->nb_streams; ++i)
        format_->streams[i]->discard = static_cast<int>(i) == stream_ ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    if (format_->start_time != AV_NOPTS_VALUE)
        fileStart_ = graph::ToRefTime(format_->start_time, AV_TIME_BASE_Q);
    packet_.reset(av_packet_alloc());
    openedSize_ = avio_size(format_->pb);
    return S_OK;
}

bool MediaFile::Decode(AVFrame* frame) {
    for (;;) {
        const int received = avcodec_receive_frame(codec_.get(), frame);
        if (received == 0)
            return true;
        if (received != AVERROR(EAGAIN) || draining_)
            return false;
        const int read = av_read_frame(format_.get(), packet_.get());
        if (read < 0) {
            // A file shorter now than when it was opened ended where it was cut, not where
            // its media does.
            const std::int64_t size = avio_size(format_->pb);
            if (size >= 0 && size < openedSize_)
                failure_ = E_FILE_INVALID;
            draining_ = true;
            avcodec_send_packet(codec_.get(), nullptr);
            continue;
        }
        if (packet_->stream_index == stream_)
            avcodec_send_packet(codec_.get(), packet_.get());
        av_packet_unref(packet_.get());
    }
}

void MediaFile::SeekBefore(REFERENCE_TIME t) {
    const AVRational base = format_->streams[stream_]->time_base;
    const std::int64_t ts = graph::FromRefTime(std::max<REFERENCE_TIME>(t, 0) + fileStart_, base);
    if (av_seek_frame(format_.get(), stream_, ts, AVSEEK_FLAG_BACKWARD) < 0)
        av_seek_frame(format_.get(), stream_, 0, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY);
    avcodec_flush_buffers(codec_.get());
    draining_ = false;
}

REFERENCE_TIME MediaFile::StartOf(const AVFrame* frame) const {
    const std::int64_t ts = frame->best_effort_timestamp != AV_NOPTS_VALUE ? frame->best_effort_timestamp
                                                                           : frame->pts;
    if (ts == AV_NOPTS_VALUE)
        return AV_NOPTS_VALUE;
    return graph::ToRefTime(ts, format_->streams[stream_]->time_base) - fileStart_;
}

bool MediaFile::FrameTimesVary(int frames) {
    std::vector<std::int64_t> times;
    while (static_cast<int>(times.size()) < frames &&
           av_read_frame(format_.get(), packet_.get()) >= 0) {
        const std::int64_t t = packet_->pts != AV_NOPTS_VALUE ? packet_->pts : packet_->dts;
        if (packet_->stream_index == stream_ && t != AV_NOPTS_VALUE)
            times.push_back(t);
        av_packet_unref(packet_.get());
    }
    SeekBefore(0);
    // Pictures are stored in decoding order; their spacing is that of their showing times.
    std::sort(times.begin(), times.end());
    std::vector<std::int64_t> spacing;
    for (std::size_t i = 1; i < times.size(); ++i)
        spacing.push_back(times[i] - times[i - 1]);
    if (spacing.size() < 2)
        return false;
    std::vector<std::int64_t> ordered = spacing;
    std::nth_element(ordered.begin(), ordered.begin() + ordered.size() / 2, ordered.end());
    const std::int64_t usual = ordered[ordered.size() / 2];
    // A rate the time base cannot hold (29.97 in milliseconds) alternates by one tick.
    const std::int64_t allowed = std::max<std::int64_t>(1, usual / 50);
    return std::any_of(spacing.begin(), spacing.end(),
                       [&](std::int64_t d) { return std::abs(d - usual) > allowed; });
}

} // namespace editing
