// The three categories of the device enumeration: their order, names and class identifiers,
// the searches the program makes by name, and the filters made from entries.
#include "platform/graph/filter.h"
#include "platform/graph/writing/asf_writer.h"
#include "platform/graph/writing/device_enumerator.h"
#include "platform/graph/writing/encoder.h"
#include "platform/graph/writing/multiplexer.h"

#include <QString>
#include <gtest/gtest.h>

#include <set>

namespace {

using namespace graph;

constexpr DeviceCategory kCategories[] = {DeviceCategory::VideoCompressor,
                                          DeviceCategory::AudioCompressor, DeviceCategory::Filter};

bool Lists(DeviceCategory category, const std::string& libraryName) {
    for (const DeviceEntry& entry : EnumerateDevices(category)) {
        if (entry.libraryName == libraryName)
            return true;
    }
    return false;
}

const DeviceEntry& Found(DeviceCategory category, const std::string& text) {
    const int index = FindDevice(category, text);
    EXPECT_GE(index, 0) << text;
    return EnumerateDevices(category).at(index < 0 ? 0 : index);
}

TEST(DeviceEnumerator, CategoriesListTheSoftwareEncodersAndTheMultiplexersThatWriteFiles) {
    for (const char* name : {"mpeg4", "libx264", "wmv2", "wmv1", "libxvid"})
        EXPECT_TRUE(Lists(DeviceCategory::VideoCompressor, name)) << name;
    for (const char* name : {"aac", "adpcm_ms", "wmav2", "flac", "libmp3lame", "libopus"})
        EXPECT_TRUE(Lists(DeviceCategory::AudioCompressor, name)) << name;
    // Uncompressed forms are the program's own rows; experimental and hardware encoders and
    // picture encoders are not sound compressors.
    for (const char* name : {"rawvideo", "h264_vaapi", "h264_nvenc", "h264_omx", "aac"})
        EXPECT_FALSE(Lists(DeviceCategory::VideoCompressor, name)) << name;
    for (const char* name : {"pcm_s16le", "opus", "vorbis", "mpeg4"})
        EXPECT_FALSE(Lists(DeviceCategory::AudioCompressor, name)) << name;
    for (const char* name : {"avi", "asf", "matroska", "mp4", "nut", "WM ASF Writer",
                             "Video Renderer", "Audio Renderer", "Video Decoder"})
        EXPECT_TRUE(Lists(DeviceCategory::Filter, name)) << name;
    // Muxers that write no file of their own, or hold neither picture nor sound.
    for (const char* name : {"image2", "tee", "null", "srt"})
        EXPECT_FALSE(Lists(DeviceCategory::Filter, name)) << name;
}

TEST(DeviceEnumerator, OrderNamesAndIdentifiersAreStableAndDistinct) {
    std::set<std::string> identifiers;
    for (DeviceCategory category : kCategories) {
        const std::vector<DeviceEntry>& entries = EnumerateDevices(category);
        ASSERT_FALSE(entries.empty());
        std::set<std::string> names;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_TRUE(names.insert(entries[i].friendlyName).second) << entries[i].friendlyName;
            EXPECT_TRUE(identifiers.insert(core::GuidToString(entries[i].classId)).second)
                << entries[i].friendlyName;
            if (i > 0) {
                EXPECT_LE(QString::fromStdString(entries[i - 1].friendlyName)
                              .compare(QString::fromStdString(entries[i].friendlyName),
                                       Qt::CaseInsensitive),
                          0);
            }
        }
    }
    // An identifier is the same whenever it is derived: it names its entry in stored
    // settings from run to run.
    const DeviceEntry& divx = Found(DeviceCategory::VideoCompressor, "divx");
    EXPECT_EQ(divx.classId, ClassIdOf(FilterKind::VideoCompressor, "mpeg4"));
    EXPECT_EQ(core::GuidToString(ClassIdOf(FilterKind::Multiplexer, "avi")),
              core::GuidToString(Found(DeviceCategory::Filter, "AVI Mux").classId));
    EXPECT_NE(ClassIdOf(FilterKind::VideoCompressor, "mpeg4"),
              ClassIdOf(FilterKind::Multiplexer, "mpeg4"));
    EXPECT_EQ(Found(DeviceCategory::Filter, "WM ASF Writer").classId, CLSID_WMAsfWriter);
}

TEST(DeviceEnumerator, TheProgramsSearchesFindWhatTheyMeanInAnyCase) {
    for (const char* text : {"divx", "DivX", "DIVX MPEG-4"}) {
        const DeviceEntry& entry = Found(DeviceCategory::VideoCompressor, text);
        EXPECT_EQ(entry.libraryName, "mpeg4") << text;
        EXPECT_EQ(entry.friendlyName, "DivX MPEG-4 Video Codec");
    }
    for (const char* text : {"microsoft adpcm", "MICROSOFT ADPCM", "Microsoft ADPCM", "soft adp"})
        EXPECT_EQ(Found(DeviceCategory::AudioCompressor, text).libraryName, "adpcm_ms") << text;
    for (const char* text : {"avi mux", "AVI Mux", "Avi MUX"})
        EXPECT_EQ(Found(DeviceCategory::Filter, text).libraryName, "avi") << text;
    EXPECT_EQ(Found(DeviceCategory::Filter, "matroska mux").friendlyName, "matroska Mux");
    EXPECT_EQ(FindDevice(DeviceCategory::Filter, "no such filter"), -1);
    EXPECT_EQ(FindDevice(DeviceCategory::AudioCompressor, "divx"), -1);
}

TEST(DeviceEnumerator, EveryEntryMakesItsFilterByIndexAndByIdentifier) {
    for (DeviceCategory category : kCategories) {
        const std::vector<DeviceEntry>& entries = EnumerateDevices(category);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            std::shared_ptr<BaseFilter> filter;
            ASSERT_EQ(CreateDeviceFilter(category, static_cast<int>(i), &filter), S_OK)
                << entries[i].friendlyName;
            EXPECT_EQ(filter->ClassId(), entries[i].classId) << entries[i].friendlyName;
            EXPECT_EQ(filter->Name(), entries[i].friendlyName);
        }
        std::shared_ptr<BaseFilter> none;
        EXPECT_EQ(CreateDeviceFilter(category, static_cast<int>(entries.size()), &none),
                  E_INVALIDARG);
        EXPECT_EQ(CreateDeviceFilter(category, -1, &none), E_INVALIDARG);
        EXPECT_EQ(none, nullptr);
    }
    std::shared_ptr<BaseFilter> filter;
    ASSERT_EQ(CreateFilterByClassId(
                  Found(DeviceCategory::AudioCompressor, "microsoft adpcm").classId, &filter),
              S_OK);
    ASSERT_NE(dynamic_cast<Encoder*>(filter.get()), nullptr);
    EXPECT_STREQ(dynamic_cast<Encoder*>(filter.get())->Codec()->name, "adpcm_ms");
    ASSERT_EQ(CreateFilterByClassId(Found(DeviceCategory::Filter, "matroska mux").classId, &filter),
              S_OK);
    ASSERT_NE(dynamic_cast<Multiplexer*>(filter.get()), nullptr);
    EXPECT_STREQ(dynamic_cast<Multiplexer*>(filter.get())->Format()->name, "matroska");
    // The stored text of an identifier finds its filter again; other texts find nothing.
    const auto parsed =
        core::GuidFromString(core::GuidToString(Found(DeviceCategory::Filter, "nut mux").classId));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(CreateFilterByClassId(*parsed, &filter), S_OK);
    EXPECT_EQ(CreateFilterByClassId(GUID_NULL, &filter), VFW_E_NOT_FOUND);
    EXPECT_EQ(filter, nullptr);
}

} // namespace
