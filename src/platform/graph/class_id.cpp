#include "platform/graph/class_id.h"

#include <string>

namespace graph {

namespace {

// The namespace of the identifiers this framework derives from names.
constexpr GUID kClassIdSpace = core::GuidLiteral("{5B0E4C1A-8F3D-4E62-9A71-2C6D9E13B4F7}");

std::string_view KindWord(FilterKind kind) {
    switch (kind) {
    case FilterKind::VideoCompressor:
        return "video-compressor";
    case FilterKind::AudioCompressor:
        return "audio-compressor";
    case FilterKind::Multiplexer:
        return "multiplexer";
    case FilterKind::Framework:
        break;
    }
    return "filter";
}

} // namespace

CLSID ClassIdOf(FilterKind kind, std::string_view name) {
    std::string key(KindWord(kind));
    key += '/';
    key += name;
    return core::NameBasedGuid(kClassIdSpace, key);
}

} // namespace graph
