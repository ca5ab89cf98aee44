#include "platform/graph/packet_cut.h"

namespace graph {

namespace {

REFERENCE_TIME PresentedAt(const AVPacket& packet) {
    return packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
}

REFERENCE_TIME DecodedAt(const AVPacket& packet) {
    return packet.dts != AV_NOPTS_VALUE ? packet.dts : packet.pts;
}

} // namespace

PacketCut::PacketCut(REFERENCE_TIME from, REFERENCE_TIME to)
    : BaseFilter("Picture Copy"), from_(from), to_(to) {
    AddPin(PinDirection::Input, "In", MediaType(MajorType::Video));
    output_ = AddPin(PinDirection::Output, "Out", MediaType(MajorType::Video));
}

bool PacketCut::Accepts(const Pin&, const MediaType& type) const {
    return type.Major() == MajorType::Video && type.Parameters() && !type.IsDecoded();
}

HRESULT PacketCut::CompleteConnect(Pin& pin, Pin& peer) {
    if (pin.Direction() != PinDirection::Input)
        return S_OK;
    // The frame rate's own time base: a container that counts frames (AVI) needs it.
    const MediaType& input = peer.OfferedType();
    const REFERENCE_TIME frame = input.AvgTimePerFrame();
    SetOfferedType(output_, MediaType(MajorType::Video, input.Parameters(),
                                      frame > 0 ? FrameTimeBase(frame) : input.TimeBase(), frame));
    return S_OK;
}

bool PacketCut::WantsMore(const Pin&) const {
    // The writer downstream holds a packet back by blocking, not by asking for less.
    std::lock_guard lock(mutex_);
    return !ended_;
}

HRESULT PacketCut::Pause() {
    if (State() == FilterState::Stopped) {
        std::lock_guard lock(mutex_);
        held_.clear();
        tail_.clear();
        holding_ = released_ = ended_ = false;
    }
    return BaseFilter::Pause();
}

HRESULT PacketCut::Receive(Pin&, MediaSample sample) {
    if (!sample.packet)
        return S_OK;
    const AVPacket& packet = *sample.packet;
    std::unique_lock lock(mutex_);
    if (ended_)
        return S_OK;
    // Every frame before `to` has been decoded once a packet is decoded at `to`.
    if (DecodedAt(packet) >= to_) {
        lock.unlock();
        End();
        return S_OK;
    }
    if (released_) {
        // A frame shown after `to` is passed only when a frame before it comes later in
        // decoding order, which may refer to it.
        if (PresentedAt(packet) >= to_) {
            tail_.push_back(std::move(sample));
            return S_OK;
        }
        std::deque<MediaSample> tail;
        tail.swap(tail_);
        lock.unlock();
        for (MediaSample& needed : tail) {
            const HRESULT hr = Pass(std::move(needed));
            if (FAILED(hr))
                return hr;
        }
        return Pass(std::move(sample));
    }
    const bool key = packet.flags & AV_PKT_FLAG_KEY;
    if (key && PresentedAt(packet) <= from_) {
        held_.clear();
        holding_ = true;
    }
    // A key frame after `from` with none before it (a cut before the first frame) starts
    // the copy by itself.
    if (!holding_ && key)
        holding_ = true;
    if (!holding_)
        return S_OK;
    held_.push_back(std::move(sample));
    // No later key frame can be presented at or before `from` once packets decode after it.
    if (DecodedAt(*held_.back().packet) <= from_)
        return S_OK;
    lock.unlock();
    return Release();
}

HRESULT PacketCut::Release() {
    std::deque<MediaSample> held;
    {
        std::lock_guard lock(mutex_);
        held.swap(held_);
        released_ = true;
    }
    for (MediaSample& sample : held) {
        const HRESULT hr = Pass(std::move(sample));
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
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
    bool release = false;
    {
        std::lock_guard lock(mutex_);
        if (ended_)
            return;
        release = !released_;
    }
    if (release)
        Release();
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
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
    {
        std::lock_guard lock(mutex_);
        held_.clear();
        tail_.clear();
        holding_ = released_ = ended_ = false;
    }
    output_->DeliverEndFlush();
}

void PacketCut::NewSegment(Pin&, REFERENCE_TIME) {
    // The copy is counted from `from`, where the composed sound starts.
    output_->DeliverNewSegment(0);
}

} // namespace graph
