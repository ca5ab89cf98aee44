// Tells the core how to read a file and decode its streams. Runs while the program starts;
// the stage's library is linked whole so that this file is kept although nothing names it.
#include "platform/graph/filter_factories.h"
#include "platform/graph/sources/decoder.h"
#include "platform/graph/sources/demultiplexer.h"
#include "platform/graph/sources/file_source.h"

namespace graph {
namespace {

HRESULT MakeDecoder(const MediaType& input, std::unique_ptr<BaseFilter>* out) {
    std::unique_ptr<Decoder> decoder;
    const HRESULT hr = Decoder::Create(input, &decoder);
    if (SUCCEEDED(hr))
        *out = std::move(decoder);
    return hr;
}

HRESULT MakeFileReader(const std::string& path, std::unique_ptr<BaseFilter>* source,
                       std::unique_ptr<BaseFilter>* demultiplexer) {
    std::unique_ptr<FileSource> file;
    const HRESULT hr = FileSource::Create(path, &file);
    if (FAILED(hr))
        return hr;
    *source = std::move(file);
    *demultiplexer = std::make_unique<Demultiplexer>();
    return S_OK;
}

struct Registration {
    Registration() {
        RegisterDecoderFactory(MakeDecoder);
        RegisterFileReaderFactory(MakeFileReader);
    }
} const registration;

} // namespace
} // namespace graph
