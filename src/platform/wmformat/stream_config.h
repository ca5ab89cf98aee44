#pragma once
// One stream of a Windows Media profile, in the shape of the runtime's stream configuration:
// its number, names and bit rate, and its media properties (the media type; for a picture
// stream also the quality and the key-frame spacing). Plain values: a profile keeps a copy of
// each stream added to it. User-interface thread only, like everything in this library.
#include "platform/core/reftime.h"
#include "platform/core/status.h"
#include "platform/wmformat/media_type.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace wmformat {

class MediaProps {
  public:
    explicit MediaProps(const GUID& streamType) : streamType_(streamType) {}

    // The major type of the stream these properties belong to.
    const GUID& GetType() const { return streamType_; }
    // The type set last; an empty type until then. E_POINTER when `type` is null.
    HRESULT GetMediaType(WM_MEDIA_TYPE* type) const;
    // E_INVALIDARG for a type of another major type than the stream's, or one whose format
    // block does not agree with itself (see FormatBlockIsWhole).
    HRESULT SetMediaType(const WM_MEDIA_TYPE& type);

  private:
    GUID streamType_;
    WM_MEDIA_TYPE type_;
};

class VideoMediaProps : public MediaProps {
  public:
    using MediaProps::MediaProps;

    // 0 favours smooth motion, 100 sharp pictures; above 100 gives E_INVALIDARG.
    HRESULT SetQuality(std::uint32_t quality);
    std::uint32_t GetQuality() const { return quality_; }
    // The longest time between two key frames; 0 leaves it to the encoder. A negative time
    // gives E_INVALIDARG.
    HRESULT SetMaxKeyFrameSpacing(REFERENCE_TIME spacing);
    REFERENCE_TIME GetMaxKeyFrameSpacing() const { return maxKeyFrameSpacing_; }

  private:
    std::uint32_t quality_ = 0;
    REFERENCE_TIME maxKeyFrameSpacing_ = 0;
};

class StreamConfig {
  public:
    // A stream of this major type with no number, names, bit rate or media type yet.
    explicit StreamConfig(const GUID& streamType) : props_(streamType) {}

    const GUID& GetStreamType() const { return props_.GetType(); }
    // 1 to 63, the numbers an ASF file gives its streams; others give E_INVALIDARG.
    HRESULT SetStreamNumber(std::uint16_t number);
    std::uint16_t GetStreamNumber() const { return number_; } // 0 until set
    HRESULT SetStreamName(std::string_view name);
    const std::string& GetStreamName() const { return name_; }
    // The name of the writer's input that takes this stream.
    HRESULT SetConnectionName(std::string_view name);
    const std::string& GetConnectionName() const { return connectionName_; }
    // Bits per second.
    HRESULT SetBitrate(std::uint32_t bitrate);
    std::uint32_t GetBitrate() const { return bitrate_; }

    MediaProps& Props() { return props_; }
    const MediaProps& Props() const { return props_; }
    // The picture properties; null for a stream that is not a picture stream.
    VideoMediaProps* VideoProps();
    const VideoMediaProps* VideoProps() const;

  private:
    std::uint16_t number_ = 0;
    std::string name_;
    std::string connectionName_;
    std::uint32_t bitrate_ = 0;
    // Every stream keeps the picture fields; only a picture stream hands them out.
    VideoMediaProps props_;
};

} // namespace wmformat
