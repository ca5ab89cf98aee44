#pragma once
// One file being written by a libavformat muxer. Streams are added before the first packet;
// the header is written once every stream has settled its codec parameters (by its first
// packet or by its end), and packets wait until then. Packets are interleaved by time.
// The file is written beside its name as "<name>.partial" and takes its name only when it is
// complete, so a failure (a full disk) leaves a file being replaced as it was.
// Owned by its multiplexer, from Pause until Stop. Not thread-safe: the multiplexer calls it
// under its lock, from whichever input's streaming thread delivers.
#include "platform/graph/av_util.h"
#include "platform/graph/media_sample.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace graph {

class FilterOptions;

// Whether the container stores uncompressed pictures as Windows bitmaps (AVI).
bool StoresWindowsBitmaps(const AVOutputFormat* format);

class MuxFile {
  public:
    // Creates or replaces the file; E_FILE_EXISTS when it exists and `overwrite` is false.
    static HRESULT Open(const AVOutputFormat* format, const FilterOptions& options,
                        const std::string& path, bool overwrite, std::unique_ptr<MuxFile>* out);
    ~MuxFile();
    MuxFile(const MuxFile&) = delete;
    MuxFile& operator=(const MuxFile&) = delete;

    // A new stream described by the type; its index.
    int AddStream(const MediaType& type);
    // A packet of a stream, with its time stamps in packet->time_base (100-ns units when that
    // is unset), counted from `origin`. `type` replaces the stream's parameters while the
    // header is not written yet.
    HRESULT Write(int stream, MediaSample packet, REFERENCE_TIME origin);
    // The stream has ended; its parameters are settled as they are.
    HRESULT EndStream(int stream);
    // The header if it is still missing, every packet held back, the trailer; then closes
    // the file and gives it its name.
    HRESULT Finish();
    // Closes and deletes what was written; a file of that name stays as it was.
    void Abandon();

  private:
    struct Stream {
        bool settled = false;
        std::int64_t lastDts = AV_NOPTS_VALUE;
        bool warnedBackwards = false;
    };
    MuxFile(AVFormatContext* format, std::string path, std::string writtenPath);
    void SetParameters(int stream, const MediaType& type);
    HRESULT WriteHeaderWhenSettled();
    HRESULT WritePacket(int stream, AVPacket* packet);

    AVFormatContext* format_;
    std::string path_;
    // Where the packets go: path_ itself, or the partial file beside it.
    std::string writtenPath_;
    std::vector<Stream> streams_;
    bool headerWritten_ = false;
    bool closed_ = false;
    // Packets that came before the header, in order, with their stream.
    std::deque<std::pair<int, PacketPtr>> waiting_;
};

} // namespace graph
