#include "platform/graph/writing/stream_encoder.h"

#include "platform/graph/writing/filter_options.h"

#include <cstdlib>

namespace graph {

namespace {

// The codec's pixel format: 4:2:0 when it takes it (what players expect), else the one that
// keeps most of the input's.
AVPixelFormat ChoosePixelFormat(const AVCodec* codec, int input) {
    if (!codec->pix_fmts)
        return AV_PIX_FMT_YUV420P;
    for (const AVPixelFormat* f = codec->pix_fmts; *f != AV_PIX_FMT_NONE; ++f) {
        if (*f == AV_PIX_FMT_YUV420P)
            return *f;
    }
    return avcodec_find_best_pix_fmt_of_list(codec->pix_fmts, static_cast<AVPixelFormat>(input), 0,
                                             nullptr);
}

AVSampleFormat ChooseSampleFormat(const AVCodec* codec, int input) {
    if (!codec->sample_fmts)
        return static_cast<AVSampleFormat>(input);
    for (const AVSampleFormat* f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f) {
        if (*f == input)
            return *f;
    }
    return codec->sample_fmts[0];
}

// The rate itself when the codec takes it, else the nearest it takes.
int ChooseSampleRate(const AVCodec* codec, int rate) {
    if (!codec->supported_samplerates)
        return rate;
    int best = codec->supported_samplerates[0];
    for (const int* r = codec->supported_samplerates; *r; ++r) {
        if (std::abs(*r - rate) < std::abs(best - rate))
            best = *r;
    }
    return best;
}

// The usual layout of that many channels when the codec takes it, else one of its own with
// as many channels, else its first.
void ChooseLayout(const AVCodec* codec, int channels, AVChannelLayout* layout) {
    av_channel_layout_default(layout, channels);
    if (!codec->ch_layouts)
        return;
    const AVChannelLayout* sameCount = nullptr;
    for (const AVChannelLayout* l = codec->ch_layouts; l->nb_channels; ++l) {
        if (av_channel_layout_compare(l, layout) == 0)
            return;
        if (!sameCount && l->nb_channels == channels)
            sameCount = l;
    }
    av_channel_layout_uninit(layout);
    av_channel_layout_copy(layout, sameCount ? sameCount : &codec->ch_layouts[0]);
}

void SetUpPicture(const EncoderSetup& setup, const AVCodecParameters* in, REFERENCE_TIME duration,
                  AVCodecContext* codec) {
    codec->width = setup.width > 0 ? setup.width : in->width;
    codec->height = setup.height > 0 ? setup.height : std::abs(in->height);
    codec->pix_fmt = setup.pixelFormat != AV_PIX_FMT_NONE
                         ? setup.pixelFormat
                         : ChoosePixelFormat(setup.codec, in->format);
    codec->sample_aspect_ratio = {1, 1};
    codec->time_base = setup.timeBase.num > 0 ? setup.timeBase : FrameTimeBase(duration);
    if (duration > 0)
        codec->framerate = av_inv_q(FrameTimeBase(duration));
    if (setup.keyFrameInterval > 0)
        codec->gop_size = setup.keyFrameInterval;
    if (setup.maxQuantizer > 0)
        codec->qmax = setup.maxQuantizer;
}

void SetUpSound(const EncoderSetup& setup, const AVCodecParameters* in, AVCodecContext* codec) {
    codec->sample_rate =
        ChooseSampleRate(setup.codec, setup.sampleRate > 0 ? setup.sampleRate : in->sample_rate);
    ChooseLayout(setup.codec, setup.channels > 0 ? setup.channels : in->ch_layout.nb_channels,
                 &codec->ch_layout);
    codec->sample_fmt = ChooseSampleFormat(setup.codec, in->format);
    codec->time_base = {1, codec->sample_rate};
}

} // namespace

HRESULT StreamEncoder::Open(const EncoderSetup& setup, const MediaType& input,
                            std::unique_ptr<StreamEncoder>* out) {
    const AVCodecParameters* in = input.Parameters();
    if (!out || !setup.codec || !in)
        return E_POINTER;
    const MajorType major = setup.codec->type == AVMEDIA_TYPE_VIDEO   ? MajorType::Video
                            : setup.codec->type == AVMEDIA_TYPE_AUDIO ? MajorType::Audio
                                                                      : MajorType::Other;
    if (major == MajorType::Other || major != input.Major())
        return VFW_E_TYPE_NOT_ACCEPTED;
    CodecContextPtr codec(avcodec_alloc_context3(setup.codec));
    if (!codec)
        return E_OUTOFMEMORY;
    if (setup.options) {
        const HRESULT hr = setup.options->CopyTo(codec.get());
        if (FAILED(hr))
            return hr;
    }
    const REFERENCE_TIME duration =
        setup.frameDuration > 0 ? setup.frameDuration : input.AvgTimePerFrame();
    if (major == MajorType::Video)
        SetUpPicture(setup, in, duration, codec.get());
    else
        SetUpSound(setup, in, codec.get());
    if (setup.bitRate > 0)
        codec->bit_rate = setup.bitRate;
    if (setup.globalHeader)
        codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (setup.showingOrder && major == MajorType::Video)
        codec->max_b_frames = 0;
    // Every core, unless the settings ask for a number of threads.
    if (codec->thread_count == 1)
        codec->thread_count = 0;
    const int error = avcodec_open2(codec.get(), setup.codec, nullptr);
    if (error < 0) {
        // The context has forgotten its codec by now: the name is given here.
        av_log(nullptr, AV_LOG_ERROR, "%s: %s\n", setup.codec->name, AvErrorText(error).c_str());
        return error == AVERROR(ENOMEM) ? E_OUTOFMEMORY : VFW_E_TYPE_NOT_ACCEPTED;
    }
    std::unique_ptr<StreamEncoder> encoder(
        new StreamEncoder(std::move(codec), major, duration, setup.silentLeadIn));
    if (!encoder->outputType_.Parameters())
        return E_OUTOFMEMORY;
    *out = std::move(encoder);
    return S_OK;
}

StreamEncoder::StreamEncoder(CodecContextPtr codec, MajorType major, REFERENCE_TIME frameDuration,
                             bool silentLeadIn)
    : codec_(std::move(codec)), major_(major), frameDuration_(frameDuration),
      silentLeadIn_(silentLeadIn && codec_->frame_size > 0) {
    AVCodecParameters* parameters = avcodec_parameters_alloc();
    if (parameters && avcodec_parameters_from_context(parameters, codec_.get()) >= 0)
        outputType_ = MediaType(major_, parameters, codec_->time_base, frameDuration_);
    avcodec_parameters_free(&parameters);
    if (major_ == MajorType::Video) {
        picture_.emplace(codec_->width, codec_->height, codec_->pix_fmt);
    } else {
        const bool anySize = codec_->frame_size <= 0 ||
                             (codec_->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
        sound_.emplace(codec_->ch_layout, codec_->sample_fmt, codec_->sample_rate,
                       anySize ? 0 : codec_->frame_size);
    }
}

HRESULT StreamEncoder::Encode(const MediaSample& sample, const PacketSink& sink) {
    if (!sample.frame)
        return E_POINTER;
    if (major_ == MajorType::Audio)
        return EncodeSound(sample.frame.get(), sample.start, sink);
    FramePtr picture = picture_->Convert(sample.frame.get());
    if (!picture)
        return E_OUTOFMEMORY;
    std::int64_t pts = av_rescale_q_rnd(sample.start, kRefTimeBase, codec_->time_base,
                                        static_cast<AVRounding>(AV_ROUND_NEAR_INF));
    // Pictures closer together than the time base can tell apart still follow each other.
    if (lastPicture_ != AV_NOPTS_VALUE && pts <= lastPicture_)
        pts = lastPicture_ + 1;
    lastPicture_ = pts;
    picture->pts = pts;
    return Send(picture.get(), sink);
}

HRESULT StreamEncoder::EncodeSound(const AVFrame* frame, REFERENCE_TIME start,
                                   const PacketSink& sink) {
    // Sound is stamped by counting samples from the first one: its own time stamps are
    // rounded, a count is not.
    HRESULT hr = S_OK;
    if (nextSample_ == AV_NOPTS_VALUE) {
        nextSample_ = av_rescale_q_rnd(start, kRefTimeBase, codec_->time_base,
                                       static_cast<AVRounding>(AV_ROUND_NEAR_INF));
        if (silentLeadIn_)
            hr = SendSilence(codec_->frame_size, sink);
    }
    if (SUCCEEDED(hr))
        hr = sound_->Add(frame);
    while (SUCCEEDED(hr)) {
        FramePtr part = sound_->Next(false);
        if (!part)
            break;
        part->pts = nextSample_;
        nextSample_ += part->nb_samples;
        hr = Send(part.get(), sink);
    }
    return hr;
}

HRESULT StreamEncoder::SendSilence(int samples, const PacketSink& sink) {
    FramePtr silence(av_frame_alloc());
    if (!silence)
        return E_OUTOFMEMORY;
    silence->format = codec_->sample_fmt;
    silence->sample_rate = codec_->sample_rate;
    av_channel_layout_copy(&silence->ch_layout, &codec_->ch_layout);
    silence->nb_samples = samples;
    if (av_frame_get_buffer(silence.get(), 0) < 0)
        return E_OUTOFMEMORY;
    av_samples_set_silence(silence->extended_data, 0, samples, codec_->ch_layout.nb_channels,
                           codec_->sample_fmt);
    silence->pts = nextSample_ - samples;
    return Send(silence.get(), sink);
}

HRESULT StreamEncoder::Finish(const PacketSink& sink) {
    HRESULT hr = S_OK;
    if (sound_ && nextSample_ != AV_NOPTS_VALUE) {
        hr = sound_->Drain();
        while (SUCCEEDED(hr)) {
            FramePtr part = sound_->Next(true);
            if (!part)
                break;
            part->pts = nextSample_;
            nextSample_ += part->nb_samples;
            hr = Send(part.get(), sink);
        }
    }
    return SUCCEEDED(hr) ? Send(nullptr, sink) : hr;
}

HRESULT StreamEncoder::Send(AVFrame* frame, const PacketSink& sink) {
    int error = avcodec_send_frame(codec_.get(), frame);
    if (error == AVERROR(EAGAIN)) {
        const HRESULT hr = Drain(sink);
        if (FAILED(hr))
            return hr;
        error = avcodec_send_frame(codec_.get(), frame);
    }
    if (error < 0 && error != AVERROR_EOF) {
        av_log(codec_.get(), AV_LOG_ERROR, "%s\n", AvErrorText(error).c_str());
        return StatusFromAv(error);
    }
    return Drain(sink);
}

HRESULT StreamEncoder::Drain(const PacketSink& sink) {
    for (;;) {
        PacketPtr packet(av_packet_alloc());
        if (!packet)
            return E_OUTOFMEMORY;
        const int error = avcodec_receive_packet(codec_.get(), packet.get());
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF)
            return S_OK;
        if (error < 0)
            return StatusFromAv(error);
        packet->time_base = codec_->time_base;
        if (packet->duration <= 0 && major_ == MajorType::Video && frameDuration_ > 0)
            packet->duration = av_rescale_q(frameDuration_, kRefTimeBase, codec_->time_base);
        MediaSample sample;
        const std::int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        sample.start = ToRefTime(ts, codec_->time_base);
        sample.stop = sample.start + ToRefTime(packet->duration, codec_->time_base);
        sample.packet = std::move(packet);
        const HRESULT hr = sink(std::move(sample));
        if (FAILED(hr))
            return hr;
    }
}

} // namespace graph
