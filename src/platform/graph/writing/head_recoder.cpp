#include "platform/graph/writing/head_recoder.h"

#include "platform/graph/writing/nal_units.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace graph {

namespace {

// Frames of a stream without a steady rate are timed at 25 a second.
constexpr REFERENCE_TIME kFallbackFrameTime = UNITS / 25;

} // namespace

bool HeadRecoder::CanRecode(AVCodecID codec) {
    switch (codec) {
    case AV_CODEC_ID_H264:
    case AV_CODEC_ID_HEVC:
    case AV_CODEC_ID_MPEG4:
    case AV_CODEC_ID_MPEG2VIDEO:
    case AV_CODEC_ID_MPEG1VIDEO:
        return avcodec_find_encoder(codec) != nullptr;
    default:
        return false;
    }
}

HRESULT HeadRecoder::Create(const MediaType& stream, REFERENCE_TIME from,
                            std::unique_ptr<HeadRecoder>* out) {
    const AVCodecParameters* p = stream.Parameters();
    if (!p || !CanRecode(p->codec_id))
        return VFW_E_UNSUPPORTED_STREAM;
    const AVCodec* decoding = avcodec_find_decoder(p->codec_id);
    if (!decoding)
        return VFW_E_UNSUPPORTED_STREAM;
    CodecContextPtr decoder(avcodec_alloc_context3(decoding));
    if (!decoder)
        return E_OUTOFMEMORY;
    int error = avcodec_parameters_to_context(decoder.get(), p);
    decoder->pkt_timebase = kRefTimeBase;
    if (error >= 0)
        error = avcodec_open2(decoder.get(), decoding, nullptr);
    if (error < 0)
        return StatusFromAv(error);
    const REFERENCE_TIME frame =
        stream.AvgTimePerFrame() > 0 ? stream.AvgTimePerFrame() : kFallbackFrameTime;
    out->reset(new HeadRecoder(std::move(decoder), avcodec_find_encoder(p->codec_id), from, frame,
                               UnitLengthSize(p)));
    return S_OK;
}

HeadRecoder::HeadRecoder(CodecContextPtr decoder, const AVCodec* encoder, REFERENCE_TIME from,
                         REFERENCE_TIME frameTime, int lengthSize)
    : decoder_(std::move(decoder)), encoderCodec_(encoder), from_(from), frameTime_(frameTime),
      lengthSize_(lengthSize) {}

HRESULT HeadRecoder::Decode(const AVPacket& packet) {
    PacketPtr copy(av_packet_clone(&packet));
    if (!copy)
        return E_OUTOFMEMORY;
    copy->time_base = kRefTimeBase;
    int error = avcodec_send_packet(decoder_.get(), copy.get());
    // A damaged packet costs its frame, not the conversion.
    if (error < 0 && error != AVERROR_INVALIDDATA)
        return StatusFromAv(error);
    return TakeDecoded();
}

HRESULT HeadRecoder::TakeDecoded() {
    FramePtr frame(av_frame_alloc());
    for (;;) {
        const int error = avcodec_receive_frame(decoder_.get(), frame.get());
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF)
            return S_OK;
        if (error < 0)
            return StatusFromAv(error);
        const REFERENCE_TIME shown = frame->best_effort_timestamp;
        if (shown != AV_NOPTS_VALUE && shown >= from_ && shown < until_) {
            const HRESULT hr = Code(frame.get());
            if (FAILED(hr))
                return hr;
        }
        av_frame_unref(frame.get());
    }
}

HRESULT HeadRecoder::OpenEncoder(const AVFrame& frame) {
    CodecContextPtr encoder(avcodec_alloc_context3(encoderCodec_));
    if (!encoder)
        return E_OUTOFMEMORY;
    encoder->width = frame.width;
    encoder->height = frame.height;
    encoder->pix_fmt = static_cast<AVPixelFormat>(frame.format);
    encoder->sample_aspect_ratio = frame.sample_aspect_ratio;
    encoder->color_range = frame.color_range;
    encoder->color_primaries = frame.color_primaries;
    encoder->color_trc = frame.color_trc;
    encoder->colorspace = frame.colorspace;
    encoder->time_base = FrameTimeBase(frameTime_);
    encoder->framerate = av_inv_q(encoder->time_base);
    // Frames in showing order, one key frame at the start: nothing to reorder.
    encoder->max_b_frames = 0;
    encoder->gop_size = 1 << 16;
    AVDictionary* settings = nullptr;
    if (encoderCodec_->id == AV_CODEC_ID_H264) {
        av_dict_set(&settings, "qp", "1", 0);
        av_dict_set(&settings, "preset", "veryfast", 0);
    } else if (encoderCodec_->id == AV_CODEC_ID_HEVC) {
        av_dict_set(&settings, "x265-params", "qp=1", 0);
        av_dict_set(&settings, "preset", "veryfast", 0);
    } else {
        encoder->flags |= AV_CODEC_FLAG_QSCALE;
        encoder->global_quality = FF_QP2LAMBDA;
        encoder->qmin = 1;
    }
    const int error = avcodec_open2(encoder.get(), encoderCodec_, &settings);
    av_dict_free(&settings);
    if (error < 0)
        return StatusFromAv(error);
    encoder_ = std::move(encoder);
    return S_OK;
}

HRESULT HeadRecoder::Code(AVFrame* frame) {
    if (!encoder_) {
        const HRESULT hr = OpenEncoder(*frame);
        if (FAILED(hr))
            return hr;
    }
    // The encoder is given the frames by number, at the stream's average rate, and each
    // packet takes back its frame's own time: the frames may be spaced unevenly (a phone's),
    // and on the rate's ticks they would move.
    frame->pts = static_cast<std::int64_t>(shown_.size());
    shown_.push_back(frame->best_effort_timestamp - from_);
    frame->pict_type = AV_PICTURE_TYPE_NONE;
    const int error = avcodec_send_frame(encoder_.get(), frame);
    if (error < 0)
        return StatusFromAv(error);
    return Drain();
}

HRESULT HeadRecoder::Drain() {
    for (;;) {
        PacketPtr packet(av_packet_alloc());
        const int error = avcodec_receive_packet(encoder_.get(), packet.get());
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF)
            return S_OK;
        if (error < 0)
            return StatusFromAv(error);
        if (packet->pts < 0 || packet->pts >= static_cast<std::int64_t>(shown_.size()))
            return E_UNEXPECTED;
        if (lengthSize_ > 0) {
            const std::vector<std::uint8_t> units =
                StartCodesToLengths(packet->data, packet->size, lengthSize_);
            PacketPtr rewritten(av_packet_alloc());
            if (av_new_packet(rewritten.get(), static_cast<int>(units.size())) < 0)
                return E_OUTOFMEMORY;
            std::copy(units.begin(), units.end(), rewritten->data);
            av_packet_copy_props(rewritten.get(), packet.get());
            packet = std::move(rewritten);
        }
        coded_.push_back(std::move(packet));
    }
}

HRESULT HeadRecoder::Finish(REFERENCE_TIME lead, std::vector<MediaSample>* out) {
    avcodec_send_packet(decoder_.get(), nullptr);
    HRESULT hr = TakeDecoded();
    if (SUCCEEDED(hr) && encoder_) {
        avcodec_send_frame(encoder_.get(), nullptr);
        hr = Drain();
    }
    if (FAILED(hr))
        return hr;
    // One packet a frame, in showing order; each lasts until the next frame, the last until
    // the limit.
    for (PacketPtr& packet : coded_) {
        const auto number = static_cast<std::size_t>(packet->pts);
        MediaSample sample;
        sample.start = shown_[number];
        sample.stop = number + 1 < shown_.size() ? shown_[number + 1] : until_ - from_;
        packet->pts = sample.start;
        packet->dts = sample.start - lead;
        packet->duration = sample.stop - sample.start;
        packet->time_base = kRefTimeBase;
        sample.packet = std::move(packet);
        out->push_back(std::move(sample));
    }
    coded_.clear();
    return S_OK;
}

} // namespace graph
