#include "platform/editing/media_file.h"

#include "platform/core/thread_priority.h"

extern "C" {
#include <libavutil/imgutils.h>
}

#include <algorithm>
#include <limits>
#include <vector>

namespace editing {

namespace {

// The row lengths the MPEG-family encoders give their own pictures of this width (16-pixel
// edges each side, rows aligned as the library aligns them, the next power-of-two step until
// every plane's is): such an encoder takes a picture laid out so as it is and copies any
// other. False when no such layout holds the decoder's own rows.
bool EncoderRows(AVCodecContext* codec, int linesize[4], int rows[3]) {
    int width = codec->width;
    int height = codec->height;
    int align[AV_NUM_DATA_POINTERS];
    avcodec_align_dimensions2(codec, &width, &height, align);
    rows[0] = height;
    rows[1] = rows[2] = (height + 1) / 2;
    constexpr int kEdges = 2 * 16;
    int stride = FFALIGN(codec->width + kEdges, 16);
    for (int tries = 0; tries < 8; stride += stride & ~(stride - 1), ++tries) {
        if (av_image_fill_linesizes(linesize, AV_PIX_FMT_YUV420P, stride) < 0)
            return false;
        if (linesize[0] % align[0] == 0 && linesize[1] % align[1] == 0 &&
            linesize[2] % align[2] == 0)
            return linesize[0] >= width;
    }
    return false;
}

} // namespace

void MediaFile::LayOutForEncoders() {
    if (codec_->pix_fmt != AV_PIX_FMT_YUV420P || !EncoderRows(codec_.get(), linesize_, rows_))
        return;
    // Room for the decoder's reads past the last row, as the library's own buffers have.
    std::size_t size = 16 + 64;
    for (int i = 0; i < 3; ++i)
        size += static_cast<std::size_t>(linesize_[i]) * rows_[i];
    pool_.reset(av_buffer_pool_init(size, nullptr));
    if (!pool_)
        return;
    codec_->opaque = this;
    codec_->get_buffer2 = &MediaFile::EncoderShapedBuffer;
#if LIBAVCODEC_VERSION_MAJOR < 60
    // Without this mark the library of this generation hands every buffer request of its
    // frame threads to the thread that feeds the decoder, one at a time; later ones assume it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    codec_->thread_safe_callbacks = 1;
#pragma GCC diagnostic pop
#endif
}

int MediaFile::EncoderShapedBuffer(AVCodecContext* codec, AVFrame* frame, int flags) {
    // Called on the decoder's threads: the layout is fixed before decoding starts and the
    // pool hands out buffers to any thread.
    const auto* file = static_cast<const MediaFile*>(codec->opaque);
    int width = frame->width;
    int height = frame->height;
    int align[AV_NUM_DATA_POINTERS];
    avcodec_align_dimensions2(codec, &width, &height, align);
    // A picture that outgrew the layout (the stream changed size) gets the library's buffer.
    if (frame->format != AV_PIX_FMT_YUV420P || width > file->linesize_[0] ||
        height > file->rows_[0])
        return avcodec_default_get_buffer2(codec, frame, flags);
    AVBufferRef* buffer = av_buffer_pool_get(file->pool_.get());
    if (!buffer)
        return AVERROR(ENOMEM);
    frame->buf[0] = buffer;
    std::uint8_t* at = buffer->data;
    for (int i = 0; i < 3; ++i) {
        frame->data[i] = at;
        frame->linesize[i] = file->linesize_[i];
        at += static_cast<std::size_t>(file->linesize_[i]) * file->rows_[i];
    }
    frame->extended_data = frame->data;
    return 0;
}

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
    if (type == AVMEDIA_TYPE_VIDEO && (decoder->capabilities & AV_CODEC_CAP_DR1))
        LayOutForEncoders();
    // The library starts its decoding threads as it opens the decoder, unnamed: they are the
    // new threads that bear this thread's name. A thread another one started meanwhile bears
    // that one's name or its own, and keeps its priority.
    const std::vector<int> before = core::ThreadIds();
    if (avcodec_open2(codec_.get(), decoder, nullptr) < 0)
        return VFW_E_UNSUPPORTED_STREAM;
    decoderThreads_.clear();
    const std::string opener = core::ThreadName();
    for (const int thread : core::ThreadIds()) {
        if (std::find(before.begin(), before.end(), thread) == before.end() &&
            core::ThreadName(thread) == opener)
            decoderThreads_.push_back(thread);
    }
    // Only this stream is read.
    for (unsigned i = 0; i < format_->nb_streams; ++i)
        format_->streams[i]->discard = static_cast<int>(i) == stream_ ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    if (format_->start_time != AV_NOPTS_VALUE)
        fileStart_ = graph::ToRefTime(format_->start_time, AV_TIME_BASE_Q);
    packet_.reset(av_packet_alloc());
    openedSize_ = avio_size(format_->pb);
    return S_OK;
}

void MediaFile::DecodeInBackground() const {
    for (const int thread : decoderThreads_)
        core::RunInBackground(thread);
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

std::vector<std::int64_t> MediaFile::ShowingTimes(int frames) {
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
    return times;
}

double MediaFile::ShortestFrameSpacing() {
    const std::vector<std::int64_t> times = ShowingTimes(std::numeric_limits<int>::max());
    std::int64_t shortest = 0;
    for (std::size_t i = 1; i < times.size(); ++i) {
        const std::int64_t spacing = times[i] - times[i - 1];
        if (spacing > 0 && (shortest == 0 || spacing < shortest))
            shortest = spacing;
    }
    return shortest * av_q2d(Stream()->time_base);
}

bool MediaFile::FrameTimesVary(int frames) {
    const std::vector<std::int64_t> times = ShowingTimes(frames);
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
