#include "options/stored_compressor.h"

#include "platform/settings/store.h"

namespace options {

namespace {
constexpr int kNeverChosen = -2;
} // namespace

std::shared_ptr<graph::BaseFilter> StoredCompressor(const CompressorKind& kind) {
    int number = settings::Profile().GetProfileInt(kind.section, "CompressorNumber", kNeverChosen);
    if (number == kNeverChosen)
        number = graph::FindDevice(kind.category, kind.preferred);
    std::shared_ptr<graph::BaseFilter> compressor;
    if (number >= 0)
        graph::CreateDeviceFilter(kind.category, number, &compressor);
    return compressor;
}

} // namespace options
