#include "platform/graph/writing/mux_file.h"

#include "platform/graph/writing/filter_options.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <cstring>
#include <filesystem>

namespace graph {

bool StoresWindowsBitmaps(const AVOutputFormat* format) {
    return std::strcmp(format->name, "avi") == 0;
}

namespace {

namespace fs = std::filesystem;

// A regular file is written beside its name, under a name no other file has; a device or a
// pipe the user names is written in place.
std::string WrittenPath(const std::string& path) {
    std::error_code ignored;
    const fs::path target = fs::u8path(path);
    if (fs::exists(target, ignored) && !fs::is_regular_file(target, ignored))
        return path;
    std::string candidate = path + ".partial";
    for (int n = 2; fs::exists(fs::u8path(candidate), ignored); ++n)
        candidate = path + ".partial" + std::to_string(n);
    return candidate;
}

} // namespace

HRESULT MuxFile::Open(const AVOutputFormat* format, const FilterOptions& options,
                      const std::string& path, bool overwrite, std::unique_ptr<MuxFile>* out) {
    std::error_code ignored;
    if (!overwrite && std::filesystem::exists(std::filesystem::u8path(path), ignored))
        return E_FILE_EXISTS;
    AVFormatContext* context = nullptr;
    int error = avformat_alloc_output_context2(&context, format, nullptr, nullptr);
    if (error < 0)
        return StatusFromAv(error);
    std::unique_ptr<MuxFile> file(new MuxFile(context, path, WrittenPath(path)));
    const HRESULT hr = options.CopyTo(context);
    if (FAILED(hr))
        return hr;
    // Uncompressed pictures reach AVI bottom-up, as Windows stores them.
    if (StoresWindowsBitmaps(format))
        av_opt_set_int(context->priv_data, "flipped_raw_rgb", 1, 0);
    // The "file:" prefix keeps a name with a colon from being taken for a protocol.
    error = avio_open(&context->pb, ("file:" + file->writtenPath_).c_str(), AVIO_FLAG_WRITE);
    if (error < 0)
        return StatusFromAv(error);
    *out = std::move(file);
    return S_OK;
}

MuxFile::MuxFile(AVFormatContext* format, std::string path, std::string writtenPath)
    : format_(format), path_(std::move(path)), writtenPath_(std::move(writtenPath)) {}

MuxFile::~MuxFile() {
    if (!closed_)
        Abandon();
    avformat_free_context(format_);
}

void MuxFile::Abandon() {
    closed_ = true;
    const bool opened = format_->pb != nullptr;
    if (opened)
        avio_closep(&format_->pb);
    std::error_code ignored;
    if (opened && writtenPath_ != path_)
        fs::remove(fs::u8path(writtenPath_), ignored);
}

int MuxFile::AddStream(const MediaType& type) {
    AVStream* stream = avformat_new_stream(format_, nullptr);
    if (!stream)
        return -1;
    streams_.push_back({});
    SetParameters(stream->index, type);
    return stream->index;
}

void MuxFile::SetParameters(int index, const MediaType& type) {
    AVStream* stream = format_->streams[index];
    if (!type.Parameters() || avcodec_parameters_copy(stream->codecpar, type.Parameters()) < 0)
        return;
    AVCodecParameters* p = stream->codecpar;
    // A tag from elsewhere is kept only when it means the same codec here; otherwise the
    // muxer chooses its own.
    if (!format_->oformat->codec_tag ||
        av_codec_get_id(format_->oformat->codec_tag, p->codec_tag) != p->codec_id)
        p->codec_tag = 0;
    stream->time_base = type.TimeBase();
    if (type.AvgTimePerFrame() > 0) {
        stream->avg_frame_rate = av_inv_q(FrameTimeBase(type.AvgTimePerFrame()));
        stream->r_frame_rate = stream->avg_frame_rate;
    }
}

HRESULT MuxFile::Write(int stream, MediaSample sample, REFERENCE_TIME origin) {
    if (closed_ || stream < 0 || stream >= static_cast<int>(streams_.size()) || !sample.packet)
        return E_UNEXPECTED;
    if (sample.type && !headerWritten_)
        SetParameters(stream, *sample.type);
    streams_[stream].settled = true;
    PacketPtr packet = std::move(sample.packet);
    if (packet->time_base.num <= 0 || packet->time_base.den <= 0)
        packet->time_base = kRefTimeBase;
    const std::int64_t shift = av_rescale_q(origin, kRefTimeBase, packet->time_base);
    if (packet->pts != AV_NOPTS_VALUE)
        packet->pts -= shift;
    if (packet->dts != AV_NOPTS_VALUE)
        packet->dts -= shift;
    packet->stream_index = stream;
    if (!headerWritten_) {
        waiting_.emplace_back(stream, std::move(packet));
        return WriteHeaderWhenSettled();
    }
    return WritePacket(stream, packet.get());
}

HRESULT MuxFile::EndStream(int stream) {
    if (stream < 0 || stream >= static_cast<int>(streams_.size()))
        return E_UNEXPECTED;
    streams_[stream].settled = true;
    return headerWritten_ ? S_OK : WriteHeaderWhenSettled();
}

HRESULT MuxFile::WriteHeaderWhenSettled() {
    for (const Stream& stream : streams_) {
        if (!stream.settled)
            return S_OK;
    }
    const int error = avformat_write_header(format_, nullptr);
    if (error < 0) {
        av_log(format_, AV_LOG_ERROR, "%s\n", AvErrorText(error).c_str());
        return StatusFromAv(error);
    }
    headerWritten_ = true;
    while (!waiting_.empty()) {
        auto [stream, packet] = std::move(waiting_.front());
        waiting_.pop_front();
        const HRESULT hr = WritePacket(stream, packet.get());
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT MuxFile::WritePacket(int index, AVPacket* packet) {
    av_packet_rescale_ts(packet, packet->time_base, format_->streams[index]->time_base);
    packet->time_base = format_->streams[index]->time_base;
    // A packet that goes back in time cannot be stored after its predecessors.
    Stream& stream = streams_[index];
    if (packet->dts != AV_NOPTS_VALUE && stream.lastDts != AV_NOPTS_VALUE &&
        packet->dts < stream.lastDts) {
        if (!stream.warnedBackwards)
            av_log(format_, AV_LOG_WARNING, "stream %d went back in time; dropped\n", index);
        stream.warnedBackwards = true;
        return S_OK;
    }
    if (packet->dts != AV_NOPTS_VALUE)
        stream.lastDts = packet->dts;
    const int error = av_interleaved_write_frame(format_, packet);
    return error < 0 ? StatusFromAv(error) : S_OK;
}

HRESULT MuxFile::Finish() {
    if (closed_)
        return S_OK;
    closed_ = true;
    HRESULT hr = S_OK;
    if (!headerWritten_) {
        for (Stream& stream : streams_)
            stream.settled = true;
        hr = WriteHeaderWhenSettled();
    }
    if (headerWritten_) {
        const int error = av_write_trailer(format_);
        if (error < 0 && SUCCEEDED(hr))
            hr = StatusFromAv(error);
    }
    const int error = avio_closep(&format_->pb);
    if (error < 0 && SUCCEEDED(hr))
        hr = StatusFromAv(error);
    if (writtenPath_ == path_)
        return hr;
    std::error_code failure;
    if (SUCCEEDED(hr))
        fs::rename(fs::u8path(writtenPath_), fs::u8path(path_), failure);
    if (FAILED(hr) || failure) {
        std::error_code ignored;
        fs::remove(fs::u8path(writtenPath_), ignored);
    }
    return failure ? StatusFromAv(AVERROR(failure.value())) : hr;
}

} // namespace graph
