// The render engine on a real clip: the picture cut at the points keeps its rate and shows
// exactly the right frames; the sound between the points is resampled so that each click
// falls on the output sample of its point; the front end plays, seeks and completes in a graph.
#include "platform/core/thread_priority.h"
#include "platform/editing/audio_group_stream.h"
#include "platform/editing/group_fixtures.h"
#include "platform/editing/render_engine.h"
#include "platform/editing/video_group_stream.h"
#include "platform/graph/event_queue.h"
#include "support/media_fixtures.h"

#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include <sys/resource.h>
#include <unistd.h>

using namespace editing;
using namespace editingtest;

namespace {

QImage ImageOf(const AVFrame* frame) {
    QImage image(frame->width, frame->height, QImage::Format_Grayscale8);
    for (int y = 0; y < frame->height; ++y)
        std::memcpy(image.scanLine(y), frame->data[0] + y * frame->linesize[0], frame->width);
    return image;
}

// A real group stream that notes when it is first composed, with the nice value of the thread
// composing it and how many of the process's threads run at that value; once armed, it waits a
// moment when the front end sets it up, to see whether another group is composed already.
struct StartOrder {
    std::atomic<bool> armed{false};
    std::atomic<bool> composing{false};
    std::atomic<bool> setUpWhileComposing{false};
    std::atomic<bool> noting{false}; // by the first group composed
    int composerNice = 0;
    int threadsAlike = 0;
};

class WatchedGroup final : public GroupStream {
  public:
    WatchedGroup(std::unique_ptr<GroupStream> inner, StartOrder& order)
        : inner_(std::move(inner)), order_(order) {}
    const graph::MediaType& Type() const override {
        for (int i = 0; order_.armed && !order_.composing && i < 200; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (order_.armed && order_.composing)
            order_.setUpWhileComposing = true;
        return inner_->Type();
    }
    REFERENCE_TIME Length() const override { return inner_->Length(); }
    void Seek(REFERENCE_TIME t) override { inner_->Seek(t); }
    bool Next(graph::MediaSample& sample) override {
        if (!order_.noting.exchange(true)) {
            order_.composerNice = getpriority(PRIO_PROCESS, 0);
            for (const int thread : core::ThreadIds())
                order_.threadsAlike += getpriority(PRIO_PROCESS, thread) == order_.composerNice;
        }
        order_.composing = true;
        return inner_->Next(sample);
    }
    HRESULT Failure() const override { return inner_->Failure(); }
    void DecodeInBackground() const override { inner_->DecodeInBackground(); }

  private:
    std::unique_ptr<GroupStream> inner_;
    StartOrder& order_;
};

} // namespace

// Writing a file, the picture is composed and decoded at background priority, so that the
// encoder it feeds keeps a core; a preview composes at the program's own priority.
TEST(RenderEngine, ComposingForAFileYieldsToTheEncoder) {
    const std::string path = testsupport::Clip(testsupport::ClipKind::H264Pcm);
    const int base = getpriority(PRIO_PROCESS, getpid());
    for (const bool forFile : {false, true}) {
        SCOPED_TRACE(forFile ? "file" : "preview");
        StartOrder noted;
        std::unique_ptr<GroupStream> stream;
        ASSERT_EQ(CreateGroupStream(
                      *MakeGroup(VideoType(testsupport::kClipWidth, testsupport::kClipHeight), 25,
                                 path, kPicture),
                      &stream),
                  S_OK);
        std::vector<std::unique_ptr<GroupStream>> groups;
        groups.push_back(std::make_unique<WatchedGroup>(std::move(stream), noted));
        graph::FilterGraph graph;
        auto frontEnd = std::make_shared<TimelineFrontEnd>(std::move(groups));
        ASSERT_EQ(graph.AddFilter(frontEnd), S_OK);
        ASSERT_EQ(graph.Render(frontEnd->GroupPin(0)), S_OK);
        if (forFile)
            frontEnd->ComposeInBackground();
        ASSERT_EQ(frontEnd->Pause(), S_OK);
        for (int i = 0; i < 2000 && !noted.composing; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_EQ(frontEnd->Stop(), S_OK);
        ASSERT_TRUE(noted.composing);
        EXPECT_EQ(noted.composerNice, forFile ? std::min(19, base + 10) : base);
        // The decoder's own threads (it starts some on a machine of several cores) join it.
        if (forFile && std::thread::hardware_concurrency() > 1) {
            EXPECT_GT(noted.threadsAlike, 1);
        }
    }
}

class EachClick : public testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(RenderEngine, EachClick, testing::Bool(),
                         [](const auto& info) { return info.param ? "PitchKept" : "Resampled"; });

TEST_P(EachClick, FallsOnTheOutputSampleOfItsPoint) {
    const std::string path = testsupport::Clip(testsupport::ClipKind::H264Pcm);
    std::unique_ptr<GroupStream> stream;
    ASSERT_EQ(CreateGroupStream(*MakeGroup(AudioType(), 0, path, kSound, 2, GetParam()), &stream),
              S_OK);
    const std::vector<std::int16_t> output = PullSound(*stream);
    EXPECT_EQ(static_cast<std::int64_t>(output.size() / 2), AudioGroupStream::SampleAt(4 * S));

    // Where the clicks really are in the file, by an independent decode.
    const std::vector<std::int16_t> source = testsupport::DecodeSound(path);
    long from = 0;
    for (REFERENCE_TIME point : {Ms(1200), Ms(2900)}) {
        const long click = testsupport::FindClick(source, from);
        ASSERT_GE(click, 0);
        from = click + testsupport::kClipSampleRate / 10;
        // The click's media time, carried through its piece onto the output timeline.
        const double media = static_cast<double>(click) / testsupport::kClipSampleRate;
        const Piece& piece = point == Ms(1200) ? kSound[1] : kSound[2];
        // With the pitch kept the sound around a point plays at its own speed.
        const double rate =
            GetParam() ? 1.0 : static_cast<double>(piece.timeline.Length()) / piece.media.Length();
        const double outputTime = piece.timeline.start / 1e7 + (media - piece.media.start / 1e7) * rate;
        const long expected = std::lround(outputTime * AudioGroupStream::kSampleRate);
        const long found = testsupport::FindClick(output, expected - 2000);
        EXPECT_NEAR(found, expected, 1) << "click of the point at " << point;
    }
}

TEST(RenderEngine, TheSoundOfAFileWithoutSoundIsSilenceButAMissingFileFails) {
    const std::string path = testsupport::Clip(testsupport::ClipKind::PictureOnly);
    std::unique_ptr<GroupStream> stream;
    ASSERT_EQ(CreateGroupStream(*MakeGroup(AudioType(), 0, path, kSound), &stream), S_OK);
    const std::vector<std::int16_t> output = PullSound(*stream);
    EXPECT_EQ(static_cast<std::int64_t>(output.size() / 2), AudioGroupStream::SampleAt(4 * S));
    EXPECT_TRUE(std::all_of(output.begin(), output.end(), [](std::int16_t v) { return v == 0; }));

    EXPECT_TRUE(FAILED(
        CreateGroupStream(*MakeGroup(AudioType(), 0, "/no/such/clip.mp4", kSound), &stream)));
}

// The frame on screen halfway through each output frame: a source frame lands on the output
// frame nearest to its own time.
TEST(RenderEngine, EveryOutputFrameShowsTheFrameHoldingItsMiddle) {
    const std::string path = testsupport::Clip(testsupport::ClipKind::H264Pcm);
    for (double fps : {25.0, 29.97}) {
        std::unique_ptr<GroupStream> stream;
        ASSERT_EQ(CreateGroupStream(*MakeGroup(VideoType(testsupport::kClipWidth, testsupport::kClipHeight),
                                               fps, path, kPicture),
                                    &stream),
                  S_OK);
        graph::MediaSample sample;
        int frames = 0;
        while (stream->Next(sample)) {
            const double middle = (sample.start + sample.stop) / 2.0;
            const int expected = static_cast<int>(std::floor(middle * testsupport::kClipFps / 1e7 + 1e-9));
            ASSERT_EQ(testsupport::FrameNumberOf(ImageOf(sample.frame.get())), expected)
                << "output frame at " << sample.start << " at " << fps << " fps";
            ++frames;
        }
        EXPECT_EQ(frames, static_cast<int>(std::ceil(4 * fps - 1e-9)));
    }
}

TEST(RenderEngine, AWholeSpanShorterThanItsMediaPlaysFasterAndSeeksToTheHeldFrame) {
    const std::string path = testsupport::Clip(testsupport::ClipKind::H264Pcm);
    std::unique_ptr<GroupStream> stream;
    // Four seconds of picture over three seconds of output.
    ASSERT_EQ(CreateGroupStream(*MakeGroup(VideoType(testsupport::kClipWidth, testsupport::kClipHeight),
                                           25, path, {{{0, 3 * S}, {0, 4 * S}}}),
                                &stream),
              S_OK);
    EXPECT_EQ(stream->Length(), 3 * S);
    graph::MediaSample sample;
    for (std::int64_t k = 0; stream->Next(sample); ++k) {
        const double media = (sample.start + sample.stop) / 2.0 * 4.0 / 3.0;
        ASSERT_EQ(testsupport::FrameNumberOf(ImageOf(sample.frame.get())),
                  static_cast<int>(std::floor(media * 25 / 1e7)))
            << k;
    }
    stream->Seek(Ms(2010));
    ASSERT_TRUE(stream->Next(sample));
    EXPECT_EQ(sample.start, Ms(2000)); // the output frame holding 2.01 s
    EXPECT_EQ(testsupport::FrameNumberOf(ImageOf(sample.frame.get())), 67); // media 2.6933 s
}

TEST(RenderEngine, PicturesOfAnotherSizeAreFittedIntoTheGroupFrame) {
    const std::string path = testsupport::Clip(testsupport::ClipKind::H264Pcm);
    for (int mode : {RESIZEF_PRESERVEASPECTRATIO, RESIZEF_STRETCH}) {
        std::unique_ptr<GroupStream> stream;
        ASSERT_EQ(CreateGroupStream(*MakeGroup(VideoType(320, 120), 25, path,
                                               {{{0, S}, {0, S}}}, mode),
                                    &stream),
                  S_OK);
        graph::MediaSample sample;
        ASSERT_TRUE(stream->Next(sample));
        EXPECT_EQ(sample.frame->width, 320);
        EXPECT_EQ(sample.frame->height, 120);
        // With the aspect kept, the 160-wide picture sits between black borders.
        const std::uint8_t corner = sample.frame->data[0][60 * sample.frame->linesize[0] + 2];
        if (mode == RESIZEF_PRESERVEASPECTRATIO) {
            EXPECT_LE(corner, 20);
        }
    }
}

TEST(RenderEngine, TheFrontEndPlaysSeeksAndCompletesInAGraph) {
    const std::string path = testsupport::Clip(testsupport::ClipKind::H264Pcm);
    Timeline timeline;
    ASSERT_EQ(timeline.AddGroup(MakeGroup(VideoType(testsupport::kClipWidth, testsupport::kClipHeight),
                                          25, path, kPicture)),
              S_OK);
    ASSERT_EQ(timeline.AddGroup(MakeGroup(AudioType(), 0, path, kSound)), S_OK);
    RenderEngine engine;
    EXPECT_EQ(engine.ConnectFrontEnd(), E_UNEXPECTED);
    ASSERT_EQ(engine.SetTimelineObject(&timeline), S_OK);
    ASSERT_EQ(engine.SetDynamicReconnectLevel(1), S_OK);
    ASSERT_EQ(engine.ConnectFrontEnd(), S_OK);
    ASSERT_EQ(engine.RenderOutputPins(), S_OK);
    graph::Pin* video = nullptr;
    ASSERT_EQ(engine.GetGroupOutputPin(0, &video), S_OK);
    EXPECT_EQ(video->ConnectedTo()->Filter()->Name(), "Video Renderer");
    graph::Pin* audio = nullptr;
    ASSERT_EQ(engine.GetGroupOutputPin(1, &audio), S_OK);
    EXPECT_EQ(audio->ConnectedTo()->Filter()->Name(), "Audio Renderer");

    graph::FilterGraph* graph = nullptr;
    ASSERT_EQ(engine.GetFilterGraph(&graph), S_OK);
    graph::IMediaSeeking* seeking = nullptr;
    graph::IMediaControl* control = nullptr;
    graph->QueryInterface(&seeking);
    graph->QueryInterface(&control);
    REFERENCE_TIME length = 0;
    ASSERT_EQ(seeking->GetDuration(&length), S_OK);
    EXPECT_EQ(length, 4 * S);
    REFERENCE_TIME target = Ms(3500);
    ASSERT_EQ(seeking->SetPositions(&target, graph::AM_SEEKING_AbsolutePositioning, nullptr,
                                    graph::AM_SEEKING_NoPositioning),
              S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    long code = 0;
    std::intptr_t p1 = 0, p2 = 0;
    bool completed = false;
    for (int i = 0; i < 300 && !completed; ++i) {
        QTest::qWait(10);
        while (SUCCEEDED(graph->GetEvent(&code, &p1, &p2, 0)))
            completed |= code == graph::EC_COMPLETE;
    }
    EXPECT_TRUE(completed);
    EXPECT_EQ(engine.ScrapIt(), S_OK);
    EXPECT_EQ(engine.GetFilterGraph(&graph), E_UNEXPECTED);
}

// A group's threads look up its queue among all the groups' queues: every group is set up
// before the first is composed, or the list of queues could move under a running thread.
TEST(RenderEngine, EveryGroupIsSetUpBeforeAnyIsComposed) {
    const std::string path = testsupport::Clip(testsupport::ClipKind::H264Pcm);
    StartOrder order;
    std::vector<std::unique_ptr<GroupStream>> groups;
    const std::unique_ptr<Group> made[] = {
        MakeGroup(VideoType(testsupport::kClipWidth, testsupport::kClipHeight), 25, path, kPicture),
        MakeGroup(AudioType(), 0, path, kSound)};
    for (const auto& group : made) {
        std::unique_ptr<GroupStream> stream;
        ASSERT_EQ(CreateGroupStream(*group, &stream), S_OK);
        groups.push_back(std::make_unique<WatchedGroup>(std::move(stream), order));
    }
    graph::FilterGraph graph;
    auto frontEnd = std::make_shared<TimelineFrontEnd>(std::move(groups));
    ASSERT_EQ(graph.AddFilter(frontEnd), S_OK);
    for (int group = 0; group < 2; ++group)
        ASSERT_EQ(graph.Render(frontEnd->GroupPin(group)), S_OK);
    order.armed = true;
    ASSERT_EQ(frontEnd->Pause(), S_OK);
    for (int i = 0; i < 2000 && !order.composing; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(frontEnd->Stop(), S_OK);
    EXPECT_TRUE(order.composing);
    EXPECT_FALSE(order.setUpWhileComposing);
}
