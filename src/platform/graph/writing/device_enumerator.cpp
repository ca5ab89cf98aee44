#include "platform/graph/writing/device_enumerator.h"

#include "platform/graph/null_renderer.h"
#include "platform/graph/playback/audio_renderer.h"
#include "platform/graph/playback/video_renderer.h"
#include "platform/graph/sources/decoder.h"
#include "platform/graph/sources/demultiplexer.h"
#include "platform/graph/writing/asf_writer.h"
#include "platform/graph/writing/encoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <set>

namespace graph {

namespace {

// Makes the filter of an entry, named as the entry is.
using Factory = std::function<HRESULT(const std::string& name, std::shared_ptr<BaseFilter>*)>;

struct Category {
    std::vector<DeviceEntry> entries;
    std::vector<Factory> factories; // by entry
};

// The names under which the platform this program comes from lists these formats.
const std::map<std::string, std::string, std::less<>> kCustomaryNames = {
    {"mpeg4", "DivX MPEG-4 Video Codec"},
    {"libxvid", "Xvid MPEG-4 Video Codec"},
    {"msmpeg4v2", "Microsoft MPEG-4 Video Codec V2"},
    {"msmpeg4", "Microsoft MPEG-4 Video Codec V3"},
    {"wmv1", "Windows Media Video 7"},
    {"wmv2", "Windows Media Video 8"},
    {"msvideo1", "Microsoft Video 1"},
    {"cinepak", "Cinepak Codec by Radius"},
    {"mjpeg", "Motion JPEG Video Codec"},
    {"adpcm_ms", "Microsoft ADPCM"},
    {"adpcm_ima_wav", "IMA ADPCM"},
    {"pcm_alaw", "CCITT A-Law"},
    {"pcm_mulaw", "CCITT u-Law"},
    {"libgsm_ms", "GSM 6.10"},
    {"libmp3lame", "MPEG Layer-3"},
    {"wmav1", "Windows Media Audio V1"},
    {"wmav2", "Windows Media Audio V2"},
};

// Encoders bound to hardware carry the name of their family after the codec's.
constexpr std::array<std::string_view, 12> kHardwareFamilies = {
    "_nvenc", "_qsv",          "_vaapi",      "_v4l2m2m", "_omx",   "_amf",
    "_mf",    "_videotoolbox", "_mediacodec", "_vulkan",  "_rkmpp", "_d3d12va"};

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool BoundToHardware(const AVCodec* codec) {
    if ((codec->capabilities & AV_CODEC_CAP_HARDWARE) || avcodec_get_hw_config(codec, 0))
        return true;
    return std::any_of(kHardwareFamilies.begin(), kHardwareFamilies.end(),
                       [codec](std::string_view family) { return EndsWith(codec->name, family); });
}

// The uncompressed forms, which the program offers as rows of its own, and the encoder that
// only wraps frames for other libraries.
bool Uncompressed(const AVCodec* codec) {
    const std::string_view name = codec->name;
    if (name == "rawvideo" || name == "wrapped_avframe")
        return true;
    return name.substr(0, 4) == "pcm_" && name != "pcm_alaw" && name != "pcm_mulaw";
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// By friendly name ignoring case; entries of the same name by library name. Names shared
// by two entries get the library name added, so every entry can be told apart.
void Order(std::vector<std::pair<DeviceEntry, Factory>>& items, Category* category) {
    std::map<std::string, int> uses;
    for (const auto& item : items)
        ++uses[item.first.friendlyName];
    for (auto& item : items) {
        if (uses[item.first.friendlyName] > 1)
            item.first.friendlyName += " (" + item.first.libraryName + ")";
    }
    std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) {
        const std::string left = Lower(a.first.friendlyName);
        const std::string right = Lower(b.first.friendlyName);
        return left != right ? left < right : a.first.libraryName < b.first.libraryName;
    });
    for (auto& [entry, factory] : items) {
        category->entries.push_back(std::move(entry));
        category->factories.push_back(std::move(factory));
    }
}

Category MakeCompressors(AVMediaType type) {
    std::vector<std::pair<DeviceEntry, Factory>> items;
    const FilterKind kind =
        type == AVMEDIA_TYPE_VIDEO ? FilterKind::VideoCompressor : FilterKind::AudioCompressor;
    void* state = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&state)) {
        if (!av_codec_is_encoder(codec) || codec->type != type ||
            (codec->capabilities & AV_CODEC_CAP_EXPERIMENTAL) || BoundToHardware(codec) ||
            Uncompressed(codec))
            continue;
        const auto customary = kCustomaryNames.find(codec->name);
        std::string name = customary != kCustomaryNames.end() ? customary->second
                           : codec->long_name                 ? codec->long_name
                                                              : codec->name;
        DeviceEntry entry{name, ClassIdOf(kind, codec->name), kind, codec->name, ""};
        items.emplace_back(std::move(entry),
                           [codec](const std::string& name, std::shared_ptr<BaseFilter>* out) {
                               std::shared_ptr<Encoder> encoder;
                               const HRESULT hr = Encoder::Create(codec, name, &encoder);
                               *out = std::move(encoder);
                               return hr;
                           });
    }
    Category category;
    Order(items, &category);
    return category;
}

template <typename Filter, typename... Arguments>
std::pair<DeviceEntry, Factory> Framework(const std::string& name, Arguments... arguments) {
    return {
        DeviceEntry{name, ClassIdOf(FilterKind::Framework, name), FilterKind::Framework, name, ""},
        [arguments...](const std::string&, std::shared_ptr<BaseFilter>* out) {
            *out = std::make_shared<Filter>(arguments...);
            return S_OK;
        }};
}

Category MakeFilters() {
    std::vector<std::pair<DeviceEntry, Factory>> items;
    std::set<std::string> shortNames;
    void* state = nullptr;
    while (const AVOutputFormat* format = av_muxer_iterate(&state)) {
        if ((format->flags & AVFMT_NOFILE) ||
            (format->video_codec == AV_CODEC_ID_NONE && format->audio_codec == AV_CODEC_ID_NONE))
            continue;
        std::string name =
            std::strcmp(format->name, "avi") == 0 ? "AVI Mux" : std::string(format->name) + " Mux";
        // A later muxer of the same short name (Matroska audio after Matroska) is named by
        // its long name too.
        if (!shortNames.insert(format->name).second && format->long_name)
            name += std::string(" (") + format->long_name + ")";
        DeviceEntry entry{name, MultiplexerClassId(format), FilterKind::Multiplexer, format->name,
                          format->extensions ? format->extensions : ""};
        items.emplace_back(std::move(entry),
                           [format](const std::string& name, std::shared_ptr<BaseFilter>* out) {
                               std::shared_ptr<Multiplexer> mux;
                               const HRESULT hr = Multiplexer::Create(format, name, &mux);
                               *out = std::move(mux);
                               return hr;
                           });
    }
    items.push_back(Framework<VideoRenderer>("Video Renderer"));
    items.push_back(Framework<AudioRenderer>("Audio Renderer"));
    items.push_back(Framework<NullRenderer>("Null Renderer", MajorType::Other));
    items.push_back(Framework<Demultiplexer>("Demultiplexer"));
    items.push_back(Framework<Decoder>("Video Decoder", MajorType::Video));
    items.push_back(Framework<Decoder>("Audio Decoder", MajorType::Audio));
    items.push_back({DeviceEntry{"WM ASF Writer", CLSID_WMAsfWriter, FilterKind::Framework,
                                 "WM ASF Writer", "wmv,asf"},
                     [](const std::string&, std::shared_ptr<BaseFilter>* out) {
                         std::shared_ptr<AsfWriter> writer;
                         const HRESULT hr = AsfWriter::Create(&writer);
                         *out = std::move(writer);
                         return hr;
                     }});
    Category category;
    Order(items, &category);
    return category;
}

const Category& CategoryOf(DeviceCategory category) {
    static const std::array<Category, 3> categories = {
        MakeCompressors(AVMEDIA_TYPE_VIDEO), MakeCompressors(AVMEDIA_TYPE_AUDIO), MakeFilters()};
    return categories[static_cast<std::size_t>(category)];
}

constexpr std::array<DeviceCategory, 3> kCategories = {
    DeviceCategory::VideoCompressor, DeviceCategory::AudioCompressor, DeviceCategory::Filter};

} // namespace

const std::vector<DeviceEntry>& EnumerateDevices(DeviceCategory category) {
    return CategoryOf(category).entries;
}

HRESULT CreateDeviceFilter(DeviceCategory category, int index, std::shared_ptr<BaseFilter>* out) {
    if (!out)
        return E_POINTER;
    out->reset();
    const Category& devices = CategoryOf(category);
    if (index < 0 || index >= static_cast<int>(devices.entries.size()))
        return E_INVALIDARG;
    return devices.factories[index](devices.entries[index].friendlyName, out);
}

const DeviceEntry* FindDeviceByClassId(const CLSID& classId) {
    for (DeviceCategory category : kCategories) {
        for (const DeviceEntry& entry : EnumerateDevices(category)) {
            if (entry.classId == classId)
                return &entry;
        }
    }
    return nullptr;
}

const DeviceEntry* FindDeviceByClassId(std::string_view classIdText) {
    const std::optional<CLSID> classId = core::GuidFromString(std::string(classIdText));
    return classId ? FindDeviceByClassId(*classId) : nullptr;
}

HRESULT CreateFilterByClassId(const CLSID& classId, std::shared_ptr<BaseFilter>* out) {
    if (!out)
        return E_POINTER;
    out->reset();
    for (DeviceCategory category : kCategories) {
        const std::vector<DeviceEntry>& entries = EnumerateDevices(category);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].classId == classId)
                return CreateDeviceFilter(category, static_cast<int>(i), out);
        }
    }
    return VFW_E_NOT_FOUND;
}

int FindDevice(DeviceCategory category, std::string_view text) {
    const std::string target = Lower(text);
    const std::vector<DeviceEntry>& entries = EnumerateDevices(category);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (Lower(entries[i].friendlyName).find(target) != std::string::npos)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace graph
