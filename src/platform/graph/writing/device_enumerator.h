#pragma once
// The installed filters by category, in the shape of the framework's system device
// enumerator: the picture and sound compressors (FFmpeg's software encoders that are
// neither experimental nor bound to hardware, the uncompressed forms left out) and every
// filter there is (FFmpeg's multiplexers that write files, plus the framework's own filters).
// Each entry has a friendly name that follows the customs of the platform this program
// comes from for well-known formats ("DivX MPEG-4 Video Codec", "Microsoft ADPCM",
// "AVI Mux"; other multiplexers "<FFmpeg name> Mux") and a class identifier derived from its
// kind and FFmpeg name. Entries come in a stable order, by friendly name ignoring case.
//
// The lists are made once and never change, so any thread may read them. Filters are
// created on the user-interface thread and belong to the caller, who adds them to a graph.
//
//   int n = graph::FindDevice(graph::DeviceCategory::VideoCompressor, "divx");
//   std::shared_ptr<graph::BaseFilter> compressor;
//   if (n >= 0 && SUCCEEDED(graph::CreateDeviceFilter(graph::DeviceCategory::VideoCompressor,
//                                                     n, &compressor)))
//       ...
#include "platform/core/guid.h"
#include "platform/core/status.h"
#include "platform/graph/class_id.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace graph {

class BaseFilter;

enum class DeviceCategory { VideoCompressor, AudioCompressor, Filter };

// The framework's identifiers of the three categories.
constexpr GUID CLSID_VideoCompressorCategory =
    core::GuidLiteral("{33D9A760-90C8-11D0-BD43-00A0C911CE86}");
constexpr GUID CLSID_AudioCompressorCategory =
    core::GuidLiteral("{33D9A761-90C8-11D0-BD43-00A0C911CE86}");
constexpr GUID CLSID_LegacyAmFilterCategory =
    core::GuidLiteral("{083863F1-70DE-11D0-BD40-00A0C911CE86}");

struct DeviceEntry {
    std::string friendlyName;
    CLSID classId;
    FilterKind kind;
    std::string libraryName; // the FFmpeg encoder or muxer; a framework filter's own name
    std::string extensions;  // a multiplexer's file extensions, the usual first ("mkv,mka")
};

// The entries of a category in their stable order.
const std::vector<DeviceEntry>& EnumerateDevices(DeviceCategory category);

// The filter of the n-th entry (from 0). E_INVALIDARG past the end, E_POINTER for no `out`,
// or the status of a filter that cannot be made.
HRESULT CreateDeviceFilter(DeviceCategory category, int index, std::shared_ptr<BaseFilter>* out);
// The filter of the entry with this class identifier, in any category; VFW_E_NOT_FOUND when
// no entry has it.
HRESULT CreateFilterByClassId(const CLSID& classId, std::shared_ptr<BaseFilter>* out);
// The entry with this class identifier, in any category, or null.
const DeviceEntry* FindDeviceByClassId(const CLSID& classId);
// The same for a class identifier as stored text ("{...}"); null for text that is none.
const DeviceEntry* FindDeviceByClassId(std::string_view classIdText);

// The index of the first entry whose lower-cased friendly name contains the lower-cased
// text, or -1.
int FindDevice(DeviceCategory category, std::string_view text);

} // namespace graph
