// The capture graph builder's refusals, the multiplexer's growing inputs and the ASF
// writer's configuration, on graphs that are built but not run.
#include "support/media_fixtures.h"
#include "writer_helpers.h"

#include "platform/graph/writing/capture_graph_builder.h"
#include "platform/graph/writing/multiplexer.h"

#include <gtest/gtest.h>

namespace {

using namespace graph;
using namespace writertest;
using testsupport::ClipKind;

TEST(CaptureGraphBuilder, OutputFilesNeedAGraphANameAndAWriter) {
    CaptureGraphBuilder2 builder;
    BaseFilter* mux = nullptr;
    EXPECT_EQ(builder.SetOutputFileName(MEDIASUBTYPE_Avi, "/tmp/x.avi", &mux, nullptr),
              E_UNEXPECTED);
    FilterGraph graph;
    EXPECT_EQ(builder.SetFiltergraph(nullptr), E_POINTER);
    ASSERT_EQ(builder.SetFiltergraph(&graph), S_OK);
    EXPECT_EQ(builder.SetOutputFileName(MEDIASUBTYPE_Avi, "", &mux, nullptr), E_INVALIDARG);
    EXPECT_EQ(builder.SetOutputFileName(MEDIASUBTYPE_Avi, "/tmp/x.avi", nullptr, nullptr),
              E_POINTER);
    // An encoder's identifier names no writer.
    EXPECT_EQ(builder.SetOutputFileName(ClassIdOf(FilterKind::VideoCompressor, "mpeg4"),
                                        "/tmp/x.avi", &mux, nullptr),
              VFW_E_NOT_FOUND);
    EXPECT_TRUE(graph.EnumFilters().empty());

    IFileSinkFilter2* sink = nullptr;
    ASSERT_EQ(builder.SetOutputFileName(MEDIASUBTYPE_Avi, "/tmp/x.avi", &mux, &sink), S_OK);
    EXPECT_EQ(mux->Name(), "AVI Mux");
    EXPECT_EQ(mux->ClassId(), ClassIdOf(FilterKind::Multiplexer, "avi"));
    ASSERT_EQ(sink, QueryFilterInterface<IFileSinkFilter2>(mux));
    std::string file;
    EXPECT_EQ(sink->GetCurFile(&file), S_OK);
    EXPECT_EQ(file, "/tmp/x.avi");
    EXPECT_EQ(sink->SetMode(0x2), E_INVALIDARG);
    auto* interleaving = QueryFilterInterface<IConfigInterleaving>(mux);
    ASSERT_NE(interleaving, nullptr);
    EXPECT_EQ(interleaving->put_Mode(7), E_INVALIDARG);
    EXPECT_EQ(interleaving->put_Mode(INTERLEAVE_FULL), S_OK);
    long mode = 0;
    interleaving->get_Mode(&mode);
    EXPECT_EQ(mode, INTERLEAVE_FULL);
    FilterGraph* built = nullptr;
    EXPECT_EQ(builder.GetFiltergraph(&built), S_OK);
    EXPECT_EQ(built, &graph);
}

TEST(CaptureGraphBuilder, EveryConnectedInputOfAMultiplexerLeavesAFreeOne) {
    FilterGraph graph;
    CaptureGraphBuilder2 builder;
    builder.SetFiltergraph(&graph);
    const std::vector<Pin*> decoded = DecodeFile(graph, testsupport::Clip(ClipKind::H264Aac));
    ASSERT_EQ(decoded.size(), 2u);
    BaseFilter* mux = nullptr;
    ASSERT_EQ(builder.SetOutputFileName(MEDIASUBTYPE_Avi, "/tmp/x.avi", &mux, nullptr), S_OK);
    auto inputs = [mux] {
        std::vector<std::string> names;
        for (const Pin* pin : mux->Pins())
            names.push_back(pin->Name() + (pin->IsConnected() ? "*" : ""));
        return names;
    };
    EXPECT_EQ(inputs(), std::vector<std::string>{"Input 01"});
    ASSERT_EQ(builder.RenderStream(decoded[0], nullptr, mux), S_OK);
    ASSERT_EQ(builder.RenderStream(decoded[1], nullptr, mux), S_OK);
    EXPECT_EQ(inputs(), (std::vector<std::string>{"Input 01*", "Input 02*", "Input 03"}));
    EXPECT_EQ(builder.RenderStream(decoded[0], nullptr, mux), VFW_E_ALREADY_CONNECTED);
}

TEST(CaptureGraphBuilder, AStreamNoPinTakesLeavesNothingConnected) {
    FilterGraph graph;
    CaptureGraphBuilder2 builder;
    builder.SetFiltergraph(&graph);
    const std::vector<Pin*> decoded = DecodeFile(graph, testsupport::Clip(ClipKind::H264Aac));
    ASSERT_EQ(decoded.size(), 2u);
    BaseFilter* writer = nullptr;
    ASSERT_EQ(builder.SetOutputFileName(CLSID_WMAsfWriter, "/tmp/x.wmv", &writer, nullptr), S_OK);
    AsfWriterConfig config;
    config.streams.push_back({.number = 1,
                              .major = MajorType::Audio,
                              .codec = WAVE_FORMAT_WMAUDIO2,
                              .bitrate = 64'000,
                              .sampleRate = 44'100,
                              .channels = 2});
    ASSERT_EQ(QueryFilterInterface<AsfWriter>(writer)->ConfigureFilterUsingProfile(config), S_OK);

    // The writer encodes by itself: compressed sound has no input to go to.
    std::shared_ptr<BaseFilter> aac = Compressor("aac");
    ASSERT_EQ(graph.AddFilter(aac, "AudioCompressor"), S_OK);
    EXPECT_EQ(builder.RenderStream(decoded[1], aac.get(), writer), VFW_E_CANNOT_RENDER);
    EXPECT_FALSE(decoded[1]->IsConnected());
    EXPECT_FALSE(aac->FindPin(PinDirection::Input, 0)->IsConnected());
    // Nor has a picture: the profile has no picture stream.
    EXPECT_EQ(builder.RenderStream(decoded[0], nullptr, writer), VFW_E_CANNOT_RENDER);
    // Filters outside the graph are not used.
    std::shared_ptr<BaseFilter> outside = Compressor("mpeg4");
    EXPECT_EQ(builder.RenderStream(decoded[0], outside.get(), writer), VFW_E_NOT_FOUND);
    EXPECT_EQ(builder.RenderStream(decoded[1], nullptr, writer), S_OK);
}

TEST(AsfWriter, AProfileGivesItsInputsAndIsRefusedWhenTheWriterCannotEncodeIt) {
    std::shared_ptr<AsfWriter> writer;
    ASSERT_EQ(AsfWriter::Create(&writer), S_OK);
    EXPECT_EQ(writer->ClassId(), CLSID_WMAsfWriter);
    const AsfStreamConfig sound{.number = 1,
                                .major = MajorType::Audio,
                                .codec = WAVE_FORMAT_MSAUDIO1,
                                .bitrate = 64'000,
                                .sampleRate = 22'050,
                                .channels = 1};
    const AsfStreamConfig picture{.number = 2,
                                  .major = MajorType::Video,
                                  .codec = FourCc("WMV1"),
                                  .bitrate = 300'000,
                                  .width = 320,
                                  .height = 240,
                                  .frameDuration = UNITS / 15};
    ASSERT_EQ(writer->ConfigureFilterUsingProfile({{picture, sound}}), S_OK);
    EXPECT_EQ(writer->FindPin(PinDirection::Input, 0)->Name(), "Video Input 02");
    EXPECT_EQ(writer->FindPin(PinDirection::Input, 1)->Name(), "Audio Input 01");
    EXPECT_EQ(writer->FindPin(PinDirection::Input, 2), nullptr);

    AsfStreamConfig wmv3 = picture;
    wmv3.codec = FourCc("WMV3");
    EXPECT_EQ(writer->ConfigureFilterUsingProfile({{wmv3}}), VFW_E_UNSUPPORTED_STREAM);
    AsfStreamConfig noRate = sound;
    noRate.sampleRate = 0;
    EXPECT_EQ(writer->ConfigureFilterUsingProfile({{noRate}}), E_INVALIDARG);
    AsfStreamConfig farNumber = sound;
    farNumber.number = 64;
    EXPECT_EQ(writer->ConfigureFilterUsingProfile({{farNumber}}), E_INVALIDARG);
    AsfStreamConfig sameNumber = picture;
    sameNumber.number = 1;
    EXPECT_EQ(writer->ConfigureFilterUsingProfile({{sound, sameNumber}}), E_INVALIDARG);
    // A refused profile leaves the last one in place.
    EXPECT_EQ(writer->CurrentProfile().streams.size(), 2u);
    EXPECT_EQ(writer->FindPin(PinDirection::Input, 0)->Name(), "Video Input 02");
}

} // namespace
