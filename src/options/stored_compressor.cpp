#include "options/stored_compressor.h"

#include "options/codec_settings.h"
#include "platform/graph/filter.h"
#include "platform/graph/writing/filter_options.h"
#include "platform/settings/store.h"

namespace options {

namespace {
constexpr int kNeverChosen = -2;
} // namespace

std::shared_ptr<graph::BaseFilter> CreateCompressor(const CompressorKind& kind, int n) {
    std::shared_ptr<graph::BaseFilter> compressor;
    if (n < 0 || FAILED(graph::CreateDeviceFilter(kind.category, n, &compressor)))
        return nullptr;
    // Settings that no longer fit the encoder (an option it lost) leave its defaults.
    if (auto* pages = graph::QueryFilterInterface<graph::ISpecifyPropertyPages>(compressor.get()))
        pages->Options().SetState(
            StoredCodecState(graph::EnumerateDevices(kind.category)[n].libraryName));
    return compressor;
}

std::shared_ptr<graph::BaseFilter> StoredCompressor(const CompressorKind& kind) {
    int number = settings::Profile().GetProfileInt(kind.section, "CompressorNumber", kNeverChosen);
    if (number == kNeverChosen)
        number = graph::FindDevice(kind.category, kind.preferred);
    return CreateCompressor(kind, number);
}

} // namespace options
