#include "platform/graph/sources/multimedia_stream.h"

#include "platform/graph/av_util.h"
#include "platform/graph/sources/stream_length.h"

namespace graph {

HRESULT MultiMediaStream::AddMediaStream(StreamPurpose purpose) {
    requested_.insert(purpose);
    return S_OK;
}

HRESULT MultiMediaStream::OpenFile(const std::string& path) {
    video_ = audio_ = -1;
    AVFormatContext* raw = nullptr;
    int error = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
    if (error < 0)
        return error == AVERROR_INVALIDDATA ? VFW_E_UNKNOWN_FILE_TYPE : StatusFromAv(error);
    FormatContextPtr format(raw);
    error = avformat_find_stream_info(format.get(), nullptr);
    if (error < 0)
        return StatusFromAv(error);
    const int video = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const int audio = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    const StreamEnds ends = MeasureStreams(format.get());
    if (video >= 0)
        video_ = ends.lengths[video];
    if (audio >= 0)
        audio_ = ends.lengths[audio];
    if ((requested_.count(StreamPurpose::PrimaryVideo) && video_ < 0) ||
        (requested_.count(StreamPurpose::PrimaryAudio) && audio_ < 0))
        return VFW_E_NOT_FOUND;
    return S_OK;
}

HRESULT MultiMediaStream::GetDuration(StreamPurpose purpose, REFERENCE_TIME* duration) const {
    if (!duration)
        return E_POINTER;
    const REFERENCE_TIME length = purpose == StreamPurpose::PrimaryVideo ? video_ : audio_;
    if (length < 0)
        return VFW_E_NOT_FOUND;
    *duration = length;
    return S_OK;
}

} // namespace graph
