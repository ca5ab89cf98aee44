#include "platform/graph/pin.h"

#include "platform/graph/filter.h"

namespace graph {

Pin::Pin(BaseFilter* filter, PinDirection direction, std::string name, MediaType offered)
    : filter_(filter), direction_(direction), name_(std::move(name)), offered_(std::move(offered)) {
}

HRESULT Pin::ConnectionMediaType(MediaType* type) const {
    if (!type)
        return E_POINTER;
    if (!peer_)
        return VFW_E_NOT_CONNECTED;
    *type = connectionType_;
    return S_OK;
}

HRESULT Pin::Deliver(MediaSample sample) {
    if (!peer_)
        return S_FALSE;
    return peer_->filter_->Receive(*peer_, std::move(sample));
}

void Pin::DeliverEndOfStream() {
    if (peer_)
        peer_->filter_->EndOfStream(*peer_);
}

void Pin::DeliverBeginFlush() {
    if (peer_)
        peer_->filter_->BeginFlush(*peer_);
}

void Pin::DeliverEndFlush() {
    if (peer_)
        peer_->filter_->EndFlush(*peer_);
}

void Pin::DeliverNewSegment(REFERENCE_TIME start) {
    if (peer_)
        peer_->filter_->NewSegment(*peer_, start);
}

} // namespace graph
