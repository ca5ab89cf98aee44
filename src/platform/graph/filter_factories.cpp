#include "platform/graph/filter_factories.h"

#include <map>

namespace graph {
namespace {

struct Factories {
    DecoderFactory decoder;
    std::map<MajorType, RendererFactory> renderers;
    FileReaderFactory fileReader;
};

// Built on first use, so registrations from other files' static initialisers find it whatever
// order those run in.
Factories& Table() {
    static Factories table;
    return table;
}

} // namespace

void RegisterDecoderFactory(DecoderFactory factory) {
    Table().decoder = std::move(factory);
}

void RegisterRendererFactory(MajorType major, RendererFactory factory) {
    Table().renderers[major] = std::move(factory);
}

void RegisterFileReaderFactory(FileReaderFactory factory) {
    Table().fileReader = std::move(factory);
}

HRESULT CreateDecoder(const MediaType& input, std::unique_ptr<BaseFilter>* out) {
    if (!out)
        return E_POINTER;
    if (!Table().decoder)
        return VFW_E_NOT_FOUND;
    return Table().decoder(input, out);
}

HRESULT CreateRenderer(MajorType major, std::unique_ptr<BaseFilter>* out) {
    if (!out)
        return E_POINTER;
    const auto found = Table().renderers.find(major);
    if (found == Table().renderers.end())
        return VFW_E_NOT_FOUND;
    *out = found->second();
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT CreateFileReader(const std::string& path, std::unique_ptr<BaseFilter>* source,
                         std::unique_ptr<BaseFilter>* demultiplexer) {
    if (!source || !demultiplexer)
        return E_POINTER;
    if (!Table().fileReader)
        return VFW_E_NOT_FOUND;
    return Table().fileReader(path, source, demultiplexer);
}

} // namespace graph
