#include "options/container_check.h"

#include "platform/graph/device_enumerator.h"
#include "platform/graph/multiplexer.h"

#include <tuple>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace options {

namespace {

using graph::DeviceCategory;

const graph::DeviceEntry* Entry(DeviceCategory category, int n) {
    const auto& entries = graph::EnumerateDevices(category);
    return n >= 0 && n < static_cast<int>(entries.size()) ? &entries[n] : nullptr;
}

// The codec a compressor writes; without one the multiplexer stores the stream uncompressed.
AVCodecID CodecOf(DeviceCategory category, int n) {
    if (const graph::DeviceEntry* entry = Entry(category, n)) {
        if (const AVCodec* codec = avcodec_find_encoder_by_name(entry->libraryName.c_str()))
            return codec->id;
    }
    return category == DeviceCategory::VideoCompressor ? AV_CODEC_ID_RAWVIDEO
                                                       : AV_CODEC_ID_PCM_S16LE;
}

QString CompressorName(DeviceCategory category, int n) {
    if (const graph::DeviceEntry* entry = Entry(category, n))
        return QString::fromStdString(entry->friendlyName);
    return category == DeviceCategory::VideoCompressor ? QStringLiteral("Full frames (uncompressed)")
                                                       : QStringLiteral("Uncompressed Audio");
}

const AVOutputFormat* FormatOf(const graph::DeviceEntry& muxer) {
    void* state = nullptr;
    while (const AVOutputFormat* format = av_muxer_iterate(&state)) {
        if (graph::MultiplexerClassId(format) == muxer.classId)
            return format;
    }
    return nullptr;
}

} // namespace

QString ContainerRefusal(int muxerEntry, int videoEntry, int audioEntry) {
    const graph::DeviceEntry* muxer = Entry(DeviceCategory::Filter, muxerEntry);
    if (!muxer || muxer->kind != graph::FilterKind::Multiplexer)
        return {};
    const AVOutputFormat* format = FormatOf(*muxer);
    if (!format)
        return {};
    for (auto [category, n, what] : {std::tuple{DeviceCategory::VideoCompressor, videoEntry, "video"},
                                     std::tuple{DeviceCategory::AudioCompressor, audioEntry, "audio"}}) {
        if (!graph::ContainerHolds(format, CodecOf(category, n)))
            return QStringLiteral("The muxer \"%1\" cannot hold the %2 compressor \"%3\". Choose "
                                  "another %2 compressor or another muxer.")
                .arg(QString::fromStdString(muxer->friendlyName), what, CompressorName(category, n));
    }
    return {};
}

} // namespace options
