// Sound through a real sound server: the click of a clip is heard when the player's
// position says it plays. Needs the null sink that scripts/test.sh starts.
#include "graph_helpers.h"
#include "support/media_fixtures.h"
#include "support/sound_capture.h"

#include "platform/graph/filter_graph.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

using namespace graph;
using testsupport::ClipKind;

// The player's position at a moment, between the two polls around it.
double PositionAt(const std::vector<std::pair<double, double>>& polls, double when) {
    for (std::size_t i = 1; i < polls.size(); ++i) {
        if (polls[i].first >= when) {
            const auto& [t0, p0] = polls[i - 1];
            const auto& [t1, p1] = polls[i];
            return t1 == t0 ? p1 : p0 + (p1 - p0) * (when - t0) / (t1 - t0);
        }
    }
    return -1;
}

TEST(SoundServer, ClickIsHeardWhereThePlayerReportsIt) {
    const QString sink = testsupport::TestSoundSink();
    if (sink.isEmpty())
        GTEST_SKIP() << "no test sound server (scripts/test.sh starts one)";
    const std::string path = testsupport::Clip(ClipKind::SoundOnly);
    const std::vector<std::int16_t> reference = testsupport::DecodeSound(path);
    const double referenceStart = testsupport::FirstSoundTime(path);
    const int rate = testsupport::kClipSampleRate;

    FilterGraph graph;
    ASSERT_EQ(graph.RenderFile(path), S_OK);
    IMediaControl* control = nullptr;
    IMediaSeeking* seeking = nullptr;
    graph.QueryInterface(&control);
    graph.QueryInterface(&seeking);

    testsupport::SoundCapture capture(sink);
    ASSERT_TRUE(capture.WaitUntilStarted()) << "parec recorded nothing";

    ASSERT_EQ(control->Pause(), S_OK);
    REFERENCE_TIME from = 5 * UNITS / 10;
    ASSERT_EQ(seeking->SetPositions(&from, AM_SEEKING_AbsolutePositioning, nullptr, 0), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    std::vector<std::pair<double, double>> polls; // (time, position in seconds)
    const double last = testsupport::kClickTimes[1] + 0.3;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 8000 && (polls.empty() || polls.back().second < last)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        REFERENCE_TIME position = 0;
        seeking->GetCurrentPosition(&position);
        polls.emplace_back(testsupport::SteadySeconds(), double(position) / UNITS);
    }
    control->Stop();
    ASSERT_GE(polls.back().second, last) << "playback did not get through the clicks";

    // Each click, as played, against the position the player reported at that moment.
    long searchFrom = 0;
    for (double clickTime : testsupport::kClickTimes) {
        const long inReference =
            testsupport::FindClick(reference, long(clickTime * rate) - rate / 20);
        ASSERT_GE(inReference, 0);
        const double clickAt = referenceStart + double(inReference) / rate;
        const long heard = testsupport::FindClick(capture.Samples(), searchFrom);
        ASSERT_GE(heard, 0) << "click at " << clickTime << " s not heard";
        const double reported = PositionAt(polls, capture.TimeOf(heard));
        EXPECT_NEAR(reported, clickAt, 0.020) << "click at " << clickTime << " s";
        std::printf("click at %.1f s: the player reported %+.1f ms from it\n", clickTime,
                    (reported - clickAt) * 1000);
        searchFrom = heard + rate / 2;
    }
}

} // namespace
