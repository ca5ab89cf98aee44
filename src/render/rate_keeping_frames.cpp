#include "render/rate_keeping_frames.h"

#include "language/language.h"
#include "options/picture_copy_check.h"
#include "platform/editing/media_file.h"
#include "resources/resource.h"

#include <algorithm>
#include <cmath>

namespace render {

std::optional<double> RateKeepingEveryFrame(const OutputSettings& output, const OutputParts& parts,
                                            const std::string& video) {
    if (output.frameRateIndex != 0 || output.copySourcePicture == 1 ||
        KeepsEachFrameTime(output, parts) || options::UnevenFrameTimeBase(video).num <= 0)
        return std::nullopt;
    editing::MediaFile file;
    if (FAILED(file.Open(video, AVMEDIA_TYPE_VIDEO)))
        return std::nullopt;
    const double spacing = file.ShortestFrameSpacing();
    if (!(spacing > 0))
        return std::nullopt;
    // Rounded up: a rate a hair below the closest frames' would still lose one of them now
    // and then. The cap keeps a stray time stamp from multiplying the frames written.
    const double rate = std::min(std::ceil(1000 / spacing) / 1000, 2 * output.sourceFrameRate);
    if (!(rate > output.outputFrameRate))
        return std::nullopt;
    return rate;
}

QString KeepEveryFrame(OutputSettings& output, const OutputParts& parts, const std::string& video) {
    const std::optional<double> rate = RateKeepingEveryFrame(output, parts, video);
    if (!rate)
        return {};
    output.outputFrameRate = *rate;
    return Language().GetString(IDS_STATUS_RATE_KEEPS_FRAMES).arg(*rate, 0, 'f', 3);
}

} // namespace render
