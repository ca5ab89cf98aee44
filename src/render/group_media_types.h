#pragma once
// What the composition's two groups output: uncompressed RGB24 pictures of the output size,
// and sound in the engine's default format.
#include "platform/core/media_types.h"

#include <cstdint>

namespace render {

// Bytes of a bottom-up or top-down RGB24 picture: rows padded to 32 bits, times |height|.
std::uint32_t Rgb24ImageSize(std::int32_t width, std::int32_t height);

AM_MEDIA_TYPE VideoGroupMediaType(std::int32_t width, std::int32_t height);

// Only the major type: the engine picks its default audio format.
AM_MEDIA_TYPE AudioGroupMediaType();

} // namespace render
