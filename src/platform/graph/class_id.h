#pragma once
// Class identifiers derived from names: a filter kind and the name of what it wraps (an
// FFmpeg encoder or multiplexer, or a framework filter's own name) always give the same
// identifier, on every machine and in every run, so a stored identifier finds its filter again.
// Plain values, computed alike on any thread.
#include "platform/core/guid.h"

#include <string_view>

namespace graph {

enum class FilterKind { Framework, VideoCompressor, AudioCompressor, Multiplexer };

CLSID ClassIdOf(FilterKind kind, std::string_view name);

} // namespace graph
