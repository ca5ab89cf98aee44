#include "platform/graph/sources/stream_length.h"

#include "platform/graph/av_util.h"

#include <algorithm>

namespace graph {

namespace {

// How far before the end reading starts; longer than any stream's gap between packets.
constexpr std::int64_t kTail = 10 * AV_TIME_BASE;

struct Ends {
    std::vector<REFERENCE_TIME> stop; // media time, -1 = nothing seen
};

Ends ReadEnds(AVFormatContext* format, std::int64_t from) {
    Ends ends{std::vector<REFERENCE_TIME>(format->nb_streams, -1)};
    if (from > 0)
        av_seek_frame(format, -1, from, AVSEEK_FLAG_BACKWARD);
    else
        avformat_seek_file(format, -1, INT64_MIN, MediaStart(format), INT64_MAX, 0);
    PacketPtr packet(av_packet_alloc());
    const std::int64_t zero = MediaStart(format);
    // Streams can appear while the file is read (a transport stream that announces another
    // program); their ends are kept too.
    const auto grow = [&] {
        ends.stop.resize(std::max<std::size_t>(ends.stop.size(), format->nb_streams), -1);
    };
    while (packet && av_read_frame(format, packet.get()) >= 0) {
        grow();
        const unsigned index = packet->stream_index;
        const std::int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (index < format->nb_streams && ts != AV_NOPTS_VALUE) {
            const AVRational base = format->streams[index]->time_base;
            const REFERENCE_TIME stop =
                ToRefTime(ts + packet->duration, base) - ToRefTime(zero, AV_TIME_BASE_Q);
            ends.stop[index] = std::max(ends.stop[index], stop);
        }
        av_packet_unref(packet.get());
    }
    avformat_seek_file(format, -1, INT64_MIN, MediaStart(format), INT64_MAX, 0);
    grow();
    return ends;
}

} // namespace

std::int64_t MediaStart(const AVFormatContext* format) {
    return format->start_time == AV_NOPTS_VALUE ? 0 : format->start_time;
}

StreamEnds MeasureStreams(AVFormatContext* format) {
    const bool knownEnd = format->duration != AV_NOPTS_VALUE && format->duration > kTail;
    Ends ends = ReadEnds(format, knownEnd ? MediaStart(format) + format->duration - kTail : 0);
    const bool missed = std::any_of(ends.stop.begin(), ends.stop.end(),
                                    [](REFERENCE_TIME stop) { return stop < 0; });
    if (knownEnd && missed)
        ends = ReadEnds(format, 0);

    StreamEnds result;
    const std::int64_t zero = MediaStart(format);
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* stream = format->streams[i];
        REFERENCE_TIME first = 0;
        if (stream->start_time != AV_NOPTS_VALUE)
            first =
                ToRefTime(stream->start_time, stream->time_base) - ToRefTime(zero, AV_TIME_BASE_Q);
        const REFERENCE_TIME stop = ends.stop[i];
        result.lengths.push_back(stop < 0 ? 0 : std::max<REFERENCE_TIME>(stop - first, 0));
        result.fileLength = std::max(result.fileLength, stop);
    }
    return result;
}

} // namespace graph
