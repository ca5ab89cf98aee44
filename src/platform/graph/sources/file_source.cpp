#include "platform/graph/sources/file_source.h"

#include "platform/graph/av_util.h"

namespace graph {

HRESULT FileSource::Create(const std::string& path, std::unique_ptr<FileSource>* out) {
    if (!out)
        return E_POINTER;
    AVIOContext* io = nullptr;
    const int error = avio_open(&io, path.c_str(), AVIO_FLAG_READ);
    if (error < 0)
        return StatusFromAv(error);
    out->reset(new FileSource(path, io));
    return S_OK;
}

FileSource::FileSource(std::string path, AVIOContext* io)
    : BaseFilter("File Source"), path_(std::move(path)), io_(io) {
    AddPin(PinDirection::Output, "Output", MediaType(MajorType::Stream));
}

FileSource::~FileSource() {
    avio_closep(&io_);
}

} // namespace graph
