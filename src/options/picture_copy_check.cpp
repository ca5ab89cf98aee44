#include "options/picture_copy_check.h"

#include "options/container_check.h"
#include "options/output_extension.h"
#include "platform/editing/media_file.h"
#include "platform/graph/writing/device_enumerator.h"
#include "platform/graph/writing/head_recoder.h"
#include "platform/graph/writing/multiplexer.h"
#include "platform/graph/writing/packet_cut.h"

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

} // namespace

AVRational UnevenFrameTimeBase(const std::string& path) {
    editing::MediaFile file;
    if (FAILED(file.Open(path, AVMEDIA_TYPE_VIDEO)) || !file.FrameTimesVary(kFramesLookedAt))
        return {0, 1};
    return file.Stream()->time_base;
}

QString PictureCopyRefusal(const PictureCopySource& source, const OutputSettings& output,
                           const graph::DeviceEntry* muxer) {
    const QString cannot = QStringLiteral("The source picture cannot be copied: ");
    if (source.videoCount == 0)
        return {};
    if (source.videoCount > 1)
        return cannot + "it is copied from one video only.";
    // The dialog keeps sizes even: an odd side is as near as it gets.
    if (std::abs(output.outputWidth - source.nativeWidth) > 1 ||
        std::abs(output.outputHeight - source.nativeHeight) > 1)
        return cannot + QStringLiteral("the output size %1*%2 is not the video's own %3*%4. "
                                       "Choose the original size.")
                            .arg(output.outputWidth)
                            .arg(output.outputHeight)
                            .arg(source.nativeWidth)
                            .arg(source.nativeHeight);
    if (std::abs(output.outputFrameRate - source.frameRate) > 0.0005)
        return cannot + QString::asprintf("the output frame rate %.3f is not the video's own "
                                          "%.3f. Choose the original frame rate.",
                                          output.outputFrameRate, source.frameRate);
    const AVOutputFormat* format = output.outputFormat == FormatAvi
                                       ? av_guess_format("avi", nullptr, nullptr)
                                       : (muxer ? MuxerFormat(*muxer) : nullptr);
    if (!format)
        return cannot + "the chosen muxer writes no file of its own.";
    const StoredPicture picture = PictureOf(source.path);
    const AVCodecID codec = picture.codec;
    if (codec == AV_CODEC_ID_NONE)
        return cannot + QStringLiteral("the picture of %1 cannot be read.")
                            .arg(QString::fromStdString(source.path));
    if (!graph::ContainerHolds(format, codec))
        return cannot + QStringLiteral("the %1 container cannot hold its %2 pictures. Choose "
                                       "another muxer.")
                            .arg(QString::fromUtf8(format->name),
                                 QString::fromUtf8(avcodec_get_name(codec)));
    if (picture.reordered && graph::KeepsNoShowingTimes(format))
        return cannot + QStringLiteral("its %1 pictures are stored out of showing order "
                                       "(B-frames), and the %2 container keeps no showing times, "
                                       "so players would show them late. Choose the matroska or "
                                       "mp4 muxer.")
                            .arg(QString::fromUtf8(avcodec_get_name(codec)),
                                 QString::fromUtf8(format->name));
    if (graph::KeepsNoShowingTimes(format) && UnevenFrameTimeBase(source.path).num > 0)
        return cannot + QStringLiteral("its frames are spaced unevenly (a variable frame rate, "
                                       "as phones record), and the %1 container keeps no "
                                       "showing times, so players would show them at a steady "
                                       "rate, off their sound. Choose the matroska or mp4 muxer.")
                            .arg(QString::fromUtf8(format->name));
    // Frames before the first key frame from the start are coded again for a container that
    // shows every frame it holds; a codec of key frames only never needs that.
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(codec);
    const bool keyFramesOnly = descriptor && (descriptor->props & AV_CODEC_PROP_INTRA_ONLY);
    if (!graph::HidesLeadingFrames(format) && !keyFramesOnly &&
        !graph::HeadRecoder::CanRecode(codec))
        return cannot + QStringLiteral("the %1 container shows every frame it holds, and the %2 "
                                       "frames before the first key frame cannot be coded "
                                       "again. Choose the mp4 or mov muxer.")
                            .arg(QString::fromUtf8(format->name),
                                 QString::fromUtf8(avcodec_get_name(codec)));
    return {};
}

} // namespace options
