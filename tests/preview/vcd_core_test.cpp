// The player on real clips: opening, stream removal by mode, seeking, positions, the end of
// the media, and bad files.
#include "platform/core/window_message.h"
#include "platform/graph/filter_graph.h"
#include "preview/preview_window.h"
#include "preview/stream_removal.h"
#include "preview/vcd_core.h"
#include "support/media_fixtures.h"
#include "support/scripted_prompts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

using preview::CVcdCore;
using testsupport::ClipKind;

namespace {

constexpr REFERENCE_TIME S = UNITS;

// The major types of the branches a player kept, by the demultiplexer's connected pins.
std::vector<graph::MajorType> KeptBranches(graph::FilterGraph& graph) {
    std::vector<graph::MajorType> kept;
    graph::BaseFilter* source = preview::FindSourceFilter(graph);
    graph::BaseFilter* splitter = source->FindPin(graph::PinDirection::Output, 0)->ConnectedTo()->Filter();
    for (int i = 0; graph::Pin* pin = preview::GetOutPin(splitter, i); ++i) {
        graph::MediaType type;
        if (SUCCEEDED(pin->ConnectionMediaType(&type)))
            kept.push_back(type.Major());
    }
    return kept;
}

// Lets the event loop run until the condition holds or the time is up.
template <typename Condition> bool WaitFor(Condition condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < timeoutMs)
        QTest::qWait(10);
    return condition();
}

class PlayerTest : public ::testing::Test {
  protected:
    testsupport::PromptScope scope;
};

} // namespace

TEST_F(PlayerTest, PictureOnlyAndSoundOnlyPlayersKeepTheirBranches) {
    CVcdCore video(nullptr, preview::VideoOnly);
    video.fileName = testsupport::Clip(ClipKind::H264Aac);
    ASSERT_TRUE(video.OpenFile());
    EXPECT_EQ(KeptBranches(*video.pGB), std::vector<graph::MajorType>{graph::MajorType::Video});
    EXPECT_EQ(video.noVideo, 0);
    EXPECT_EQ(video.windowShown, 1);
    EXPECT_TRUE(video.m_hWnd->isVisible());
    EXPECT_EQ(video.playState, preview::Stopped);

    CVcdCore audio(nullptr, preview::AudioOnly);
    audio.fileName = testsupport::Clip(ClipKind::WithSubtitles);
    ASSERT_TRUE(audio.OpenFile());
    EXPECT_EQ(KeptBranches(*audio.pGB), std::vector<graph::MajorType>{graph::MajorType::Audio});
    EXPECT_EQ(audio.noVideo, 1);
    EXPECT_FALSE(audio.m_hWnd->isVisible());
    EXPECT_TRUE(scope.prompts.messages.empty());
}

TEST_F(PlayerTest, BadFilesFailWithTheMessageAndLeaveNoPlayerBehind) {
    for (const std::string& path : {testsupport::NonMediaFile(), std::string("/no/such/file.mp4")}) {
        CVcdCore player(nullptr, preview::VideoOnly);
        player.fileName = path;
        EXPECT_FALSE(player.OpenFile());
        EXPECT_EQ(player.playState, preview::Init);
        EXPECT_EQ(player.m_hWnd, nullptr);
        EXPECT_EQ(player.pGB, nullptr);
        EXPECT_TRUE(player.fileName.empty());
    }
    ASSERT_EQ(scope.prompts.messages.size(), 2u);
    EXPECT_EQ(scope.prompts.messages[0].text,
              "Cannot play the file.  The file is either corrupt or\nthe player does not support "
              "the format you are trying to play.\nYou need to install appropriate decoders.");
    EXPECT_EQ(scope.prompts.messages[0].caption, "Video Converter");
}

TEST_F(PlayerTest, SeeksPollsAndNeverGoesBeforeZero) {
    CVcdCore player(nullptr, preview::VideoOnly);
    player.fileName = testsupport::Clip(ClipKind::H264Aac);
    ASSERT_TRUE(player.OpenFile());
    player.Pause(); // nothing while stopped
    EXPECT_EQ(player.playState, preview::Stopped);

    ASSERT_EQ(player.SeekTo(3 * S), S_OK);
    EXPECT_EQ(player.currentPosition, 0); // left to the next poll
    player.PollPosition();
    EXPECT_EQ(player.currentPosition, 3 * S);
    EXPECT_GE(player.stopPosition, 4 * S - S / 10);

    ASSERT_EQ(player.SkipSeconds(-10), S_OK);
    EXPECT_EQ(player.currentPosition, 3 * S); // refreshed before the skip
    player.PollPosition();
    EXPECT_EQ(player.currentPosition, 0);
    EXPECT_EQ(player.Timer(CVcdCore::kPollTimer)->interval(), 100);
}

TEST_F(PlayerTest, TitleShowsTheFileAndThePause) {
    CVcdCore player(nullptr, preview::VideoOnly);
    player.fileName = testsupport::Clip(ClipKind::H264Aac);
    ASSERT_TRUE(player.OpenFile());
    const std::string name = player.fileName.substr(player.fileName.find_last_of('/') + 1);
    EXPECT_EQ(player.m_hWnd->windowTitle().toStdString(), name + "  ");
    player.Play();
    EXPECT_EQ(player.playState, preview::Running);
    player.Pause();
    EXPECT_EQ(player.m_hWnd->windowTitle().toStdString(), name + "  (Paused)");
    player.Close();
    EXPECT_EQ(player.playState, preview::Init);
    EXPECT_EQ(player.m_hWnd, nullptr);
}

TEST_F(PlayerTest, TheEndOfTheMediaStopsAndRewinds) {
    CVcdCore player(nullptr, preview::VideoOnly);
    player.fileName = testsupport::Clip(ClipKind::H264Aac);
    ASSERT_TRUE(player.OpenFile());
    player.SeekTo(testsupport::kClipSeconds * S - S / 2);
    player.Play();
    ASSERT_TRUE(WaitFor([&] { return player.playState == preview::Stopped; }, 5000));
    player.PollPosition();
    EXPECT_EQ(player.currentPosition, 0);
    EXPECT_EQ(player.m_hWnd->windowTitle().endsWith("(Paused)"), false);
}

TEST_F(PlayerTest, AGraphWithoutMediaTimeCannotBeSeeked) {
    graph::FilterGraph empty;
    CVcdCore player(nullptr, preview::AllStreams);
    ASSERT_EQ(player.OpenGraph(&empty), S_OK);
    EXPECT_EQ(player.playState, preview::Running);
    EXPECT_EQ(player.noVideo, 1);
    EXPECT_EQ(player.SeekTo(S), E_NOINTERFACE);
    EXPECT_EQ(player.SkipSeconds(1), E_NOINTERFACE);
    EXPECT_EQ(player.Timer(CVcdCore::kPollTimer)->interval(), 1000);
    player.Close();
}
