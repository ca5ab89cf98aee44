#pragma once
// The profile manager: makes empty profiles, loads saved ones, and on its codec-information
// side enumerates the codec formats of its catalogue, codec by codec, as stream
// configurations. It keeps a reference to the catalogue, which must outlive it.
#include "platform/wmformat/codec_catalogue.h"
#include "platform/wmformat/profile.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace wmformat {

class ProfileManager {
  public:
    explicit ProfileManager(const CodecCatalogue& catalogue) : catalogue_(&catalogue) {}

    // An empty profile of a WMT_VER version; another version gives E_INVALIDARG.
    HRESULT CreateEmptyProfile(std::uint32_t version, std::unique_ptr<Profile>& profile) const;
    // The profile a saved profile text describes (its form: profile_text.h), or
    // NS_E_INVALIDPROFILE for a text that is not one.
    HRESULT LoadProfileByData(std::string_view text, std::unique_ptr<Profile>& profile) const;

    // Codecs of a major type; 0 for a type the catalogue has none of.
    HRESULT GetCodecInfoCount(const GUID& majorType, std::uint32_t* count) const;
    // Formats of the codec at that index among the codecs of the major type. E_INVALIDARG for
    // an index past the last codec.
    HRESULT GetCodecFormatCount(const GUID& majorType, std::uint32_t codec,
                                std::uint32_t* count) const;
    // A new stream configuration holding the format: its media type, and as its bit rate the
    // format's own (a WAVEFORMATEX's average bytes per second × 8, a VIDEOINFOHEADER's
    // dwBitRate). E_INVALIDARG for an index past the last codec or format.
    HRESULT GetCodecFormat(const GUID& majorType, std::uint32_t codec, std::uint32_t format,
                           std::unique_ptr<StreamConfig>& config) const;

  private:
    const CatalogueCodec* FindCodec(const GUID& majorType, std::uint32_t codec) const;

    const CodecCatalogue* catalogue_;
};

// S_OK with a manager over the catalogue.
HRESULT WMCreateProfileManager(std::unique_ptr<ProfileManager>& manager,
                               const CodecCatalogue& catalogue = StandardCatalogue());

} // namespace wmformat
