#include "source.h"

namespace editing {

HRESULT Source::SetStartStop(REFERENCE_TIME start, REFERENCE_TIME stop) {
    return CheckedSpan(start, stop, timeline_);
}

HRESULT Source::SetMediaTimes(REFERENCE_TIME start, REFERENCE_TIME stop) {
    return CheckedSpan(start, stop, media_);
}

HRESULT Source::SetMediaName(std::string name) {
    if (name.empty())
        return E_INVALIDARG;
    name_ = std::move(name);
    return S_OK;
}

HRESULT Source::SetStretchMode(int mode) {
    if (mode != RESIZEF_STRETCH && mode != RESIZEF_PRESERVEASPECTRATIO)
        return E_INVALIDARG;
    stretchMode_ = mode;
    return S_OK;
}

} // namespace editing
