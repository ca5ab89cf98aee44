// Whatever the user does with the transport, in whatever order and however fast, and however
// busy the machine, the sound then plays at its own pace, the two read-outs move together and
// each click is heard where the picture says. Drives the transport on a clip that clicks once
// a second, then listens to the test sound server. Needs the null sink that scripts/test.sh
// starts.
#include "app/vellum_dlg.h"
#include "controls/bitmap_slider.h"
#include "resources/menus.h"
#include "resources/resource.h"
#include "sound_menu_fixture.h"
#include "support/media_fixtures.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"
#include "support/sound_capture.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

namespace {

constexpr int kClipLength = 12;
constexpr double kListenSeconds = 3.2;

class TransportFixture {
  protected:
    TransportFixture() { testsupport::UseTemporarySettings(); }
    void Click(int id) { QTest::mouseClick(dlg.GetDlgItem(id), Qt::LeftButton); }
    void ReleaseSeekBarAt(int position) {
        auto* bar = dlg.Item<CBitmapSlider>(IDC_SLIDER_POSITION);
        bar->setValue(position);
        emit bar->releasedCapture();
    }
    double ReadOut(int id) { return dlg.GetDlgItemText(id).section(':', 1).toDouble(); }
    // Opens a clip that clicks at every whole second plus a half; both players then start
    // from 0 a second later.
    void OpenMetronome(int seconds) {
        scope.prompts.fileAnswers = {QString::fromStdString(testsupport::MetronomeClip(seconds))};
        Click(IDC_BUTTON_ADD_VIDEO);
        ASSERT_TRUE(dlg.videoPlayer && dlg.audioPlayer);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return dlg.videoPlayer->playState == preview::Running &&
                       dlg.audioPlayer->playState == preview::Running;
            },
            10000))
            << "the players did not start";
    }

    // Both players polled together, their positions and the read-outs as the window then
    // shows them.
    struct Reading {
        double at; // SteadySeconds()
        double picture;
        double sound;
        double videoReadOut;
        double audioReadOut;
    };
    Reading ReadNow() {
        dlg.videoPlayer->PollPosition();
        dlg.audioPlayer->PollPosition();
        const double at = testsupport::SteadySeconds();
        QCoreApplication::sendPostedEvents();
        return {at, double(dlg.videoPlayer->currentPosition) / UNITS,
                double(dlg.audioPlayer->currentPosition) / UNITS, ReadOut(IDC_EDIT_VIDEO_POSITION),
                ReadOut(IDC_EDIT_AUDIO_POSITION)};
    }

    // A position at a moment, from the readings around it (the middle of their leads over
    // the steady clock, so that a late reading does not count); -1 without any.
    static double PositionAt(const std::vector<Reading>& readings, double Reading::*position,
                             double when) {
        std::vector<double> leads;
        for (const Reading& reading : readings) {
            if (std::abs(reading.at - when) < 0.25)
                leads.push_back(reading.*position - reading.at);
        }
        if (leads.empty())
            return -1;
        std::nth_element(leads.begin(), leads.begin() + leads.size() / 2, leads.end());
        return when + leads[leads.size() / 2];
    }

    // One command of the transport, chosen at random: plays, pauses, stops, skips past either
    // end, moves the sound against the picture, seeks.
    void RandomCommand(std::mt19937& random) {
        static const int kButtons[] = {IDC_BUTTON_PLAY,
                                       IDC_BUTTON_PAUSE,
                                       IDC_BUTTON_STOP,
                                       IDC_BUTTON_JUMP_FORWARD,
                                       IDC_BUTTON_JUMP_BACKWARD,
                                       IDC_BUTTON_AUDIO_JUMP_FORWARD,
                                       IDC_BUTTON_AUDIO_VIDEO_RESTORE,
                                       IDC_BUTTON_AUDIO_JUMP_BACKWARD};
        const int pick = static_cast<int>(random() % (std::size(kButtons) + 1));
        if (pick == static_cast<int>(std::size(kButtons)))
            ReleaseSeekBarAt(static_cast<int>(random() % 601));
        else
            Click(kButtons[pick]);
        QTest::qWait(static_cast<int>(random() % 150));
    }

    testsupport::PromptScope scope;
    CVellumDlg dlg;
};

class TransportPaceTest : public TransportFixture, public ::testing::TestWithParam<unsigned> {};

} // namespace

TEST_P(TransportPaceTest, SoundKeepsItsPaceAndTheReadOutsMoveTogether) {
    const QString sink = testsupport::TestSoundSink();
    if (sink.isEmpty())
        GTEST_SKIP() << "no test sound server (scripts/test.sh starts one)";
    testsupport::RunModal(dlg, [&] {
        OpenMetronome(kClipLength);
        testsupport::SoundCapture capture(sink);
        ASSERT_TRUE(capture.WaitUntilStarted()) << "parec recorded nothing";

        std::mt19937 random(GetParam());
        for (int i = 0; i < 25; ++i)
            RandomCommand(random);

        // Sound and picture together again, playing from the second second; the listen begins
        // once the sound moves on from there.
        Click(IDC_BUTTON_AUDIO_VIDEO_RESTORE);
        Click(IDC_BUTTON_PLAY);
        ReleaseSeekBarAt(100);
        const double sought = ReadNow().sound;
        ASSERT_TRUE(QTest::qWaitFor([&] { return ReadNow().sound > sought + 0.1; }, 10000))
            << "the sound did not play on after the seek";

        // The listen lasts as long as the sound device takes to play kListenSeconds of it: on a
        // busy machine the sound may stall, and the read-outs with it, so the pace is judged
        // against the sound heard, not the time passed.
        const int rate = testsupport::kClipSampleRate;
        const Reading first = ReadNow();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return capture.SoundingFrames(capture.FrameAt(first.at), capture.Frames()) >=
                       kListenSeconds * rate;
            },
            30000))
            << "the sound did not play on";
        const Reading last = ReadNow();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return capture.Frames() >= capture.FrameAt(last.at); }, 10000))
            << "the recording fell behind";
        const long from = capture.FrameAt(first.at);
        const long to = capture.FrameAt(last.at);
        const std::vector<testsupport::SoundCapture::Stretch> stretches =
            capture.SoundingStretches(from, to);
        ASSERT_FALSE(stretches.empty());
        const double heard = double(capture.SoundingFrames(from, to)) / rate;
        const double video = last.videoReadOut - first.videoReadOut;
        const double audio = last.audioReadOut - first.audioReadOut;
        EXPECT_NEAR(video, heard, 0.3)
            << "video moved " << video << " s while " << heard << " s of sound were heard";
        EXPECT_NEAR(audio, video, 0.25) << "video moved " << video << " s, audio " << audio;
        // A stream that starves between feeds breaks off every few milliseconds; one held up by
        // a busy machine, now and then.
        EXPECT_LE(stretches.size() - 1, std::size_t(kListenSeconds * 5))
            << "the sound broke off " << stretches.size() - 1 << " times";

        // The beat, as heard: a click every second of sound played, each as short as it was
        // recorded.
        std::vector<long> clicks;
        for (long at = testsupport::FindClick(capture.Samples(), from); at >= 0 && at < to;
             at = testsupport::FindClick(capture.Samples(), at + rate / 2))
            clicks.push_back(at);
        ASSERT_GE(clicks.size(), 2u) << "the beat was not heard";
        for (std::size_t i = 1; i < clicks.size(); ++i)
            EXPECT_NEAR(double(capture.SoundingFrames(clicks[i - 1], clicks[i])) / rate, 1.0, 0.03)
                << "between clicks " << i - 1 << " and " << i;
        const std::vector<std::int16_t>& samples = capture.Samples();
        for (long click : clicks) {
            long loud = 0;
            for (long at = click; at < click + rate / 100 && at * 2 < long(samples.size()); ++at)
                loud += std::abs(samples[at * 2]) >= 16000;
            EXPECT_LE(loud, rate * 3 / 2000) << "a click of 1 ms lasted " << loud << " samples";
        }
        std::printf("seed %u: %zu clicks heard, %.2f s of sound in %.2f s, in %zu stretches; "
                    "read-outs moved %.1f s and %.1f s\n",
                    GetParam(), clicks.size(), heard, double(to - from) / rate, stretches.size(),
                    video, audio);
    });
}

INSTANTIATE_TEST_SUITE_P(Seeds, TransportPaceTest, ::testing::Values(1u, 2u, 3u));

namespace {

// Busy loops in child processes, ahead of the test's own threads where the system allows,
// until destroyed.
class CpuLoad {
  public:
    explicit CpuLoad(int loops) {
        for (int i = 0; i < loops; ++i) {
            processes_.push_back(std::make_unique<QProcess>());
            processes_.back()->start("nice", {"-n", "-10", "sh", "-c", "while :; do :; done"});
        }
    }
    ~CpuLoad() {
        for (auto& process : processes_) {
            process->kill();
            process->waitForFinished();
        }
    }

  private:
    std::vector<std::unique_ptr<QProcess>> processes_;
};

struct LoadCase {
    const char* name;
    std::vector<Qt::Key> keys; // pressed while both play, before the load
    double offset;             // seconds, as shown afterwards
};

class TransportUnderLoadTest : public TransportFixture, public ::testing::TestWithParam<LoadCase> {
  protected:
    std::vector<Reading> Follow(double seconds) {
        std::vector<Reading> readings;
        const double end = testsupport::SteadySeconds() + seconds;
        while (testsupport::SteadySeconds() < end) {
            readings.push_back(ReadNow());
            QTest::qWait(10);
        }
        return readings;
    }
};

void PrintTo(const LoadCase& test, std::ostream* out) {
    *out << test.name;
}

} // namespace

// Starved of processor time, the sound player underruns and its sound stalls; the picture
// waits for it, so once the load is gone the two are the offset apart again and every click
// is heard on its picture.
TEST_P(TransportUnderLoadTest, TheSoundStaysTheOffsetFromThePicture) {
    const QString sink = testsupport::TestSoundSink();
    if (sink.isEmpty())
        GTEST_SKIP() << "no test sound server (scripts/test.sh starts one)";
    const LoadCase& test = GetParam();
    testsupport::RunModal(dlg, [&] {
        OpenMetronome(20);
        testsupport::SoundCapture capture(sink);
        ASSERT_TRUE(capture.WaitUntilStarted()) << "parec recorded nothing";
        QApplication::setActiveWindow(&dlg);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
        Click(IDC_BUTTON_STOP);
        Click(IDC_BUTTON_PLAY);
        for (Qt::Key key : test.keys) {
            QTest::qWait(300);
            QTest::keyClick(&dlg, key);
        }
        ASSERT_DOUBLE_EQ(ReadOut(IDC_EDIT_AUDIO_OFFSET), test.offset);
        {
            CpuLoad load(8);
            QTest::qWait(5000);
        }
        // Once the load is gone the players are the offset apart again.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const Reading reading = ReadNow();
                return std::abs(reading.sound - reading.picture - test.offset) < 0.02;
            },
            10000))
            << "the players did not come together again";
        const long from = capture.Frames();
        const std::vector<Reading> readings = Follow(2.5);

        // The read-outs show tenths: apart by the offset, give or take their rounding.
        double readOutsOff = 0;
        double playersOff = 0;
        for (const Reading& reading : readings) {
            readOutsOff = std::max(
                readOutsOff, std::abs(reading.audioReadOut - reading.videoReadOut - test.offset));
            playersOff =
                std::max(playersOff, std::abs(reading.sound - reading.picture - test.offset));
        }
        EXPECT_LE(readOutsOff, 0.1 + 1e-9)
            << "read-outs up to " << readOutsOff << " s off the offset";
        EXPECT_LT(playersOff, 0.02) << "players up to " << playersOff << " s off the offset";

        // Each click, as heard, against the picture's position at that moment: the click at
        // sound time s belongs on picture time s - offset. Which click it is, the sound
        // player's position says.
        const int rate = testsupport::kClipSampleRate;
        int clicks = 0;
        for (long at = testsupport::FindClick(capture.Samples(), from); at >= 0;
             at = testsupport::FindClick(capture.Samples(), at + rate / 2)) {
            const double heard = capture.TimeOf(at);
            const double picture = PositionAt(readings, &Reading::picture, heard);
            const double sound = PositionAt(readings, &Reading::sound, heard);
            if (picture < 0 || sound < 0)
                continue;
            const double lag = picture + test.offset - (std::round(sound - 0.5) + 0.5);
            EXPECT_NEAR(lag, 0, 0.04) << "click heard " << lag << " s after its picture";
            std::printf("%s: click %+.1f ms after its picture\n", test.name, lag * 1000);
            ++clicks;
        }
        EXPECT_GE(clicks, 2) << "the beat was not heard";
        std::printf("%s: players %.1f ms off the offset at most\n", test.name, playersOff * 1000);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Skips, TransportUnderLoadTest,
    ::testing::Values(LoadCase{"ForwardThenBack", {Qt::Key_I, Qt::Key_O}, 0.0},
                      LoadCase{"ForwardTwiceThenBackward", {Qt::Key_I, Qt::Key_I, Qt::Key_P}, 0.3}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

namespace {

// What starts the sound player.
enum class SoundStart {
    Open,                 // opening the video; both players start from 0 a second later
    SeparateWhilePlaying, // a separate recording taken while both play
    OwnWhilePlaying,      // back to the video's own sound while both play
    SeparateWhilePaused,  // a separate recording taken while paused, then Play
};

struct StartCase {
    const char* name;
    SoundStart start;
    int repeats;
};

void PrintTo(const StartCase& test, std::ostream* out) {
    *out << test.name;
}

class SoundStartTest : public TransportFixture, public ::testing::TestWithParam<StartCase> {
  protected:
    void PlayPast(double picture) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return ReadNow().picture > picture; }, 10000))
            << "the picture did not play on";
    }
    // The metronome's own sound, as a separate recording that coincides with it exactly.
    void UseSeparateSound() {
        scope.prompts.fileAnswers = {QString::fromStdString(testsupport::MetronomeSound(kClipLength))};
        ASSERT_TRUE(PickPopupCommand(dlg, IDM_OPEN_SEPARATE_SOUND));
        ASSERT_TRUE(dlg.UsesSeparateSound());
    }
    // Follows the players until the sound has played past the next click and that click has
    // been recorded; how much later than its picture it was heard.
    double NextClickLag(testsupport::SoundCapture& capture) {
        std::vector<Reading> readings{ReadNow()};
        const long from = capture.FrameAt(readings.front().at);
        const double click = std::floor(readings.front().sound - 0.5) + 1.5;
        const bool heard = QTest::qWaitFor(
            [&] {
                readings.push_back(ReadNow());
                return readings.back().sound > click + 0.3;
            },
            10000);
        EXPECT_TRUE(heard) << "the sound did not play past " << click << " s";
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return capture.Frames() >= capture.FrameAt(readings.back().at); }, 10000))
            << "the recording fell behind";
        const long at = testsupport::FindClick(capture.Samples(), from);
        if (!heard || at < 0)
            return 1e9;
        const double picture = PositionAt(readings, &Reading::picture, capture.TimeOf(at));
        return picture < 0 ? 1e9 : click - picture;
    }
};

} // namespace

// However the sound player comes to start, on a slow sound device as on a fast one, each
// click is heard on its picture.
TEST_P(SoundStartTest, TheClickIsHeardOnItsPicture) {
    const QString sink = testsupport::TestSoundSink();
    if (sink.isEmpty())
        GTEST_SKIP() << "no test sound server (scripts/test.sh starts one)";
    const StartCase& test = GetParam();
    testsupport::RunModal(dlg, [&] {
        testsupport::SoundCapture capture(sink);
        ASSERT_TRUE(capture.WaitUntilStarted()) << "parec recorded nothing";
        double worst = 0;
        for (int round = 0; round < test.repeats; ++round) {
            if (test.start == SoundStart::Open) {
                // The sound device then opens slowly, as it does now and then on any machine.
                CpuLoad load(4);
                OpenMetronome(kClipLength);
            } else {
                OpenMetronome(kClipLength);
            }
            switch (test.start) {
            case SoundStart::Open:
                break;
            case SoundStart::SeparateWhilePlaying:
                PlayPast(0.8);
                UseSeparateSound();
                break;
            case SoundStart::OwnWhilePlaying:
                UseSeparateSound();
                PlayPast(0.8);
                ASSERT_TRUE(PickPopupCommand(dlg, IDM_USE_VIDEO_SOUND));
                break;
            case SoundStart::SeparateWhilePaused:
                PlayPast(0.8);
                Click(IDC_BUTTON_PAUSE);
                UseSeparateSound();
                Click(IDC_BUTTON_PLAY);
                break;
            }
            const double lag = NextClickLag(capture);
            EXPECT_NEAR(lag, 0, 0.03) << "round " << round << ": click heard " << lag * 1000
                                      << " ms after its picture";
            worst = std::max(worst, std::abs(lag));
        }
        std::printf("%s: clicks heard up to %.1f ms off their pictures in %d rounds\n", test.name,
                    worst * 1000, test.repeats);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Starts, SoundStartTest,
    ::testing::Values(StartCase{"Open", SoundStart::Open, 20},
                      StartCase{"SeparateWhilePlaying", SoundStart::SeparateWhilePlaying, 3},
                      StartCase{"OwnWhilePlaying", SoundStart::OwnWhilePlaying, 3},
                      StartCase{"SeparateWhilePaused", SoundStart::SeparateWhilePaused, 3}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });
