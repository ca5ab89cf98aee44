#pragma once
// A connection point of a filter. Output pins push samples and stream notifications to the
// filter of the connected input pin; the calls run on the pushing filter's streaming thread.
//
// Connections (peer_, connectionType_) are written only by the graph on the user-interface
// thread while the graph is stopped; streaming threads are started afterwards, and thread
// start publishes the values to them.
// A pin is owned by its filter and lives as long as it.
#include "platform/core/reftime.h"
#include "platform/core/status.h"
#include "platform/graph/media_sample.h"
#include "platform/graph/media_type.h"

#include <string>

namespace graph {

class BaseFilter;

enum class PinDirection { Input, Output };

class Pin {
  public:
    Pin(BaseFilter* filter, PinDirection direction, std::string name, MediaType offered);
    Pin(const Pin&) = delete;
    Pin& operator=(const Pin&) = delete;

    PinDirection Direction() const { return direction_; }
    const std::string& Name() const { return name_; }
    BaseFilter* Filter() const { return filter_; }
    // The connected pin, or null.
    Pin* ConnectedTo() const { return peer_; }
    bool IsConnected() const { return peer_ != nullptr; }
    // The type an output pin offers (an input pin: the type it expects, major type only).
    // Its filter may change it while the graph is stopped.
    const MediaType& OfferedType() const { return offered_; }
    // VFW_E_NOT_CONNECTED when the pin has no peer.
    HRESULT ConnectionMediaType(MediaType* type) const;

    // Output side. Without a peer a sample is dropped (S_FALSE).
    HRESULT Deliver(MediaSample sample);
    void DeliverEndOfStream();
    void DeliverBeginFlush();
    void DeliverEndFlush();
    void DeliverNewSegment(REFERENCE_TIME start);

  private:
    friend class FilterGraph;
    friend class BaseFilter;
    BaseFilter* filter_;
    PinDirection direction_;
    std::string name_;
    MediaType offered_;
    Pin* peer_ = nullptr;
    MediaType connectionType_;
};

} // namespace graph
