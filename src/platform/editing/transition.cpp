#include "transition.h"

namespace editing {

HRESULT Transition::SetSubObjectGUID(const GUID& clsid) {
    if (clsid == GUID_NULL)
        return E_INVALIDARG;
    clsid_ = clsid;
    return S_OK;
}

HRESULT Transition::SetStartStop(REFERENCE_TIME start, REFERENCE_TIME stop) {
    return CheckedSpan(start, stop, span_);
}

HRESULT Transition::SetPropertySetter(std::unique_ptr<PropertySetter> setter) {
    setter_ = std::move(setter);
    return S_OK;
}

} // namespace editing
