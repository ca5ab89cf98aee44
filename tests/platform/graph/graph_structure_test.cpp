// The shape of graphs built from files, and taking branches out of them.
#include "graph_helpers.h"
#include "support/media_fixtures.h"

#include "platform/graph/filter_graph.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace graph;
using namespace graphtest;
using testsupport::ClipKind;

struct Expected {
    ClipKind kind;
    std::vector<MajorType> streams; // demultiplexer pins in file order
};

class RenderFileTest : public testing::TestWithParam<Expected> {};

// The renderer at the end of the branch that starts at a demultiplexer pin.
BaseFilter* BranchEnd(Pin* pin) {
    BaseFilter* filter = pin->ConnectedTo()->Filter();
    while (Pin* out = filter->FindPin(PinDirection::Output, 0))
        filter = out->ConnectedTo()->Filter();
    return filter;
}

TEST_P(RenderFileTest, EveryStreamEndsInItsRenderer) {
    const Expected& expected = GetParam();
    FilterGraph graph;
    ASSERT_EQ(graph.RenderFile(testsupport::Clip(expected.kind)), S_OK);

    BaseFilter* source = FindSourceFilter(graph);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->Name(), "File Source");
    EXPECT_EQ(CountPins(source).out, 1);
    Pin* sourceOut = source->FindPin(PinDirection::Output, 0);
    ASSERT_TRUE(sourceOut->IsConnected());
    EXPECT_EQ(sourceOut->ConnectedTo()->ConnectedTo(), sourceOut);

    BaseFilter* splitter = sourceOut->ConnectedTo()->Filter();
    EXPECT_EQ(splitter->Name(), "Demultiplexer");
    ASSERT_EQ(CountPins(splitter).out, static_cast<int>(expected.streams.size()));
    for (std::size_t i = 0; i < expected.streams.size(); ++i) {
        Pin* pin = splitter->FindPin(PinDirection::Output, static_cast<int>(i));
        EXPECT_EQ(pin->Filter(), splitter);
        MediaType type;
        ASSERT_EQ(pin->ConnectionMediaType(&type), S_OK) << "pin " << i << " unconnected";
        EXPECT_EQ(type.Major(), expected.streams[i]);
        const std::string end = BranchEnd(pin)->Name();
        switch (expected.streams[i]) {
        case MajorType::Video:
            EXPECT_EQ(pin->ConnectedTo()->Filter()->Name(), "Video Decoder");
            EXPECT_EQ(end, "Video Renderer");
            break;
        case MajorType::Audio:
            EXPECT_EQ(pin->ConnectedTo()->Filter()->Name(), "Audio Decoder");
            EXPECT_EQ(end, "Audio Renderer");
            break;
        default:
            EXPECT_EQ(end, "Null Renderer");
            break;
        }
    }
}

using MT = MajorType;
INSTANTIATE_TEST_SUITE_P(Formats, RenderFileTest,
                         testing::Values(Expected{ClipKind::H264Aac, {MT::Video, MT::Audio}},
                                         Expected{ClipKind::Mpeg4Mp3, {MT::Video, MT::Audio}},
                                         Expected{ClipKind::Wmv2Wma2, {MT::Video, MT::Audio}},
                                         Expected{ClipKind::Vp9Opus, {MT::Video, MT::Audio}},
                                         Expected{ClipKind::PictureOnly, {MT::Video}},
                                         Expected{ClipKind::SoundOnly, {MT::Audio}},
                                         Expected{ClipKind::WithSubtitles,
                                                  {MT::Video, MT::Audio, MT::Other}}));

TEST(RenderFileFailures, BadFilesLeaveAnEmptyGraph) {
    for (const std::string& path :
         {testsupport::NonMediaFile(), testsupport::TruncatedClip(), std::string("/no/such.mp4")}) {
        FilterGraph graph;
        EXPECT_LT(graph.RenderFile(path), 0) << path;
        EXPECT_TRUE(graph.EnumFilters().empty()) << path;
        IMediaControl* control = nullptr;
        graph.QueryInterface(&control);
        long state = -1;
        control->GetState(0, &state);
        EXPECT_EQ(state, State_Stopped);
    }
    FilterGraph graph;
    EXPECT_EQ(graph.RenderFile("/no/such.mp4"), E_FILE_NOT_FOUND);
}

TEST(RemoveBranches, PictureOnlyPlayerKeepsNoSound) {
    FilterGraph graph;
    ASSERT_EQ(graph.RenderFile(testsupport::Clip(ClipKind::WithSubtitles)), S_OK);
    RemoveBranches(graph, MajorType::Audio, false);
    EXPECT_TRUE(FiltersNamed(graph, "Audio Decoder").empty());
    EXPECT_TRUE(FiltersNamed(graph, "Audio Renderer").empty());
    EXPECT_EQ(FiltersNamed(graph, "Video Renderer").size(), 1u);
    EXPECT_EQ(FiltersNamed(graph, "Null Renderer").size(), 1u);

    // No pin anywhere points at a removed filter.
    std::vector<BaseFilter*> filters = graph.EnumFilters();
    for (BaseFilter* filter : filters) {
        for (Pin* pin : filter->Pins()) {
            if (pin->ConnectedTo()) {
                EXPECT_NE(std::find(filters.begin(), filters.end(), pin->ConnectedTo()->Filter()),
                          filters.end());
            }
        }
    }
    IBasicAudio* audio = nullptr;
    graph.QueryInterface(&audio);
    long volume = 0;
    EXPECT_EQ(audio->get_Volume(&volume), E_NOINTERFACE);
}

TEST(RemoveBranches, SoundOnlyPlayerKeepsOnlySound) {
    FilterGraph graph;
    ASSERT_EQ(graph.RenderFile(testsupport::Clip(ClipKind::WithSubtitles)), S_OK);
    RemoveBranches(graph, MajorType::Audio, true);
    EXPECT_TRUE(FiltersNamed(graph, "Video Renderer").empty());
    EXPECT_TRUE(FiltersNamed(graph, "Video Decoder").empty());
    EXPECT_TRUE(FiltersNamed(graph, "Null Renderer").empty());
    EXPECT_EQ(FiltersNamed(graph, "Audio Renderer").size(), 1u);
    IVideoWindow* window = nullptr;
    graph.QueryInterface(&window);
    long visible = 0;
    EXPECT_EQ(window->get_Visible(&visible), E_NOINTERFACE);
    IBasicVideo* video = nullptr;
    graph.QueryInterface(&video);
    long width = 0, height = 0;
    EXPECT_EQ(video->GetVideoSize(&width, &height), E_NOINTERFACE);
}

TEST(GraphEditing, ConnectionsNeedAStoppedGraphAndMatchingTypes) {
    FilterGraph graph;
    ASSERT_EQ(graph.RenderFile(testsupport::Clip(ClipKind::PictureOnly)), S_OK);
    BaseFilter* renderer = FiltersNamed(graph, "Video Renderer").at(0);
    BaseFilter* decoder = FiltersNamed(graph, "Video Decoder").at(0);
    Pin* decoded = decoder->FindPin(PinDirection::Output, 0);
    Pin* input = renderer->FindPin(PinDirection::Input, 0);

    EXPECT_EQ(graph.ConnectDirect(decoded, input), VFW_E_ALREADY_CONNECTED);
    // A compressed stream cannot go straight into a renderer.
    Pin* compressed = decoder->FindPin(PinDirection::Input, 0)->ConnectedTo();
    EXPECT_EQ(graph.Disconnect(decoded), S_OK);
    EXPECT_EQ(graph.Disconnect(input), S_OK);
    EXPECT_EQ(graph.Disconnect(input), S_FALSE);
    EXPECT_EQ(graph.Disconnect(compressed->ConnectedTo()), S_OK);
    EXPECT_EQ(graph.Disconnect(compressed), S_OK);
    EXPECT_EQ(graph.ConnectDirect(compressed, input), VFW_E_TYPE_NOT_ACCEPTED);
    EXPECT_EQ(graph.ConnectDirect(decoded, input), S_OK);
    EXPECT_EQ(graph.ConnectDirect(compressed, decoder->FindPin(PinDirection::Input, 0)), S_OK);

    IMediaControl* control = nullptr;
    graph.QueryInterface(&control);
    ASSERT_EQ(control->Pause(), S_OK);
    EXPECT_EQ(graph.Disconnect(decoded), VFW_E_NOT_STOPPED);
    EXPECT_EQ(graph.RemoveFilter(renderer), VFW_E_NOT_STOPPED);
    control->Stop();
    EXPECT_EQ(graph.RemoveFilter(renderer), S_OK);
    EXPECT_EQ(graph.RemoveFilter(renderer), VFW_E_NOT_FOUND);
    EXPECT_FALSE(decoded->IsConnected());
}

} // namespace
