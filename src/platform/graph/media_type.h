#pragma once
// What flows over a connection: a major type that callers branch on, plus the codec
// parameters a downstream filter needs to take the stream over.
// Copies of a type share its codec parameters, which never change once made, so any thread
// may read a copy.
#include "platform/core/reftime.h"

extern "C" {
#include <libavcodec/codec_par.h>
#include <libavutil/rational.h>
}

#include <memory>

namespace graph {

enum class MajorType { Video, Audio, Stream, Other };

struct CodecParametersDeleter {
    void operator()(AVCodecParameters* p) const { avcodec_parameters_free(&p); }
};

class MediaType {
  public:
    MediaType() = default;
    explicit MediaType(MajorType major) : major_(major) {}
    // Compressed or decoded stream described by a copy of the library's parameters.
    MediaType(MajorType major, const AVCodecParameters* parameters, AVRational timeBase,
              REFERENCE_TIME avgTimePerFrame);

    MajorType Major() const { return major_; }
    // Null for the byte stream between a file source and a demultiplexer.
    const AVCodecParameters* Parameters() const { return parameters_.get(); }
    // Decoded frames carry no codec: each frame states its own format.
    bool IsDecoded() const { return parameters_ && parameters_->codec_id == AV_CODEC_ID_NONE; }
    AVRational TimeBase() const { return timeBase_; }
    // 0 when the stream has no steady frame rate or no picture.
    REFERENCE_TIME AvgTimePerFrame() const { return avgTimePerFrame_; }

  private:
    MajorType major_ = MajorType::Other;
    std::shared_ptr<const AVCodecParameters> parameters_;
    AVRational timeBase_{1, 1};
    REFERENCE_TIME avgTimePerFrame_ = 0;
};

// The major type of a library stream: subtitles, data and attachments are "other".
MajorType MajorTypeOf(const AVCodecParameters* parameters);

} // namespace graph
