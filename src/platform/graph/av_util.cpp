#include "platform/graph/av_util.h"

extern "C" {
#include <libavutil/error.h>
}

#include <cerrno>
#include <cmath>

namespace graph {

HRESULT StatusFromAv(int error) {
    if (error >= 0)
        return S_OK;
    switch (error) {
    case AVERROR(ENOMEM):
        return E_OUTOFMEMORY;
    case AVERROR(ENOENT):
        return E_FILE_NOT_FOUND;
    case AVERROR(ENOTDIR):
        return E_PATH_NOT_FOUND;
    case AVERROR(EACCES):
    case AVERROR(EPERM):
    case AVERROR(EROFS):
        return E_ACCESSDENIED;
    case AVERROR(EEXIST):
        return E_FILE_EXISTS;
    case AVERROR(ENOSPC):
    case AVERROR(EDQUOT):
    case AVERROR(EFBIG):
        return E_DISK_FULL;
    case AVERROR(EIO):
        return E_WRITE_FAULT;
    case AVERROR_INVALIDDATA:
        return VFW_E_INVALID_FILE_FORMAT;
    case AVERROR_DECODER_NOT_FOUND:
    case AVERROR_DEMUXER_NOT_FOUND:
        return VFW_E_UNSUPPORTED_STREAM;
    default:
        return E_FAIL;
    }
}

AVRational ExactFrameRate(double framesPerSecond) {
    if (!(framesPerSecond > 0) || !std::isfinite(framesPerSecond))
        return {0, 1};
    // Typed to three places the NTSC rates are 1 ppm off, and a frame time rounded to 100 ns
    // puts them at most 8 ppm off; whole rates lie 1000 ppm away.
    constexpr double kNtscTolerance = 2e-5;
    const double perThousand = framesPerSecond * 1001.0 / 1000.0;
    const double whole = std::round(perThousand);
    if (whole >= 1 && whole * 1000 <= 65535 &&
        std::abs(perThousand - whole) <= kNtscTolerance * whole)
        return {static_cast<int>(whole) * 1000, 1001};
    return av_d2q(framesPerSecond, 65535);
}

AVRational FrameTimeBase(REFERENCE_TIME frameDuration) {
    if (frameDuration <= 0)
        return {1, 1000};
    return av_inv_q(
        ExactFrameRate(static_cast<double>(UNITS) / static_cast<double>(frameDuration)));
}

std::string AvErrorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return text;
}

} // namespace graph
