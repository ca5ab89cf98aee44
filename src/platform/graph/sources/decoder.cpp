#include "platform/graph/sources/decoder.h"

#include "platform/graph/event_queue.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace graph {

namespace {
// The queue asks for more until it holds this much media and this many packets; packets
// without a duration count by number only.
constexpr REFERENCE_TIME kQueueDuration = UNITS;
constexpr std::size_t kQueuePackets = 16;
constexpr std::size_t kQueuePacketsAtMost = 512;
// A sound time stamp this close to where the samples so far end is the same place, rounded.
constexpr REFERENCE_TIME kSoundJitter = 20 * UNITS / 1000;
// Container time stamps are at worst this coarse.
constexpr REFERENCE_TIME kStampPrecision = UNITS / 1000;
// This many refused packets in a row, and the stream is reported as failed.
constexpr int kFailureRun = 25;
// The longest a seek waits for the decoding thread to put down what it holds: a packet that
// keeps the codec busy must not freeze the window that seeks.
constexpr auto kFlushLimit = std::chrono::seconds(5);

// A decoder opened for the stream; VFW_E_UNSUPPORTED_STREAM when none takes it.
HRESULT OpenCodec(const MediaType& input, CodecContextPtr* out) {
    const AVCodecParameters* parameters = input.Parameters();
    if (!parameters)
        return E_POINTER;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (!codec)
        return VFW_E_UNSUPPORTED_STREAM;
    CodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context)
        return E_OUTOFMEMORY;
    int error = avcodec_parameters_to_context(context.get(), parameters);
    if (error < 0)
        return StatusFromAv(error);
    context->pkt_timebase = input.TimeBase();
    context->thread_count = 0;
    error = avcodec_open2(context.get(), codec, nullptr);
    if (error < 0)
        return VFW_E_UNSUPPORTED_STREAM;
    *out = std::move(context);
    return S_OK;
}

} // namespace

HRESULT Decoder::Create(const MediaType& input, std::unique_ptr<Decoder>* out) {
    if (!out || !input.Parameters())
        return E_POINTER;
    CodecContextPtr context;
    const HRESULT hr = OpenCodec(input, &context);
    if (FAILED(hr))
        return hr;
    auto decoder = std::make_unique<Decoder>(input.Major());
    decoder->Take(input, std::move(context));
    *out = std::move(decoder);
    return S_OK;
}

Decoder::Decoder(MajorType major)
    : BaseFilter(major == MajorType::Video ? "Video Decoder" : "Audio Decoder"), major_(major) {
    AddPin(PinDirection::Input, "In", MediaType(major_));
    output_ = AddPin(PinDirection::Output, "Out", MediaType(major_));
}

void Decoder::Take(const MediaType& input, CodecContextPtr codec) {
    avgTimePerFrame_ = input.AvgTimePerFrame();
    codec_ = std::move(codec);
    AVCodecParameters* decoded = avcodec_parameters_alloc();
    avcodec_parameters_from_context(decoded, codec_.get());
    decoded->codec_id = AV_CODEC_ID_NONE;
    SetOfferedType(output_, MediaType(major_, decoded, kRefTimeBase, avgTimePerFrame_));
    avcodec_parameters_free(&decoded);
}

Decoder::~Decoder() {
    Stop();
}

bool Decoder::Accepts(const Pin&, const MediaType& type) const {
    const AVCodecParameters* p = type.Parameters();
    if (!p || type.Major() != major_ || type.IsDecoded())
        return false;
    return codec_ ? p->codec_id == codec_->codec_id : avcodec_find_decoder(p->codec_id) != nullptr;
}

HRESULT Decoder::CompleteConnect(Pin& pin, Pin& peer) {
    if (pin.Direction() != PinDirection::Input)
        return S_OK;
    CodecContextPtr context;
    const HRESULT hr = OpenCodec(peer.OfferedType(), &context);
    if (FAILED(hr))
        return hr;
    Take(peer.OfferedType(), std::move(context));
    return S_OK;
}

bool Decoder::WantsMore(const Pin&) const {
    std::lock_guard lock(mutex_);
    return queue_.size() < kQueuePackets ||
           (queuedDuration_ < kQueueDuration && queue_.size() < kQueuePacketsAtMost);
}

HRESULT Decoder::Pause() {
    if (State() == FilterState::Stopped) {
        {
            std::lock_guard lock(mutex_);
            quit_ = false;
            flushing_ = false;
            queue_.clear();
            queuedDuration_ = 0;
        }
        if (codec_)
            avcodec_flush_buffers(codec_.get());
        thread_ = std::thread([this] { DecodeLoop(); });
    }
    return BaseFilter::Pause();
}

HRESULT Decoder::Stop() {
    if (thread_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
            queue_.clear();
            queuedDuration_ = 0;
            changed_.notify_all();
        }
        thread_.join();
    }
    return BaseFilter::Stop();
}

void Decoder::Push(Item item, bool front) {
    std::lock_guard lock(mutex_);
    if (quit_ || (flushing_ && item.kind != ItemKind::ResetCodec))
        return;
    if (item.kind == ItemKind::Packet)
        queuedDuration_ += item.sample.stop - item.sample.start;
    if (front)
        queue_.push_front(std::move(item));
    else
        queue_.push_back(std::move(item));
    changed_.notify_all();
}

HRESULT Decoder::Receive(Pin&, MediaSample sample) {
    if (State() == FilterState::Stopped)
        return VFW_E_WRONG_STATE;
    Push({ItemKind::Packet, std::move(sample)});
    return S_OK;
}

void Decoder::EndOfStream(Pin&) {
    Push({ItemKind::EndOfStream, {}});
}

void Decoder::NewSegment(Pin&, REFERENCE_TIME start) {
    Push({ItemKind::NewSegment, {}, start});
}

void Decoder::BeginFlush(Pin&) {
    {
        std::lock_guard lock(mutex_);
        flushing_ = true;
        queue_.clear();
        queuedDuration_ = 0;
        changed_.notify_all();
    }
    // Wakes the decoding thread if the renderer holds it.
    output_->DeliverBeginFlush();
}

void Decoder::EndFlush(Pin&) {
    {
        // Nothing decoded before the flush may reach the renderer after it.
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, kFlushLimit, [this] { return idle_ || !thread_.joinable(); });
        flushing_ = false;
    }
    Push({ItemKind::ResetCodec, {}}, true);
    output_->DeliverEndFlush();
}

void Decoder::DecodeLoop() {
    for (;;) {
        Item item;
        {
            std::unique_lock lock(mutex_);
            idle_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return quit_ || (!flushing_ && !queue_.empty()); });
            if (quit_)
                return;
            idle_ = false;
            item = std::move(queue_.front());
            queue_.pop_front();
            if (item.kind == ItemKind::Packet)
                queuedDuration_ -= item.sample.stop - item.sample.start;
        }
        switch (item.kind) {
        case ItemKind::Packet:
            Decode(item.sample.packet.get());
            break;
        case ItemKind::EndOfStream:
            Decode(nullptr);
            output_->DeliverEndOfStream();
            break;
        case ItemKind::NewSegment:
            nextStart_ = item.segmentStart;
            soundAnchored_ = false;
            output_->DeliverNewSegment(item.segmentStart);
            break;
        case ItemKind::ResetCodec:
            avcodec_flush_buffers(codec_.get());
            soundAnchored_ = false;
            break;
        }
    }
}

void Decoder::Decode(AVPacket* packet) {
    int error = avcodec_send_packet(codec_.get(), packet);
    if (error < 0 && error != AVERROR(EAGAIN) && error != AVERROR_EOF) {
        // A damaged packet costs its frames only; the stream goes on, and says so once when
        // nothing gets through any more.
        if (++failures_ == kFailureRun)
            NotifyEvent(EC_ERRORABORT, StatusFromAv(error), 0);
        return;
    }
    if (packet)
        failures_ = 0;
    for (;;) {
        FramePtr frame(av_frame_alloc());
        error = avcodec_receive_frame(codec_.get(), frame.get());
        if (error < 0)
            return;
        DeliverFrame(std::move(frame));
    }
}

REFERENCE_TIME Decoder::SoundStart(const AVFrame* frame) {
    const std::int64_t ts = frame->best_effort_timestamp;
    const int rate = frame->sample_rate;
    if (soundAnchored_) {
        const REFERENCE_TIME expected = soundAnchor_ + av_rescale(samplesSinceAnchor_, UNITS, rate);
        if (ts == AV_NOPTS_VALUE || std::abs(ts - expected) <= kSoundJitter)
            return expected;
    }
    REFERENCE_TIME start = ts != AV_NOPTS_VALUE ? ts : nextStart_;
    // A codec with fixed frames puts them on a grid from media time 0; a rounded stamp is put
    // back on it.
    if (codec_->frame_size > 0 && frame->nb_samples == codec_->frame_size) {
        const std::int64_t frames =
            av_rescale_rnd(start, rate, UNITS * codec_->frame_size, AV_ROUND_NEAR_INF);
        const REFERENCE_TIME onGrid = av_rescale(frames * codec_->frame_size, UNITS, rate);
        if (std::abs(onGrid - start) <= kStampPrecision)
            start = onGrid;
    }
    soundAnchored_ = true;
    soundAnchor_ = start;
    samplesSinceAnchor_ = 0;
    return start;
}

void Decoder::DeliverFrame(FramePtr frame) {
    MediaSample sample;
    const std::int64_t ts = frame->best_effort_timestamp;
    sample.start = ts != AV_NOPTS_VALUE ? ts : nextStart_;
    if (major_ == MajorType::Audio) {
        sample.start = SoundStart(frame.get());
        samplesSinceAnchor_ += frame->nb_samples;
        sample.stop = soundAnchor_ + av_rescale(samplesSinceAnchor_, UNITS, frame->sample_rate);
    } else {
        const REFERENCE_TIME length = frame->pkt_duration > 0 ? frame->pkt_duration
                                      : avgTimePerFrame_ > 0  ? avgTimePerFrame_
                                                              : UNITS / 25;
        sample.stop = sample.start + length;
    }
    nextStart_ = sample.stop;
    sample.frame = std::move(frame);
    {
        std::lock_guard lock(mutex_);
        if (flushing_ || quit_)
            return;
    }
    output_->Deliver(std::move(sample));
}

} // namespace graph
