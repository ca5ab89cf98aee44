#include "platform/graph/writing/encoder.h"

#include "platform/graph/event_queue.h"
#include "platform/graph/library_log.h"
#include "platform/graph/writing/multiplexer.h"
#include "platform/graph/writing/stream_encoder.h"

namespace graph {

namespace {

MajorType MajorOf(const AVCodec* codec) {
    return codec->type == AVMEDIA_TYPE_VIDEO ? MajorType::Video : MajorType::Audio;
}

FilterKind KindOf(const AVCodec* codec) {
    return codec->type == AVMEDIA_TYPE_VIDEO ? FilterKind::VideoCompressor
                                             : FilterKind::AudioCompressor;
}

} // namespace

HRESULT Encoder::Create(const AVCodec* codec, std::string name, std::shared_ptr<Encoder>* out) {
    if (!out || !codec)
        return E_POINTER;
    if (!av_codec_is_encoder(codec) ||
        (codec->type != AVMEDIA_TYPE_VIDEO && codec->type != AVMEDIA_TYPE_AUDIO))
        return VFW_E_UNSUPPORTED_STREAM;
    std::shared_ptr<Encoder> encoder(new Encoder(codec, std::move(name)));
    if (!encoder->options_)
        return E_OUTOFMEMORY;
    *out = std::move(encoder);
    return S_OK;
}

Encoder::Encoder(const AVCodec* codec, std::string name)
    : BaseFilter(std::move(name), ClassIdOf(KindOf(codec), codec->name)), codec_(codec),
      options_(FilterOptions::ForEncoder(codec)) {
    input_ = AddPin(PinDirection::Input, "In", MediaType(MajorOf(codec)));
    output_ = AddPin(PinDirection::Output, "Out", MediaType(MajorOf(codec)));
}

Encoder::~Encoder() {
    Stop();
}

bool Encoder::Accepts(const Pin&, const MediaType& type) const {
    return type.Major() == MajorOf(codec_) && type.IsDecoded();
}

HRESULT Encoder::CompleteConnect(Pin& pin, Pin& peer) {
    if (&pin != input_)
        return S_OK;
    std::unique_ptr<StreamEncoder> trial;
    const LibraryLogCapture capture;
    const HRESULT hr = StreamEncoder::Open({.codec = codec_, .options = options_.get()},
                                           peer.OfferedType(), &trial);
    if (FAILED(hr)) {
        NoteFailure(hr);
        return hr;
    }
    SetOfferedType(output_, trial->OutputType());
    return S_OK;
}

HRESULT Encoder::OpenRun() {
    MediaType input;
    HRESULT hr = input_->ConnectionMediaType(&input);
    if (FAILED(hr))
        return S_OK; // nothing to encode
    const Pin* downstream = output_->ConnectedTo();
    const auto* writer =
        downstream ? dynamic_cast<const Multiplexer*>(downstream->Filter()) : nullptr;
    std::unique_ptr<StreamEncoder> encoder;
    const LibraryLogCapture capture;
    hr = StreamEncoder::Open({.codec = codec_,
                              .options = options_.get(),
                              .globalHeader = writer && writer->WantsGlobalHeaders(),
                              .showingOrder = writer && !writer->KeepsShowingTimes()},
                             input, &encoder);
    if (FAILED(hr)) {
        NoteFailure(hr);
        return hr;
    }
    running_ = std::move(encoder);
    announceType_ = true;
    return S_OK;
}

HRESULT Encoder::Pause() {
    if (State() == FilterState::Stopped) {
        std::lock_guard lock(mutex_);
        flushing_ = false;
        const HRESULT hr = OpenRun();
        if (FAILED(hr))
            return hr;
    }
    return BaseFilter::Pause();
}

HRESULT Encoder::Stop() {
    {
        std::lock_guard lock(mutex_);
        running_.reset();
    }
    return BaseFilter::Stop();
}

HRESULT Encoder::EncodeAndDeliver(const MediaSample* sample) {
    bool refused = false;
    const auto deliver = [&](MediaSample packet) {
        if (announceType_) {
            packet.type = running_->OutputType();
            announceType_ = false;
        }
        const HRESULT delivered = output_->Deliver(std::move(packet));
        refused = FAILED(delivered);
        return delivered;
    };
    const LibraryLogCapture capture;
    const HRESULT hr = sample ? running_->Encode(*sample, deliver) : running_->Finish(deliver);
    if (FAILED(hr)) {
        running_.reset();
        // A refusal downstream is reported there; a failure of the encoder itself ends this
        // branch here.
        if (!refused) {
            NoteFailure(hr);
            NotifyEvent(EC_ERRORABORT, hr, 0);
        }
    }
    return hr;
}

HRESULT Encoder::Receive(Pin&, MediaSample sample) {
    if (flushing_)
        return VFW_E_WRONG_STATE;
    std::lock_guard lock(mutex_);
    if (!running_)
        return VFW_E_WRONG_STATE;
    return EncodeAndDeliver(&sample);
}

void Encoder::EndOfStream(Pin&) {
    if (flushing_)
        return;
    {
        std::lock_guard lock(mutex_);
        if (!running_ || FAILED(EncodeAndDeliver(nullptr)))
            return;
        running_.reset();
    }
    output_->DeliverEndOfStream();
}

void Encoder::BeginFlush(Pin&) {
    flushing_ = true;
    output_->DeliverBeginFlush();
}

void Encoder::EndFlush(Pin&) {
    {
        // What the encoder held belongs to the old segment: the new one starts afresh.
        std::lock_guard lock(mutex_);
        if (running_ || State() != FilterState::Stopped) {
            running_.reset();
            const HRESULT hr = OpenRun();
            if (FAILED(hr))
                NotifyEvent(EC_ERRORABORT, hr, 0);
        }
        flushing_ = false;
    }
    output_->DeliverEndFlush();
}

void Encoder::NewSegment(Pin&, REFERENCE_TIME start) {
    output_->DeliverNewSegment(start);
}

} // namespace graph
