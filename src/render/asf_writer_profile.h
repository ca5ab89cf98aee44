#pragma once
// What the ASF writer is configured with, read from a Windows Media profile: one writer
// stream per profile stream, with its number, codec, bit rate and format.
#include "platform/graph/writing/asf_writer.h"
#include "platform/wmformat/profile.h"

namespace render {

// E_INVALIDARG for a stream whose format is neither sound nor picture.
HRESULT AsfWriterConfigOf(const wmformat::Profile& profile, graph::AsfWriterConfig* config);

} // namespace render
