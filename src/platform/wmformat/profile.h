#pragma once
// A Windows Media profile: a named list of numbered streams that an ASF writer is configured
// with. Made empty by the profile manager, or loaded from a saved profile text.
#include "platform/wmformat/stream_config.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wmformat {

// Profile versions, as the runtime numbers its releases.
constexpr std::uint32_t WMT_VER_4_0 = 0x00040000;
constexpr std::uint32_t WMT_VER_7_0 = 0x00070000;
constexpr std::uint32_t WMT_VER_8_0 = 0x00080000;
constexpr std::uint32_t WMT_VER_9_0 = 0x00090000;

constexpr bool IsProfileVersion(std::uint32_t version) {
    return version == WMT_VER_4_0 || version == WMT_VER_7_0 || version == WMT_VER_8_0 ||
           version == WMT_VER_9_0;
}

class Profile {
  public:
    // `version` is one of the WMT_VER values.
    explicit Profile(std::uint32_t version) : version_(version) {}

    std::uint32_t GetVersion() const { return version_; }
    HRESULT SetName(std::string_view name);
    const std::string& GetName() const { return name_; }

    // A new stream of a sound or picture type, not yet part of the profile; any other type
    // gives E_INVALIDARG.
    HRESULT CreateNewStream(const GUID& streamType, std::unique_ptr<StreamConfig>& config) const;
    // Keeps a copy of the stream. E_INVALIDARG for a stream without a number or a media type,
    // or with the number of a stream already held.
    HRESULT AddStream(const StreamConfig& config);
    std::uint32_t GetStreamCount() const { return static_cast<std::uint32_t>(streams_.size()); }
    // In the order they were added; null past the last.
    const StreamConfig* GetStream(std::uint32_t index) const;

  private:
    std::uint32_t version_;
    std::string name_;
    std::vector<StreamConfig> streams_;
};

} // namespace wmformat
