// Running, pausing and seeking graphs on real clips: the picture and sound at a seek target,
// positions, the end of the media, and what a graph without media time refuses.
#include "graph_helpers.h"
#include "support/media_fixtures.h"

#include "platform/core/window_message.h"
#include "platform/graph/filter_graph.h"
#include "platform/graph/playback/audio_renderer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTest>
#include <QThread>
#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <mutex>

namespace {

using namespace graph;
using namespace graphtest;
using testsupport::ClipKind;

constexpr REFERENCE_TIME kFrame = UNITS / testsupport::kClipFps;
constexpr unsigned kGraphNotify = core::WM_USER + 13;

// A graph on a clip with its picture in a small owner widget.
struct Player {
    explicit Player(const std::string& path) {
        owner.resize(testsupport::kClipWidth, testsupport::kClipHeight);
        owner.show();
        result = graph.RenderFile(path);
        graph.QueryInterface(&control);
        graph.QueryInterface(&seeking);
        graph.QueryInterface(&window);
        window->put_Owner(&owner);
    }
    int ShownFrame() {
        QCoreApplication::processEvents();
        return testsupport::FrameNumberOf(owner.grab().toImage());
    }
    HRESULT SeekTo(REFERENCE_TIME t) {
        return seeking->SetPositions(&t, AM_SEEKING_AbsolutePositioning, nullptr,
                                     AM_SEEKING_NoPositioning);
    }
    REFERENCE_TIME Position() {
        REFERENCE_TIME t = -1;
        seeking->GetCurrentPosition(&t);
        return t;
    }

    QWidget owner;
    FilterGraph graph;
    HRESULT result = E_FAIL;
    IMediaControl* control = nullptr;
    IMediaSeeking* seeking = nullptr;
    IVideoWindow* window = nullptr;
};

void Sleep(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

class PictureTest : public testing::TestWithParam<ClipKind> {};

TEST_P(PictureTest, SeekWhilePausedShowsTheFrameHoldingTheTarget) {
    const std::string path = testsupport::Clip(GetParam());
    // Picture k starts at the k-th time stamp (encoders may leave gaps or shift the start).
    std::vector<REFERENCE_TIME> starts;
    for (double time : testsupport::ProbeStream(path, 'v').times)
        starts.push_back(std::llround(time * UNITS));
    ASSERT_EQ(starts.size(), 100u);
    Player player(path);
    ASSERT_EQ(player.result, S_OK);
    ASSERT_EQ(player.control->Pause(), S_OK);
    EXPECT_EQ(player.ShownFrame(), 0);

    struct Case {
        REFERENCE_TIME target;
        int frame;
    };
    // Out of order, on picture boundaries, one unit before them and just after them.
    const Case cases[] = {{starts[50], 50},     {starts[50] - 1, 49}, {starts[30] + 7, 30},
                          {starts[87] + 1, 87}, {starts[12] - 1, 11}, {0, 0},
                          {starts[99], 99}};
    for (const Case& c : cases) {
        ASSERT_EQ(player.SeekTo(c.target), S_OK);
        EXPECT_EQ(player.ShownFrame(), c.frame) << "target " << c.target;
        EXPECT_EQ(player.Position(), c.target);
    }
    player.control->Stop();
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureTest,
                         testing::Values(ClipKind::H264Aac, ClipKind::Mpeg4Mp3, ClipKind::Wmv2Wma2,
                                         ClipKind::Vp9Opus, ClipKind::PictureOnly));

TEST(Playback, PictureFollowsThePositionAndPauseHoldsIt) {
    Player player(testsupport::Clip(ClipKind::H264Aac));
    ASSERT_EQ(player.result, S_OK);
    REFERENCE_TIME stop = 0, duration = 0;
    ASSERT_EQ(player.seeking->GetStopPosition(&stop), S_OK);
    ASSERT_EQ(player.seeking->GetDuration(&duration), S_OK);
    EXPECT_EQ(stop, duration);
    EXPECT_NEAR(duration, testsupport::kClipSeconds * UNITS, kFrame);
    EXPECT_EQ(player.Position(), 0);

    ASSERT_EQ(player.control->Run(), S_OK);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.Position() >= UNITS; }, 10000));
    ASSERT_EQ(player.control->Pause(), S_OK);
    const REFERENCE_TIME paused = player.Position();
    EXPECT_GE(paused, UNITS);
    EXPECT_LT(paused, duration);
    // Nothing moves while paused, however long that is.
    Sleep(200);
    EXPECT_EQ(player.Position(), paused);
    // Within one picture of the clock.
    const int expected = static_cast<int>(paused / kFrame);
    EXPECT_NEAR(player.ShownFrame(), expected, 1);

    long state = -1;
    EXPECT_EQ(player.control->GetState(1000, &state), S_OK);
    EXPECT_EQ(state, State_Paused);
    ASSERT_EQ(player.control->Run(), S_OK);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.Position() > paused; }, 10000));
    player.control->Stop();
    EXPECT_EQ(player.control->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Stopped);

    // A stopped graph keeps its place and starts again from there.
    const REFERENCE_TIME stopped = player.Position();
    EXPECT_GT(stopped, paused);
    Sleep(100);
    EXPECT_EQ(player.Position(), stopped);
    ASSERT_EQ(player.control->Pause(), S_OK);
    EXPECT_EQ(player.Position(), stopped);
    EXPECT_NEAR(player.ShownFrame(), static_cast<int>(stopped / kFrame), 1);
    player.control->Stop();
}

class CompletionTest : public testing::TestWithParam<ClipKind> {};

TEST_P(CompletionTest, EndOfMediaIsAnnouncedToTheNotifyWindow) {
    Player player(testsupport::Clip(GetParam()));
    ASSERT_EQ(player.result, S_OK);
    IMediaEventEx* events = nullptr;
    player.graph.QueryInterface(&events);
    MessageCounter window(kGraphNotify);
    ASSERT_EQ(events->SetNotifyWindow(&window, kGraphNotify, 0), S_OK);

    ASSERT_EQ(player.SeekTo(35 * UNITS / 10), S_OK);
    ASSERT_EQ(player.control->Run(), S_OK);
    EXPECT_TRUE(WaitForEvent(player.graph, EC_COMPLETE, 5000));
    QCoreApplication::processEvents();
    EXPECT_GE(window.count, 1);

    // What a player does on completion: stop, rewind, show the first picture.
    player.control->Stop();
    ASSERT_EQ(player.SeekTo(0), S_OK);
    ASSERT_EQ(player.control->Pause(), S_OK);
    EXPECT_EQ(player.Position(), 0);
    if (GetParam() != ClipKind::SoundOnly) {
        EXPECT_EQ(player.ShownFrame(), 0);
    }
    events->SetNotifyWindow(nullptr, 0, 0);
}

TEST(Completion, AnEndNotTakenBeforeASeekIsDropped) {
    // Told of every report, which it leaves untaken; it outlives the graph that tells it.
    MessageCounter window(kGraphNotify);
    Player player(testsupport::Clip(ClipKind::H264Aac));
    ASSERT_EQ(player.result, S_OK);
    IMediaEventEx* events = nullptr;
    player.graph.QueryInterface(&events);
    ASSERT_EQ(events->SetNotifyWindow(&window, kGraphNotify, 0), S_OK);
    ASSERT_EQ(player.control->Run(), S_OK);
    // Skipped to the end while playing: the end is reported, but the user seeks back before
    // the player has taken the report.
    ASSERT_EQ(player.SeekTo(testsupport::kClipSeconds * UNITS), S_OK);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.count > 0; }, 10000)) << "no end reported";
    ASSERT_EQ(player.SeekTo(UNITS), S_OK);
    long code = 0;
    std::intptr_t param1 = 0, param2 = 0;
    EXPECT_EQ(events->GetEvent(&code, &param1, &param2, 0), E_ABORT);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.Position() > UNITS; }, 10000));
    player.control->Stop();
}

INSTANTIATE_TEST_SUITE_P(Formats, CompletionTest,
                         testing::Values(ClipKind::H264Aac, ClipKind::SoundOnly,
                                         ClipKind::PictureOnly, ClipKind::WithSubtitles));

TEST(Playback, UndecodableStreamIsReportedAndTheRestPlays) {
    Player player(testsupport::DamagedPictureClip());
    ASSERT_EQ(player.result, S_OK);
    ASSERT_EQ(player.control->Run(), S_OK);
    long code = 0;
    std::intptr_t status = 0, unused = 0;
    bool failed = false, completed = false;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000 && !completed) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        while (SUCCEEDED(player.graph.GetEvent(&code, &status, &unused, 0))) {
            if (code == EC_ERRORABORT) {
                failed = true;
                EXPECT_LT(status, 0);
            }
            completed |= code == EC_COMPLETE;
        }
    }
    EXPECT_TRUE(failed);
    EXPECT_TRUE(completed);
    player.control->Stop();
}

TEST(Seeking, OnlyMediaTimeOnlyRateOne) {
    FilterGraph empty;
    IMediaSeeking* seeking = nullptr;
    empty.QueryInterface(&seeking);
    EXPECT_EQ(seeking->IsFormatSupported(TimeFormat::MediaTime), S_FALSE);
    REFERENCE_TIME t = UNITS;
    EXPECT_EQ(seeking->SetPositions(&t, AM_SEEKING_AbsolutePositioning, nullptr, 0), E_NOINTERFACE);
    EXPECT_EQ(seeking->GetCurrentPosition(&t), E_NOINTERFACE);
    EXPECT_EQ(seeking->SetTimeFormat(TimeFormat::MediaTime), E_NOINTERFACE);

    Player player(testsupport::Clip(ClipKind::PictureOnly));
    EXPECT_EQ(player.seeking->IsFormatSupported(TimeFormat::MediaTime), S_OK);
    EXPECT_EQ(player.seeking->IsFormatSupported(TimeFormat::Frame), S_FALSE);
    EXPECT_EQ(player.seeking->SetTimeFormat(TimeFormat::Frame), E_NOINTERFACE);
    EXPECT_EQ(player.seeking->SetTimeFormat(TimeFormat::MediaTime), S_OK);
    EXPECT_EQ(player.seeking->SetRate(1.0), S_OK);
    EXPECT_LT(player.seeking->SetRate(2.0), 0);
    // Targets outside the media are held to it.
    EXPECT_EQ(player.SeekTo(-5 * UNITS), S_OK);
    EXPECT_EQ(player.Position(), 0);
}

TEST(VideoWindow, SizeFrameTimeAndPlacement) {
    Player player(testsupport::Clip(ClipKind::Wmv2Wma2));
    IBasicVideo* video = nullptr;
    player.graph.QueryInterface(&video);
    long width = 0, height = 0;
    ASSERT_EQ(video->GetVideoSize(&width, &height), S_OK);
    EXPECT_EQ(width, testsupport::kClipWidth);
    EXPECT_EQ(height, testsupport::kClipHeight);
    double seconds = 0;
    ASSERT_EQ(video->get_AvgTimePerFrame(&seconds), S_OK);
    EXPECT_DOUBLE_EQ(seconds, 0.04);

    long style = 0;
    ASSERT_EQ(player.window->get_WindowStyle(&style), S_OK);
    EXPECT_EQ(player.window->put_WindowStyle((style & ~(WS_CAPTION | WS_THICKFRAME)) | WS_CHILD),
              S_OK);
    player.window->get_WindowStyle(&style);
    EXPECT_EQ(style & (WS_CHILD | WS_CAPTION), WS_CHILD);

    // The picture fills the rectangle it is given.
    player.owner.resize(2 * testsupport::kClipWidth, 2 * testsupport::kClipHeight);
    ASSERT_EQ(player.window->SetWindowPosition(20, 10, 2 * testsupport::kClipWidth,
                                               2 * testsupport::kClipHeight),
              S_OK);
    long left = 0, top = 0;
    ASSERT_EQ(player.window->GetWindowPosition(&left, &top, &width, &height), S_OK);
    EXPECT_EQ(left, 20);
    EXPECT_EQ(top, 10);
    EXPECT_EQ(width, 2 * testsupport::kClipWidth);
    ASSERT_EQ(player.control->Pause(), S_OK);
    const REFERENCE_TIME start = std::llround(
        testsupport::ProbeStream(testsupport::Clip(ClipKind::Wmv2Wma2), 'v').start * UNITS);
    ASSERT_EQ(player.SeekTo(start + 77 * kFrame), S_OK);
    QCoreApplication::processEvents();
    const QImage shown = player.owner.grab().toImage();
    const QImage picture =
        shown.copy(20, 10, 2 * testsupport::kClipWidth, 2 * testsupport::kClipHeight)
            .scaled(testsupport::kClipWidth, testsupport::kClipHeight);
    EXPECT_EQ(testsupport::FrameNumberOf(picture), 77);

    long visible = 0;
    EXPECT_EQ(player.window->put_Visible(OAFALSE), S_OK);
    EXPECT_EQ(player.window->get_Visible(&visible), S_OK);
    EXPECT_EQ(visible, OAFALSE);
    EXPECT_EQ(player.window->NotifyOwnerMessage(&player.owner, 0x1A, 0, 0), S_OK);
    player.control->Stop();
}

// Counts the mouse presses that reach it.
class ClickTarget : public QWidget {
  public:
    int presses = 0;
    QPoint last;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        ++presses;
        last = event->position().toPoint();
    }
};

TEST(VideoWindow, ClicksOnThePictureGoToTheDrain) {
    Player player(testsupport::Clip(ClipKind::PictureOnly));
    ClickTarget drain;
    ASSERT_EQ(player.window->put_MessageDrain(&drain), S_OK);
    ASSERT_EQ(player.window->SetWindowPosition(10, 10, 100, 80), S_OK);
    QWidget* picture = player.owner.childAt(50, 50);
    ASSERT_NE(picture, nullptr);
    const QPointF local(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, local, picture->mapToGlobal(local), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &press);
    EXPECT_EQ(drain.presses, 1);
    EXPECT_EQ(drain.last, drain.mapFromGlobal(picture->mapToGlobal(QPoint(5, 5))));
}

// Keeps every byte the audio renderer writes; its clock runs on system time while playing,
// slowed down by `pace` if asked.
class SoundRecorder final : public SoundOutput {
  public:
    struct Recording {
        std::mutex mutex;
        QByteArray bytes;
    };
    explicit SoundRecorder(std::shared_ptr<Recording> recording, int pace = 1)
        : recording_(std::move(recording)), clock_(std::make_shared<PlayingTime>(pace)) {}

    bool Open(const QAudioFormat& format) override {
        return format.sampleRate() == testsupport::kClipSampleRate && format.channelCount() == 2;
    }
    bool Write(const char* data, qint64 bytes, const std::function<bool()>& interrupted) override {
        if (interrupted())
            return false;
        std::lock_guard lock(recording_->mutex);
        recording_->bytes.append(data, bytes);
        return true;
    }
    void SetEnded() override {}
    void Play() override { clock_->Play(); }
    void Pause() override { clock_->Pause(); }
    void Discard() override {
        std::lock_guard lock(recording_->mutex);
        recording_->bytes.clear();
    }
    void SetVolume(double) override {}
    std::shared_ptr<const ReferenceClock> Clock() const override { return clock_; }

  private:
    class PlayingTime final : public ReferenceClock {
      public:
        explicit PlayingTime(int pace) : pace_(pace) {}
        void Play() {
            std::lock_guard lock(mutex_);
            playingSince_ = system_.Now();
        }
        void Pause() {
            std::lock_guard lock(mutex_);
            if (playingSince_ >= 0)
                base_ += system_.Now() - playingSince_;
            playingSince_ = -1;
        }
        REFERENCE_TIME Now() const override {
            std::lock_guard lock(mutex_);
            return (base_ + (playingSince_ >= 0 ? system_.Now() - playingSince_ : 0)) / pace_;
        }

      private:
        const int pace_;
        mutable std::mutex mutex_;
        SystemClock system_;
        REFERENCE_TIME base_ = 0;
        REFERENCE_TIME playingSince_ = -1;
    };

    std::shared_ptr<Recording> recording_;
    const std::shared_ptr<PlayingTime> clock_;
};

std::vector<std::int16_t> Samples(SoundRecorder::Recording& recording) {
    std::lock_guard lock(recording.mutex);
    std::vector<std::int16_t> samples(recording.bytes.size() / 2);
    std::memcpy(samples.data(), recording.bytes.constData(), samples.size() * 2);
    return samples;
}

// The offset (in sample frames, within +-range) at which `part` best matches `whole` around
// `at`, by least squared difference over the first `length` frames of `part`.
long BestOffset(const std::vector<std::int16_t>& whole, long at,
                const std::vector<std::int16_t>& part, long length, long range) {
    long best = 0;
    double bestError = -1;
    for (long offset = -range; offset <= range; ++offset) {
        double error = 0;
        for (long i = 0; i < length * 2; ++i) {
            const long w = (at + offset) * 2 + i;
            const double d =
                (w >= 0 && w < static_cast<long>(whole.size()) ? whole[w] : 0) - part[i];
            error += d * d;
        }
        if (bestError < 0 || error < bestError) {
            bestError = error;
            best = offset;
        }
    }
    return best;
}

struct SoundCase {
    ClipKind kind;
    long tolerance; // sample frames: WebM stamps packets to the millisecond
};

class SoundSeekTest : public testing::TestWithParam<SoundCase> {};

// Puts a recorder in place of the audio renderer's sound output.
void RecordSound(FilterGraph& graph, std::unique_ptr<SoundRecorder> recorder) {
    BaseFilter* decoder = FiltersNamed(graph, "Audio Decoder").at(0);
    Pin* decoded = decoder->FindPin(PinDirection::Output, 0);
    ASSERT_EQ(RemoveDownstream(graph, decoded), S_OK);
    auto renderer = std::make_unique<AudioRenderer>(std::move(recorder));
    Pin* input = renderer->FindPin(PinDirection::Input, 0);
    ASSERT_EQ(graph.AddFilter(std::move(renderer)), S_OK);
    ASSERT_EQ(graph.ConnectDirect(decoded, input), S_OK);
}

TEST(Playback, SoundOutputIsTheClock) {
    Player player(testsupport::Clip(ClipKind::H264Aac));
    ASSERT_EQ(player.result, S_OK);
    // A sound output whose time runs at half speed slows the whole graph, picture included.
    RecordSound(player.graph,
                std::make_unique<SoundRecorder>(std::make_shared<SoundRecorder::Recording>(), 2));
    player.window->put_Owner(&player.owner);
    ASSERT_EQ(player.control->Run(), S_OK);
    // Two readings of the position half a second of it apart, each taken between two readings
    // of the steady clock, which moves twice as far between them, however late the start.
    QElapsedTimer steady;
    steady.start();
    struct Reading {
        double before;
        REFERENCE_TIME position;
        double after;
    };
    const auto read = [&] {
        const double before = double(steady.nsecsElapsed()) / 1e9;
        const REFERENCE_TIME position = player.Position();
        return Reading{before, position, double(steady.nsecsElapsed()) / 1e9};
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.Position() > 0; }, 10000));
    const Reading first = read();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return player.Position() >= first.position + UNITS / 2; }, 10000));
    const Reading second = read();
    ASSERT_EQ(player.control->Pause(), S_OK);
    const double moved = double(second.position - first.position) / UNITS;
    EXPECT_GE(moved, (second.before - first.after) / 2 - 0.02);
    EXPECT_LE(moved, (second.after - first.before) / 2 + 0.02);
    const REFERENCE_TIME position = player.Position();
    EXPECT_NEAR(player.ShownFrame(), static_cast<int>(position / kFrame), 1);
    player.control->Stop();
}

TEST_P(SoundSeekTest, SeekStartsTheSoundAtTheTargetSample) {
    const std::string path = testsupport::Clip(GetParam().kind);
    const long tolerance = GetParam().tolerance;
    FilterGraph graph;
    ASSERT_EQ(graph.RenderFile(path), S_OK);
    // The sound goes into a recorder instead of the sound server.
    auto recording = std::make_shared<SoundRecorder::Recording>();
    RecordSound(graph, std::make_unique<SoundRecorder>(recording));

    IMediaControl* control = nullptr;
    IMediaSeeking* seeking = nullptr;
    graph.QueryInterface(&control);
    graph.QueryInterface(&seeking);
    ASSERT_EQ(control->Pause(), S_OK);
    const long rate = testsupport::kClipSampleRate;
    const std::vector<std::int16_t> reference = testsupport::DecodeSound(path);
    const double referenceStart = testsupport::FirstSoundTime(path);

    for (const REFERENCE_TIME target : {REFERENCE_TIME{9'876'543}, REFERENCE_TIME{21'000'017}}) {
        REFERENCE_TIME t = target;
        ASSERT_EQ(seeking->SetPositions(&t, AM_SEEKING_AbsolutePositioning, nullptr, 0), S_OK);
        // While paused the recorder takes everything up to the end of the file.
        QElapsedTimer timer;
        timer.start();
        const std::size_t second = 2 * rate; // stereo
        while (Samples(*recording).size() < second && timer.elapsed() < 5000)
            QThread::msleep(10);
        const std::vector<std::int16_t> heard = Samples(*recording);
        ASSERT_GE(heard.size(), second);

        const long at = std::lround((static_cast<double>(target) / UNITS - referenceStart) * rate);
        EXPECT_NEAR(BestOffset(reference, at, heard, rate / 10, 400), 0, tolerance)
            << "target " << target;
        // The next click is where the reference has it. A decoder started after a seek may
        // round a little differently, which can move the loudest sample of a click by one or
        // two, never the sound itself.
        const long click = testsupport::FindClick(reference, at);
        ASSERT_GE(click, 0);
        EXPECT_NEAR(testsupport::FindClick(heard, 0), click - at, tolerance + 2)
            << "target " << target;
    }
    control->Stop();
}

// Not WMA: its decoder labels every frame one frame late, so the reference cannot place
// the sound to the sample.
INSTANTIATE_TEST_SUITE_P(
    Formats, SoundSeekTest,
    testing::Values(SoundCase{ClipKind::H264Aac, 0}, SoundCase{ClipKind::Mpeg4Mp3, 0},
                    SoundCase{ClipKind::Vp9Opus, testsupport::kClipSampleRate / 1000},
                    SoundCase{ClipKind::SoundOnly, 0}));

} // namespace
