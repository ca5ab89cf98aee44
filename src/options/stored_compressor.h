#pragma once
// The compressors the settings choose: for each kind, the entry stored as its
// "CompressorNumber", or, when none was ever chosen, the first whose name has the kind's
// preferred word ("divx" for pictures, "microsoft adpcm" for sound).
#include "platform/graph/writing/device_enumerator.h"

#include <memory>

namespace graph {
class BaseFilter;
}

namespace options {

struct CompressorKind {
    const char* section; // of the settings
    graph::DeviceCategory category;
    const char* preferred;
};

inline constexpr CompressorKind kVideoCompressorKind{
    "DexVideoCompress", graph::DeviceCategory::VideoCompressor, "divx"};
inline constexpr CompressorKind kAudioCompressorKind{
    "DexAudioCompress", graph::DeviceCategory::AudioCompressor, "microsoft adpcm"};

// Compressor n of a kind (in the enumeration's order), made afresh with the settings its
// encoder keeps; null when there is no such entry or it cannot be made.
std::shared_ptr<graph::BaseFilter> CreateCompressor(const CompressorKind& kind, int n);

// The stored compressor of a kind, made afresh; null for the uncompressed entry, or when the
// stored entry or the preferred one does not exist.
std::shared_ptr<graph::BaseFilter> StoredCompressor(const CompressorKind& kind);

} // namespace options
