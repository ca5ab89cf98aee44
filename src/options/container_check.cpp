#include "options/container_check.h"

#include "language/language.h"
#include "platform/graph/writing/device_enumerator.h"
#include "platform/graph/writing/multiplexer.h"
#include "resources/resource.h"

#include <utility>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace options {

namespace {

// The codec a compressor writes; without one the multiplexer stores the stream uncompressed.
AVCodecID CodecOf(const graph::DeviceEntry* compressor, bool picture) {
    if (compressor) {
        if (const AVCodec* codec = avcodec_find_encoder_by_name(compressor->libraryName.c_str()))
            return codec->id;
    }
    return picture ? AV_CODEC_ID_RAWVIDEO : AV_CODEC_ID_PCM_S16LE;
}

// As the compressor lists name it.
QString CompressorName(const graph::DeviceEntry* compressor, bool picture) {
    if (compressor)
        return QString::fromStdString(compressor->friendlyName);
    return Language().GetString(picture ? IDS_UNCOMPRESSED_VIDEO : IDS_UNCOMPRESSED_AUDIO);
}

} // namespace

const AVOutputFormat* MuxerFormat(const graph::DeviceEntry& muxer) {
    if (muxer.kind != graph::FilterKind::Multiplexer)
        return nullptr;
    void* state = nullptr;
    while (const AVOutputFormat* format = av_muxer_iterate(&state)) {
        if (graph::MultiplexerClassId(format) == muxer.classId)
            return format;
    }
    return nullptr;
}

QString ContainerRefusal(const graph::DeviceEntry* muxer, const graph::DeviceEntry* video,
                         const graph::DeviceEntry* audio, bool pictureCopied) {
    const AVOutputFormat* format = muxer ? MuxerFormat(*muxer) : nullptr;
    if (!format)
        return {};
    for (auto [compressor, picture] : {std::pair{video, true}, std::pair{audio, false}}) {
        if (picture && pictureCopied)
            continue;
        // A sentence for each stream: languages word "video" and "audio" differently.
        if (!graph::ContainerHolds(format, CodecOf(compressor, picture)))
            return Language()
                .GetString(picture ? IDS_MUXER_REFUSES_VIDEO : IDS_MUXER_REFUSES_AUDIO)
                .arg(QString::fromStdString(muxer->friendlyName),
                     CompressorName(compressor, picture));
    }
    return {};
}

} // namespace options
