#pragma once
// The codec formats a profile manager offers, codec by codec, each codec's formats in the
// order they are enumerated. The standard catalogue lists what our ASF writer encodes;
// another catalogue can be handed to a profile manager in its place.
#include "platform/wmformat/media_type.h"

#include <vector>

namespace wmformat {

struct CatalogueCodec {
    GUID majorType; // WMMEDIATYPE_Audio or WMMEDIATYPE_Video
    std::vector<WM_MEDIA_TYPE> formats;
};

using CodecCatalogue = std::vector<CatalogueCodec>;

// The formats of FFmpeg's WMA and WMV encoders, newest generation first:
// - WMA 2, then WMA 1: 22,050, 32,000, 44,100 and 48,000 Hz, mono and stereo, at 24 to
//   320 kbit/s, as WAVEFORMATEX formats with the block alignment and codec data that the
//   encoder produces for that rate;
// - WMV 2, then WMV 1: one VIDEOINFOHEADER format each, whose size, bit rate and frame
//   duration a profile adjusts.
// There is no WMV 3 encoder, so no WMV 3 format.
const CodecCatalogue& StandardCatalogue();

} // namespace wmformat
