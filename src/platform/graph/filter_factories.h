#pragma once
// How the graph makes the filters that Render and RenderFile add without naming their classes:
// the stages built on the core (reading files, playback) register a factory here, so the core
// depends on none of them. Registrations run while the program starts, before main, on one
// thread; afterwards the table is only read, on the user-interface thread that builds graphs.
// Each Create call hands its new filters to the caller.
#include "platform/graph/filter.h"
#include "platform/graph/media_type.h"

#include <functional>
#include <memory>
#include <string>

namespace graph {

using DecoderFactory =
    std::function<HRESULT(const MediaType& input, std::unique_ptr<BaseFilter>* out)>;
using RendererFactory = std::function<std::unique_ptr<BaseFilter>()>;
// A file's reader is two filters: the source that opens the file and the demultiplexer that
// splits it into streams.
using FileReaderFactory =
    std::function<HRESULT(const std::string& path, std::unique_ptr<BaseFilter>* source,
                          std::unique_ptr<BaseFilter>* demultiplexer)>;

void RegisterDecoderFactory(DecoderFactory factory);
// One renderer per major type; a later registration for the same type replaces the earlier.
void RegisterRendererFactory(MajorType major, RendererFactory factory);
void RegisterFileReaderFactory(FileReaderFactory factory);

// VFW_E_NOT_FOUND when no stage linked into the program registered the factory; otherwise the
// factory's own result.
HRESULT CreateDecoder(const MediaType& input, std::unique_ptr<BaseFilter>* out);
HRESULT CreateRenderer(MajorType major, std::unique_ptr<BaseFilter>* out);
HRESULT CreateFileReader(const std::string& path, std::unique_ptr<BaseFilter>* source,
                         std::unique_ptr<BaseFilter>* demultiplexer);

} // namespace graph
