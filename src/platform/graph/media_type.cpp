#include "platform/graph/media_type.h"

namespace graph {

MediaType::MediaType(MajorType major, const AVCodecParameters* parameters, AVRational timeBase,
                     REFERENCE_TIME avgTimePerFrame)
    : major_(major), timeBase_(timeBase), avgTimePerFrame_(avgTimePerFrame) {
    AVCodecParameters* copy = avcodec_parameters_alloc();
    if (copy && avcodec_parameters_copy(copy, parameters) >= 0)
        parameters_.reset(copy, CodecParametersDeleter{});
    else
        avcodec_parameters_free(&copy);
}

MajorType MajorTypeOf(const AVCodecParameters* parameters) {
    switch (parameters->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
        return MajorType::Video;
    case AVMEDIA_TYPE_AUDIO:
        return MajorType::Audio;
    default:
        return MajorType::Other;
    }
}

} // namespace graph
