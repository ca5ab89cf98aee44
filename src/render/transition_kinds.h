#pragma once
// The transition kinds a photo-list entry names (0 to 46, and above) and the effect class and
// mask number each one becomes on the timeline.
#include "platform/core/guid.h"

#include <cstdint>
#include <optional>

namespace render {

// The SMPTE wipe, which draws its shape from a mask number.
constexpr CLSID CLSID_SMPTEWipe = core::GuidLiteral("{DE75D012-7A65-11D2-8CEA-00A0C9441E20}");

struct TransitionClass {
    CLSID clsid;
    std::optional<std::int32_t> maskNum; // the "MaskNum" parameter of an SMPTE wipe
};

// Nothing for kind 0 ("None") and below; kinds above 46 are a plain SMPTE wipe.
std::optional<TransitionClass> TransitionClassOfKind(int kind);

} // namespace render
