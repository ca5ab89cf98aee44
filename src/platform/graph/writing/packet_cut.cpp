#include "platform/graph/writing/packet_cut.h"

#include "platform/graph/writing/nal_units.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace graph {

namespace {

REFERENCE_TIME ShownAt(const AVPacket& packet) {
    return packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
}

REFERENCE_TIME DecodedAt(const AVPacket& packet) {
    return packet.dts != AV_NOPTS_VALUE ? packet.dts : packet.pts;
}

bool IsKey(const AVPacket& packet) {
    return packet.flags & AV_PKT_FLAG_KEY;
}

// The packet's bytes replaced by `bytes`, its times and flags kept.
HRESULT Rewrite(AVPacket& packet, const std::vector<std::uint8_t>& bytes) {
    PacketPtr rewritten(av_packet_alloc());
    if (!rewritten || av_new_packet(rewritten.get(), static_cast<int>(bytes.size())) < 0)
        return E_OUTOFMEMORY;
    std::copy(bytes.begin(), bytes.end(), rewritten->data);
    av_packet_copy_props(rewritten.get(), &packet);
    av_packet_unref(&packet);
    av_packet_move_ref(&packet, rewritten.get());
    return S_OK;
}

// The packet with the stream's parameter sets in front, so it stands on its own after
// frames that were coded with other ones; one that begins with them already is left as is.
HRESULT PutParameterSets(const AVCodecParameters* parameters, AVPacket& packet) {
    std::vector<std::uint8_t> joined = ParameterSetBytes(parameters);
    if (joined.empty() || (static_cast<std::size_t>(packet.size) >= joined.size() &&
                           std::equal(joined.begin(), joined.end(), packet.data)))
        return S_OK;
    joined.insert(joined.end(), packet.data, packet.data + packet.size);
    return Rewrite(packet, joined);
}

// The packet's units, behind lengths of `lengthSize` bytes, behind start codes, and a key
// frame led by the parameter sets of `stream` (in that form): a reader may start at any key
// frame, with only what the stream holds.
HRESULT PutStartCodes(const AVCodecParameters* stream, int lengthSize, AVPacket& packet) {
    const HRESULT hr = Rewrite(packet, LengthsToStartCodes(packet.data, packet.size, lengthSize));
    return SUCCEEDED(hr) && IsKey(packet) ? PutParameterSets(stream, packet) : hr;
}

// Whether the container's readers expect H.264 units behind start codes, with the parameter
// sets in the stream: AVI has no place that says its packets hold an avcC record's form.
bool WantsStartCodes(const AVOutputFormat* format) {
    return format && std::strcmp(format->name, "avi") == 0;
}

// The stream with its units behind start codes: its codec data the parameter sets so, and
// no codec tag, so the muxer names the codec its own way (H264, not avc1). No parameters when
// there is no memory for them.
MediaType InStartCodes(const MediaType& stream, int lengthSize) {
    const AVCodecParameters* p = stream.Parameters();
    const std::vector<std::uint8_t> record = ParameterSetBytes(p);
    const std::vector<std::uint8_t> sets =
        LengthsToStartCodes(record.data(), static_cast<int>(record.size()), lengthSize);
    std::unique_ptr<AVCodecParameters, CodecParametersDeleter> changed(avcodec_parameters_alloc());
    if (!changed || avcodec_parameters_copy(changed.get(), p) < 0)
        return MediaType(stream.Major());
    av_freep(&changed->extradata);
    changed->extradata_size = 0;
    changed->codec_tag = 0;
    changed->extradata =
        static_cast<std::uint8_t*>(av_mallocz(sets.size() + AV_INPUT_BUFFER_PADDING_SIZE));
    if (!changed->extradata)
        return MediaType(stream.Major());
    std::copy(sets.begin(), sets.end(), changed->extradata);
    changed->extradata_size = static_cast<int>(sets.size());
    return MediaType(stream.Major(), changed.get(), stream.TimeBase(), stream.AvgTimePerFrame());
}

} // namespace

bool HidesLeadingFrames(const AVOutputFormat* format) {
    // The MP4 family writes an edit list that starts the presentation at 0.
    static const char* const kEditListMuxers[] = {"mov", "mp4", "ipod", "3gp",
                                                  "3g2", "psp", "ismv", "f4v"};
    return format &&
           std::any_of(std::begin(kEditListMuxers), std::end(kEditListMuxers),
                       [format](const char* name) { return std::strcmp(format->name, name) == 0; });
}

PacketCut::PacketCut(REFERENCE_TIME from, REFERENCE_TIME to, const AVOutputFormat* container,
                     AVRational unevenTimeBase)
    : BaseFilter("Picture Copy"), from_(from), to_(to),
      hidesLeading_(HidesLeadingFrames(container)), startCodes_(WantsStartCodes(container)),
      unevenTimeBase_(unevenTimeBase) {
    AddPin(PinDirection::Input, "In", MediaType(MajorType::Video));
    output_ = AddPin(PinDirection::Output, "Out", MediaType(MajorType::Video));
}

bool PacketCut::Accepts(const Pin&, const MediaType& type) const {
    return type.Major() == MajorType::Video && type.Parameters() && !type.IsDecoded();
}

HRESULT PacketCut::CompleteConnect(Pin& pin, Pin& peer) {
    if (pin.Direction() != PinDirection::Input)
        return S_OK;
    stream_ = peer.OfferedType();
    // A stream already behind start codes carries its own parameter sets.
    lengthSize_ = startCodes_ ? UnitLengthSize(stream_.Parameters()) : 0;
    if (lengthSize_ > 0) {
        stream_ = InStartCodes(stream_, lengthSize_);
        if (!stream_.Parameters())
            return E_OUTOFMEMORY;
    }
    // Uneven frame times would be moved onto the average rate's ticks: they keep the stream's
    // own, and declare no rate.
    if (unevenTimeBase_.num > 0) {
        SetOfferedType(output_,
                       MediaType(MajorType::Video, stream_.Parameters(), unevenTimeBase_, 0));
        return S_OK;
    }
    // The frame rate's own time base: a container that counts frames (AVI) needs it.
    const REFERENCE_TIME frame = stream_.AvgTimePerFrame();
    SetOfferedType(output_,
                   MediaType(MajorType::Video, stream_.Parameters(),
                             frame > 0 ? FrameTimeBase(frame) : stream_.TimeBase(), frame));
    return S_OK;
}

bool PacketCut::WantsMore(const Pin&) const {
    // The writer downstream holds a packet back by blocking, not by asking for less.
    std::lock_guard lock(mutex_);
    return phase_ != Phase::Ended;
}

void PacketCut::SetPhase(Phase phase) {
    std::lock_guard lock(mutex_);
    phase_ = phase;
}

void PacketCut::Reset() {
    std::lock_guard lock(mutex_);
    phase_ = Phase::Seeking;
    held_.clear();
    tail_.clear();
    afterHead_.clear();
    recoder_.reset();
    nextKey_ = INT64_MAX;
}

HRESULT PacketCut::Pause() {
    if (State() == FilterState::Stopped)
        Reset();
    return BaseFilter::Pause();
}

HRESULT PacketCut::Receive(Pin&, MediaSample sample) {
    if (!sample.packet)
        return S_OK;
    Phase phase;
    {
        std::lock_guard lock(mutex_);
        phase = phase_;
    }
    if (phase == Phase::Ended)
        return S_OK;
    if (lengthSize_ > 0) {
        const HRESULT hr = PutStartCodes(stream_.Parameters(), lengthSize_, *sample.packet);
        if (FAILED(hr))
            return hr;
    }
    // Every frame shown before `to` has been decoded once a packet is decoded at `to`.
    if (DecodedAt(*sample.packet) >= to_) {
        End();
        return S_OK;
    }
    switch (phase) {
    case Phase::Seeking:
    case Phase::Holding:
        return Hold(std::move(sample));
    case Phase::Recoding:
        return Recode(std::move(sample));
    default:
        return Copy(std::move(sample));
    }
}

HRESULT PacketCut::Hold(MediaSample sample) {
    const AVPacket& packet = *sample.packet;
    // A key frame after `from` with none before it (a cut before the first frame) starts the
    // copy by itself.
    if (IsKey(packet) && (ShownAt(packet) <= from_ || phase_ == Phase::Seeking)) {
        held_.clear();
        SetPhase(Phase::Holding);
    }
    if (phase_ == Phase::Seeking)
        return S_OK;
    held_.push_back(std::move(sample));
    // No later key frame can be shown at or before `from` once packets decode after it.
    if (DecodedAt(*held_.back().packet) <= from_)
        return S_OK;
    return ReleaseHeld();
}

HRESULT PacketCut::ReleaseHeld() {
    std::deque<MediaSample> held;
    held.swap(held_);
    if (held.empty())
        return S_OK;
    const bool leading = ShownAt(*held.front().packet) < from_;
    if (leading && !hidesLeading_) {
        HRESULT hr = HeadRecoder::Create(stream_, from_, &recoder_);
        for (MediaSample& each : held) {
            if (SUCCEEDED(hr))
                hr = Recode(std::move(each));
        }
        return hr;
    }
    SetPhase(Phase::Copying);
    for (MediaSample& each : held) {
        const HRESULT hr = Copy(std::move(each));
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT PacketCut::Recode(MediaSample sample) {
    SetPhase(Phase::Recoding);
    AVPacket& packet = *sample.packet;
    if (nextKey_ == INT64_MAX && IsKey(packet) && ShownAt(packet) > from_) {
        nextKey_ = ShownAt(packet);
        recoder_->Limit(nextKey_);
        // The copy starts here, after frames coded with other parameter sets: whether it is
        // held behind them or passed at once (decoded when it is shown), it needs its own.
        const HRESULT hr = PutParameterSets(stream_.Parameters(), packet);
        if (FAILED(hr))
            return hr;
    }
    // Frames shown before the next key frame may still follow it in decoding order (an open
    // group of pictures); once packets decode after it, none can.
    if (nextKey_ != INT64_MAX && DecodedAt(packet) >= nextKey_) {
        const HRESULT hr = FinishRecoding(to_);
        return SUCCEEDED(hr) ? Copy(std::move(sample)) : hr;
    }
    const HRESULT hr = recoder_->Decode(packet);
    if (FAILED(hr))
        return hr;
    if (nextKey_ != INT64_MAX && ShownAt(packet) >= nextKey_)
        afterHead_.push_back(std::move(sample));
    return S_OK;
}

HRESULT PacketCut::FinishRecoding(REFERENCE_TIME limit) {
    recoder_->Limit(std::min(nextKey_, limit));
    // The copied key frame is decoded this long before it is shown; the coded frames before
    // it keep that distance, so decoding times keep rising into the copy.
    const REFERENCE_TIME lead =
        afterHead_.empty() ? 0
                           : std::max<REFERENCE_TIME>(0, ShownAt(*afterHead_.front().packet) -
                                                             DecodedAt(*afterHead_.front().packet));
    std::vector<MediaSample> head;
    HRESULT hr = recoder_->Finish(lead, &head);
    SetPhase(Phase::Copying);
    for (MediaSample& each : head) {
        if (SUCCEEDED(hr))
            hr = output_->Deliver(std::move(each));
    }
    std::deque<MediaSample> copied;
    copied.swap(afterHead_);
    for (MediaSample& each : copied) {
        if (SUCCEEDED(hr))
            hr = Copy(std::move(each));
    }
    return hr;
}

HRESULT PacketCut::Copy(MediaSample sample) {
    // A frame shown after `to` is passed only when a frame before it comes later in decoding
    // order, which may refer to it.
    if (ShownAt(*sample.packet) >= to_) {
        tail_.push_back(std::move(sample));
        return S_OK;
    }
    std::deque<MediaSample> tail;
    tail.swap(tail_);
    for (MediaSample& needed : tail) {
        const HRESULT hr = Pass(std::move(needed));
        if (FAILED(hr))
            return hr;
    }
    return Pass(std::move(sample));
}

HRESULT PacketCut::Pass(MediaSample sample) {
    AVPacket& packet = *sample.packet;
    // The demultiplexer's packets count in 100-ns units.
    if (packet.pts != AV_NOPTS_VALUE)
        packet.pts -= from_;
    if (packet.dts != AV_NOPTS_VALUE)
        packet.dts -= from_;
    sample.start -= from_;
    sample.stop -= from_;
    return output_->Deliver(std::move(sample));
}

void PacketCut::End() {
    Phase phase;
    {
        std::lock_guard lock(mutex_);
        phase = phase_;
    }
    if (phase == Phase::Ended)
        return;
    // A stream too short to reach past `from` in decoding order: what there is goes on.
    if (phase == Phase::Holding)
        ReleaseHeld();
    Phase now;
    {
        std::lock_guard lock(mutex_);
        now = phase_;
    }
    if (now == Phase::Recoding)
        FinishRecoding(to_);
    {
        std::lock_guard lock(mutex_);
        phase_ = Phase::Ended;
        tail_.clear();
    }
    output_->DeliverEndOfStream();
}

void PacketCut::EndOfStream(Pin&) {
    End();
}

void PacketCut::BeginFlush(Pin&) {
    output_->DeliverBeginFlush();
}

void PacketCut::EndFlush(Pin&) {
    Reset();
    output_->DeliverEndFlush();
}

void PacketCut::NewSegment(Pin&, REFERENCE_TIME) {
    // The copy is counted from `from`, where the composed sound starts.
    output_->DeliverNewSegment(0);
}

} // namespace graph
