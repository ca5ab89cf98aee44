#include "media/sound_only.h"

#include "platform/graph/av_util.h"

namespace media {

bool HoldsSoundOnly(const std::string& path) {
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, ("file:" + path).c_str(), nullptr, nullptr) < 0)
        return false;
    const graph::FormatContextPtr format(raw);
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return false;
    bool sound = false;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* stream = format->streams[i];
        const AVMediaType type = stream->codecpar->codec_type;
        if (type == AVMEDIA_TYPE_VIDEO && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            return false;
        sound = sound || type == AVMEDIA_TYPE_AUDIO;
    }
    return sound;
}

} // namespace media
