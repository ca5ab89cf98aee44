#pragma once
// Status codes of the Windows Media profile objects, with the runtime's values.
#include "platform/core/status.h"

namespace wmformat {

constexpr HRESULT NS_E_AUDIO_CODEC_NOT_INSTALLED = static_cast<HRESULT>(0xC00D0BC2u);
constexpr HRESULT NS_E_VIDEO_CODEC_NOT_INSTALLED = static_cast<HRESULT>(0xC00D0BC4u);
constexpr HRESULT NS_E_INVALIDPROFILE = static_cast<HRESULT>(0xC00D0BC6u);

} // namespace wmformat
