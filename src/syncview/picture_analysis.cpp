#include "syncview/picture_analysis.h"

#include "align/picture_events.h"
#include "align/progress_span.h"
#include "platform/graph/av_util.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <algorithm>

namespace syncview {

namespace {
// Share of the whole analysis that reading the frame times takes.
constexpr double kFramesShare = 0.1;
constexpr int kPacketsPerReport = 256;
} // namespace

std::size_t FrameTimes::FrameAt(REFERENCE_TIME t) const {
    const auto after = std::upper_bound(starts.begin(), starts.end(), t);
    return after == starts.begin() ? 0 : std::size_t(after - starts.begin() - 1);
}

REFERENCE_TIME FrameTimes::EndOf(std::size_t i) const {
    if (i + 1 < starts.size())
        return starts[i + 1];
    return starts.empty() ? 0 : starts.back() + frameDuration;
}

HRESULT ReadFrameTimes(const std::string& path, const std::function<bool(double)>& progress,
                       FrameTimes* times) {
    times->starts.clear();
    AVFormatContext* opened = nullptr;
    if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0)
        return E_FILE_NOT_FOUND;
    graph::FormatContextPtr format(opened);
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return VFW_E_INVALID_FILE_FORMAT;
    const int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream < 0)
        return VFW_E_NOT_FOUND;
    const AVStream* video = format->streams[stream];
    if (video->avg_frame_rate.num > 0 && video->avg_frame_rate.den > 0)
        times->frameDuration = graph::ToRefTime(1, av_inv_q(video->avg_frame_rate));
    // Times count from the file's start, as the players' do.
    const REFERENCE_TIME fileStart = format->start_time != AV_NOPTS_VALUE
                                         ? graph::ToRefTime(format->start_time, AV_TIME_BASE_Q)
                                         : 0;
    const std::int64_t size = avio_size(format->pb);
    graph::PacketPtr packet(av_packet_alloc());
    for (int read = 0; av_read_frame(format.get(), packet.get()) >= 0; ++read) {
        if (packet->stream_index == stream && packet->pts != AV_NOPTS_VALUE)
            times->starts.push_back(graph::ToRefTime(packet->pts, video->time_base) - fileStart);
        av_packet_unref(packet.get());
        if (read % kPacketsPerReport == 0 && progress && size > 0 &&
            !progress(std::clamp(double(avio_tell(format->pb)) / double(size), 0.0, 1.0)))
            return E_ABORT;
    }
    // Packets come in decoding order; pictures are shown in time order.
    std::sort(times->starts.begin(), times->starts.end());
    times->starts.erase(std::unique(times->starts.begin(), times->starts.end()),
                        times->starts.end());
    return S_OK;
}

void PictureAnalysis::Start(const std::string& path) {
    job_.Stop();
    framesReady_ = false;
    frames_.reset();
    events_.reset();
    job_.Start([this, path](const BackgroundJob::Progress& progress) {
        auto frames = std::make_shared<FrameTimes>();
        if (FAILED(
                ReadFrameTimes(path, align::ProgressSpan(progress, 0, kFramesShare), frames.get())))
            return;
        frames_ = std::move(frames);
        framesReady_ = true;
        auto events = std::make_shared<std::vector<REFERENCE_TIME>>();
        REFERENCE_TIME frameDuration = 0;
        if (SUCCEEDED(align::FindPictureEvents(path, align::ProgressSpan(progress, kFramesShare, 1),
                                               events.get(), &frameDuration)))
            events_ = std::move(events);
    });
}

} // namespace syncview
