#include "platform/graph/av_util.h"

extern "C" {
#include <libavutil/error.h>
}

#include <cerrno>

namespace graph {

HRESULT StatusFromAv(int error) {
    if (error >= 0)
        return S_OK;
    switch (error) {
    case AVERROR(ENOMEM):
        return E_OUTOFMEMORY;
    case AVERROR(ENOENT):
        return E_FILE_NOT_FOUND;
    case AVERROR(EACCES):
        return E_ACCESSDENIED;
    case AVERROR_INVALIDDATA:
        return VFW_E_INVALID_FILE_FORMAT;
    case AVERROR_DECODER_NOT_FOUND:
    case AVERROR_DEMUXER_NOT_FOUND:
        return VFW_E_UNSUPPORTED_STREAM;
    default:
        return E_FAIL;
    }
}

std::string AvErrorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return text;
}

} // namespace graph
