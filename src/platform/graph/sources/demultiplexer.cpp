#include "platform/graph/sources/demultiplexer.h"

#include "platform/graph/event_queue.h"
#include "platform/graph/sources/file_source.h"
#include "platform/graph/sources/stream_length.h"

#include <chrono>

namespace graph {

namespace {

// Media is read from a little before a seek target, so that sound interleaved behind the
// picture's key frame still covers the target.
constexpr REFERENCE_TIME kSeekMargin = UNITS / 2;

// How long the reader sleeps when every consumer is full, before asking again.
constexpr auto kFullWait = std::chrono::milliseconds(5);

const char* PinName(MajorType major) {
    switch (major) {
    case MajorType::Video:
        return "Video";
    case MajorType::Audio:
        return "Audio";
    default:
        return "Stream";
    }
}

REFERENCE_TIME AverageFrameTime(const AVStream* stream) {
    AVRational rate = stream->avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        rate = stream->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        return 0;
    return av_rescale(UNITS, rate.den, rate.num);
}

// Whether the stream's parameters are complete enough to decode or pass on.
bool Usable(const AVCodecParameters* p) {
    switch (p->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
        return p->codec_id != AV_CODEC_ID_NONE && p->width > 0 && p->height > 0;
    case AVMEDIA_TYPE_AUDIO:
        return p->codec_id != AV_CODEC_ID_NONE && p->sample_rate > 0 &&
               p->ch_layout.nb_channels > 0;
    default:
        return true;
    }
}

} // namespace

Demultiplexer::Demultiplexer() : BaseFilter("Demultiplexer") {
    AddPin(PinDirection::Input, "Input", MediaType(MajorType::Stream));
}

Demultiplexer::~Demultiplexer() {
    StopReading();
}

HRESULT Demultiplexer::CompleteConnect(Pin& pin, Pin& peer) {
    if (pin.Direction() != PinDirection::Input)
        return S_OK;
    auto* source = dynamic_cast<FileSource*>(peer.Filter());
    if (!source || format_)
        return VFW_E_TYPE_NOT_ACCEPTED;

    AVFormatContext* raw = avformat_alloc_context();
    if (!raw)
        return E_OUTOFMEMORY;
    raw->pb = source->Io();
    raw->flags |= AVFMT_FLAG_CUSTOM_IO;
    int error = avformat_open_input(&raw, source->Path().c_str(), nullptr, nullptr);
    if (error < 0)
        return error == AVERROR_INVALIDDATA ? VFW_E_UNKNOWN_FILE_TYPE : StatusFromAv(error);
    FormatContextPtr format(raw);
    error = avformat_find_stream_info(format.get(), nullptr);
    if (error < 0)
        return StatusFromAv(error);

    bool anyMedia = false;
    streamPins_.assign(format->nb_streams, nullptr);
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* stream = format->streams[i];
        if (!Usable(stream->codecpar))
            continue;
        const MajorType major = MajorTypeOf(stream->codecpar);
        anyMedia |= major == MajorType::Video || major == MajorType::Audio;
        const REFERENCE_TIME frameTime = major == MajorType::Video ? AverageFrameTime(stream) : 0;
        streamPins_[i] = AddPin(PinDirection::Output, PinName(major),
                                MediaType(major, stream->codecpar, kRefTimeBase, frameTime));
    }
    if (!anyMedia) {
        streamPins_.clear();
        return VFW_E_INVALID_FILE_FORMAT;
    }
    duration_ = MeasureStreams(format.get()).fileLength;
    // Streams whose packets give no time at all (an index that points nowhere) hold nothing
    // that plays, however well their header reads.
    if (duration_ <= 0) {
        streamPins_.clear();
        return VFW_E_INVALID_FILE_FORMAT;
    }
    format_ = std::move(format);
    return S_OK;
}

HRESULT Demultiplexer::Pause() {
    if (State() == FilterState::Stopped && format_) {
        // A branch taken out of the graph is not even read.
        for (unsigned i = 0; i < streamPins_.size(); ++i) {
            const bool wanted = streamPins_[i] && streamPins_[i]->IsConnected();
            format_->streams[i]->discard = wanted ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
        }
        if (!positioned_)
            SeekTo(segmentStart_);
        for (Pin* pin : streamPins_) {
            if (pin)
                pin->DeliverNewSegment(segmentStart_);
        }
        StartReading();
    }
    return BaseFilter::Pause();
}

HRESULT Demultiplexer::Stop() {
    StopReading();
    // The next start plays the current segment again from its beginning.
    positioned_ = false;
    return BaseFilter::Stop();
}

HRESULT Demultiplexer::SeekTo(REFERENCE_TIME target) {
    if (!format_)
        return E_UNEXPECTED;
    const bool streaming = reader_.joinable();
    if (streaming) {
        {
            std::lock_guard lock(mutex_);
            stopReading_ = true;
            wake_.notify_all();
        }
        for (Pin* pin : streamPins_) {
            if (pin)
                pin->DeliverBeginFlush();
        }
        StopReading();
    }
    const std::int64_t ts = av_rescale_q(std::max<REFERENCE_TIME>(target - kSeekMargin, 0),
                                         kRefTimeBase, AV_TIME_BASE_Q) +
                            MediaStart(format_.get());
    int error = av_seek_frame(format_.get(), -1, ts, AVSEEK_FLAG_BACKWARD);
    if (error < 0)
        error = avformat_seek_file(format_.get(), -1, INT64_MIN, ts, ts, 0);
    segmentStart_ = target;
    positioned_ = true;
    if (streaming) {
        for (Pin* pin : streamPins_) {
            if (pin) {
                pin->DeliverEndFlush();
                pin->DeliverNewSegment(target);
            }
        }
        StartReading();
    }
    return error < 0 ? StatusFromAv(error) : S_OK;
}

void Demultiplexer::StartReading() {
    {
        std::lock_guard lock(mutex_);
        stopReading_ = false;
    }
    positioned_ = false;
    reader_ = std::thread([this] { ReadLoop(); });
}

void Demultiplexer::StopReading() {
    if (!reader_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stopReading_ = true;
        wake_.notify_all();
    }
    reader_.join();
}

bool Demultiplexer::ConsumersWantMore() const {
    for (const Pin* pin : streamPins_) {
        if (pin && pin->IsConnected() &&
            pin->ConnectedTo()->Filter()->WantsMore(*pin->ConnectedTo()))
            return true;
    }
    return false;
}

void Demultiplexer::ReadLoop() {
    PacketPtr packet(av_packet_alloc());
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            if (stopReading_)
                return;
            if (!ConsumersWantMore()) {
                wake_.wait_for(lock, kFullWait);
                continue;
            }
        }
        const int error = av_read_frame(format_.get(), packet.get());
        if (error < 0) {
            // The streams end where the file can no longer be read; what was read still plays.
            if (error != AVERROR_EOF) {
                av_log(nullptr, AV_LOG_ERROR, "Demultiplexer: %s\n", AvErrorText(error).c_str());
                NotifyEvent(EC_ERRORABORT, StatusFromAv(error), 0);
            }
            break;
        }
        DeliverPacket(packet.get());
        av_packet_unref(packet.get());
    }
    for (Pin* pin : streamPins_) {
        if (pin)
            pin->DeliverEndOfStream();
    }
}

void Demultiplexer::DeliverPacket(AVPacket* packet) {
    const unsigned index = packet->stream_index;
    Pin* pin = index < streamPins_.size() ? streamPins_[index] : nullptr;
    if (!pin || !pin->IsConnected())
        return;
    const AVRational base = format_->streams[index]->time_base;
    const std::int64_t offset = av_rescale_q(MediaStart(format_.get()), AV_TIME_BASE_Q, base);
    MediaSample sample;
    sample.packet.reset(av_packet_alloc());
    av_packet_move_ref(sample.packet.get(), packet);
    AVPacket* p = sample.packet.get();
    if (p->pts != AV_NOPTS_VALUE)
        p->pts -= offset;
    if (p->dts != AV_NOPTS_VALUE)
        p->dts -= offset;
    av_packet_rescale_ts(p, base, kRefTimeBase);
    p->time_base = kRefTimeBase;
    sample.start = p->pts != AV_NOPTS_VALUE ? p->pts : p->dts;
    sample.stop = sample.start + p->duration;
    pin->Deliver(std::move(sample));
}

} // namespace graph
