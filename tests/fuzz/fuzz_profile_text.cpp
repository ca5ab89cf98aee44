// The profile text reader on any text: a profile it accepts holds only what AddStream lets
// into a profile.
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"

#include "platform/wmformat/profile_text.h"
#include "platform/wmformat/status.h"

#include <set>
#include <string_view>

namespace fuzz {

int FuzzProfileText(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<wmformat::Profile> profile;
    const HRESULT result = wmformat::ReadProfileText(
        std::string_view(reinterpret_cast<const char*>(data), size), profile);
    FUZZ_CHECK((result == S_OK) == (profile != nullptr));
    if (!profile)
        return 0;
    FUZZ_CHECK(wmformat::IsProfileVersion(profile->GetVersion()));
    std::set<std::uint16_t> numbers;
    for (std::uint32_t i = 0; i < profile->GetStreamCount(); ++i) {
        const wmformat::StreamConfig& stream = *profile->GetStream(i);
        const std::uint16_t number = stream.GetStreamNumber();
        FUZZ_CHECK(number >= 1 && number <= 63 && numbers.insert(number).second);
        wmformat::WM_MEDIA_TYPE type;
        FUZZ_CHECK(stream.Props().GetMediaType(&type) == S_OK);
        FUZZ_CHECK(type.majortype == stream.GetStreamType());
        FUZZ_CHECK(wmformat::FormatBlockIsWhole(type));
        const wmformat::VideoMediaProps* video = stream.VideoProps();
        FUZZ_CHECK((video != nullptr) == (stream.GetStreamType() == wmformat::WMMEDIATYPE_Video));
        FUZZ_CHECK(!video || (video->GetQuality() <= 100 && video->GetMaxKeyFrameSpacing() >= 0));
    }
    FUZZ_CHECK(profile->GetStream(profile->GetStreamCount()) == nullptr);
    return 0;
}

} // namespace fuzz
