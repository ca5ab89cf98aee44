#include "options/picture_copy_check.h"

#include "language/language.h"
#include "options/container_check.h"
#include "options/output_extension.h"
#include "platform/editing/media_file.h"
#include "platform/graph/writing/device_enumerator.h"
#include "platform/graph/writing/head_recoder.h"
#include "platform/graph/writing/multiplexer.h"
#include "platform/graph/writing/packet_cut.h"
#include "resources/resource.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <cmath>
#include <cstdlib>

namespace options {

namespace {

// Enough of the first frames to tell a phone's picture from a steady one.
constexpr int kFramesLookedAt = 300;

struct StoredPicture {
    AVCodecID codec = AV_CODEC_ID_NONE; // none when the picture cannot be read
    bool reordered = false;             // coded out of showing order (B-frames)
};

StoredPicture PictureOf(const std::string& path) {
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, ("file:" + path).c_str(), nullptr, nullptr) < 0)
        return {};
    StoredPicture picture;
    if (avformat_find_stream_info(format, nullptr) >= 0) {
        const int index = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        if (index >= 0) {
            picture.codec = format->streams[index]->codecpar->codec_id;
            picture.reordered = format->streams[index]->codecpar->video_delay > 0;
        }
    }
    avformat_close_input(&format);
    return picture;
}

// A reason's text in the loaded language, its numbers and names still to fill in.
QString Reason(int id) {
    return Language().GetString(id);
}

// The reason, in the loaded language, after the words that say what is refused.
QString Refused(const QString& reason) {
    return Language().GetString(IDS_PICTURE_COPY_REFUSED).arg(reason);
}

} // namespace

AVRational UnevenFrameTimeBase(const std::string& path) {
    editing::MediaFile file;
    if (FAILED(file.Open(path, AVMEDIA_TYPE_VIDEO)) || !file.FrameTimesVary(kFramesLookedAt))
        return {0, 1};
    return file.Stream()->time_base;
}

QString PictureCopyRefusal(const PictureCopySource& source, const OutputSettings& output,
                           const graph::DeviceEntry* muxer) {
    if (source.videoCount == 0)
        return {};
    if (source.videoCount > 1)
        return Refused(Reason(IDS_PICTURE_COPY_ONE_VIDEO));
    // The dialog keeps sizes even: an odd side is as near as it gets.
    if (std::abs(output.outputWidth - source.nativeWidth) > 1 ||
        std::abs(output.outputHeight - source.nativeHeight) > 1)
        return Refused(Reason(IDS_PICTURE_COPY_SIZE)
                           .arg(output.outputWidth)
                           .arg(output.outputHeight)
                           .arg(source.nativeWidth)
                           .arg(source.nativeHeight));
    // Rates with a point whatever the language, as the dialog shows them.
    if (std::abs(output.outputFrameRate - source.frameRate) > 0.0005)
        return Refused(Reason(IDS_PICTURE_COPY_FRAME_RATE)
                           .arg(QString::asprintf("%.3f", output.outputFrameRate),
                                QString::asprintf("%.3f", source.frameRate)));
    const AVOutputFormat* format = output.outputFormat == FormatAvi
                                       ? av_guess_format("avi", nullptr, nullptr)
                                       : (muxer ? MuxerFormat(*muxer) : nullptr);
    if (!format)
        return Refused(Reason(IDS_PICTURE_COPY_NO_FILE));
    const StoredPicture picture = PictureOf(source.path);
    const AVCodecID codec = picture.codec;
    if (codec == AV_CODEC_ID_NONE)
        return Refused(
            Reason(IDS_PICTURE_COPY_UNREADABLE).arg(QString::fromStdString(source.path)));
    const QString container = QString::fromUtf8(format->name);
    const QString codecName = QString::fromUtf8(avcodec_get_name(codec));
    if (!graph::ContainerHolds(format, codec))
        return Refused(Reason(IDS_PICTURE_COPY_CODEC).arg(container, codecName));
    if (picture.reordered && graph::KeepsNoShowingTimes(format))
        return Refused(Reason(IDS_PICTURE_COPY_REORDERED).arg(codecName, container));
    if (graph::KeepsNoShowingTimes(format) && UnevenFrameTimeBase(source.path).num > 0)
        return Refused(Reason(IDS_PICTURE_COPY_UNEVEN).arg(container));
    // Frames before the first key frame from the start are coded again for a container that
    // shows every frame it holds; a codec of key frames only never needs that.
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(codec);
    const bool keyFramesOnly = descriptor && (descriptor->props & AV_CODEC_PROP_INTRA_ONLY);
    if (!graph::HidesLeadingFrames(format) && !keyFramesOnly &&
        !graph::HeadRecoder::CanRecode(codec))
        return Refused(Reason(IDS_PICTURE_COPY_LEADING_FRAMES).arg(container, codecName));
    return {};
}

} // namespace options
