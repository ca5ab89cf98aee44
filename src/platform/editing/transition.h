#pragma once
// A transition on a track: the class of the effect that renders it, its span, and the
// parameters of that effect.
#include "platform/core/guid.h"
#include "platform/editing/property_setter.h"
#include "platform/editing/timeline_basics.h"

#include <memory>

namespace editing {

class Transition {
  public:
    static constexpr TIMELINE_MAJOR_TYPE kType = TIMELINE_MAJOR_TYPE_TRANSITION;

    // The effect's class; the null identifier is refused.
    HRESULT SetSubObjectGUID(const GUID& clsid);
    const GUID& GetSubObjectGUID() const { return clsid_; }
    HRESULT SetStartStop(REFERENCE_TIME start, REFERENCE_TIME stop);
    TimeSpan GetStartStop() const { return span_; }
    // Takes the setter; null removes the parameters.
    HRESULT SetPropertySetter(std::unique_ptr<PropertySetter> setter);
    const PropertySetter* GetPropertySetter() const { return setter_.get(); }

  private:
    GUID clsid_;
    TimeSpan span_;
    std::unique_ptr<PropertySetter> setter_;
};

} // namespace editing
