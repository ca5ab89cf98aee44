// The separate sound in the main window, through its pop-up menu: it becomes the sound played,
// measured, shown and named; a file without sound is refused with nothing changed; the
// video's own sound comes back on request and with the next video.
#include "align/tool_run.h"
#include "media/probe.h"
#include "platform/editing/group.h"
#include "platform/editing/source.h"
#include "platform/editing/timeline.h"
#include "platform/editing/track.h"
#include "platform/settings/store.h"
#include "resources/resource.h"
#include "sound_menu_fixture.h"
#include "support/media_fixtures.h"
#include "support/modal_run.h"
#include "support/test_environment.h"
#include "sync/time_text.h"

#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

#include <set>

namespace {

constexpr REFERENCE_TIME S = UNITS;

QString Text(REFERENCE_TIME time) {
    return QString::fromStdString(avsync::TimeToText(time));
}

// A tone of 7.5 s, longer than the 4 s clips, so the sound's length tells which file is used.
const std::string& ToneFile() {
    static const std::string path = [] {
        const QString file = testsupport::TemporaryFolder() + "/tone.wav";
        aligntest::RunTool("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i",
                                      "sine=f=330:d=7.5:r=48000", "-c:a", "pcm_s16le", file});
        return file.toStdString();
    }();
    return path;
}

// The media the composed timeline reads in its groups of the given kind.
std::set<std::string> ComposedFrom(const editing::Timeline& timeline, const GUID& majorType) {
    std::set<std::string> names;
    for (int g = 0; g < timeline.GetGroupCount(); ++g) {
        const editing::Group& group = *timeline.GetGroup(g);
        if (group.GetMediaType().majortype != majorType)
            continue;
        for (int t = 0; t < group.GetTrackCount(); ++t)
            for (int s = 0; s < group.GetTrack(t)->GetSourceCount(); ++s)
                names.insert(group.GetTrack(t)->GetSource(s)->GetMediaName());
    }
    return names;
}

class SeparateSoundTest : public SoundMenuFixture {
  protected:
    // What a refused file must leave as it was.
    struct Kept {
        std::string sound;
        const preview::CVcdCore* player;
        REFERENCE_TIME audioDuration, audioEnd;
        std::vector<avsync::SyncPoint> points;
        QString status, durationText;
        bool operator==(const Kept&) const = default;
    };
    Kept Now() const {
        return {dlg.musicList[0].path,
                dlg.audioPlayer.get(),
                dlg.syncState.audioDuration,
                dlg.syncState.audioEnd,
                dlg.syncState.Points(),
                dlg.GetDlgItemText(IDC_STATIC_STATUS),
                dlg.GetDlgItemText(IDC_EDIT_AUDIO_DURATION)};
    }
};

} // namespace

TEST_F(SeparateSoundTest, TheSeparateSoundIsPlayedMeasuredAndNamedUntilTheVideosOwnReturns) {
    const std::string video = testsupport::Clip(testsupport::ClipKind::H264Aac);
    const std::string sound = ToneFile();
    // Kept as Add Music keeps it: up to and including the last separator.
    const QString soundFolder = QFileInfo(QString::fromStdString(sound)).absolutePath() + "/";
    settings::Profile().WriteProfileString("Option", "LastAudioFolder", "/music/before");
    testsupport::RunModal(dlg, [&] {
        for (int command : {IDM_OPEN_SEPARATE_SOUND, IDM_USE_VIDEO_SOUND, IDM_FIND_POINTS})
            EXPECT_FALSE(Enabled(command)) << command;
        OpenVideo(video);
        EXPECT_TRUE(Enabled(IDM_OPEN_SEPARATE_SOUND));
        EXPECT_FALSE(Enabled(IDM_USE_VIDEO_SOUND));
        EXPECT_FALSE(Enabled(IDM_FIND_POINTS));
        const REFERENCE_TIME ownLength = dlg.syncState.audioDuration;
        const QString ownStatus = dlg.GetDlgItemText(IDC_STATIC_STATUS);
        dlg.videoPlayer->currentPosition = 1 * S;
        Click(IDC_BUTTON_ADD_SYNC_POINT);

        scope.prompts.answers = {ui::IDNO}; // the point is kept
        ASSERT_TRUE(OpenSeparateSound(sound));
        ASSERT_EQ(scope.prompts.messages.size(), 1u);
        // Add Music's dialog: its filters, the first of every sound file the decoders read,
        // and the folder it last chose.
        const ui::FileDialogRequest& request = scope.prompts.fileDialogs.back();
        EXPECT_EQ(request.title, "Open separate sound");
        EXPECT_EQ(request.initialFolder, "/music/before");
        ASSERT_EQ(request.filters.size(), 2u);
        const QStringList patterns = request.filters[0].patterns.split(';');
        for (const char* pattern : {"*.wav", "*.mp3", "*.wma", "*.flac", "*.m4a", "*.ogg"})
            EXPECT_TRUE(patterns.contains(pattern)) << pattern;
        EXPECT_EQ(request.filters[0].description, "Sound files (" + patterns.join(';') + ")");
        EXPECT_EQ(request.filters[1].description, "Any Files (*.*)");
        EXPECT_TRUE(request.mustExist);
        EXPECT_EQ(settings::Profile().GetProfileString("Option", "LastAudioFolder", ""),
                  soundFolder);

        const REFERENCE_TIME length = media::SoundLength(sound);
        EXPECT_NEAR(static_cast<double>(length), 7.5 * S, 0.01 * S);
        EXPECT_EQ(dlg.musicList[0].path, sound);
        EXPECT_EQ(dlg.audioPlayer->fileName, sound);
        EXPECT_EQ(dlg.videoPlayer->fileName, video);
        // The sound player measures what it plays at its next poll.
        EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.audioPlayer->stopPosition > 0; }, 3000));
        EXPECT_NEAR(static_cast<double>(dlg.audioPlayer->stopPosition), 7.5 * S, 0.05 * S);
        EXPECT_EQ(dlg.syncState.audioDuration, length);
        EXPECT_EQ(dlg.syncState.audioEnd, length);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_AUDIO_DURATION), Text(length));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_AUDIO_END), Text(length));
        const QString videoName = QFileInfo(QString::fromStdString(video)).fileName();
        EXPECT_EQ(dlg.GetDlgItemText(IDC_STATIC_STATUS),
                  ownStatus + "     Sound: tone.wav     Points made with: " + videoName);
        EXPECT_EQ(dlg.syncState.syncCount, 1);
        EXPECT_TRUE(Enabled(IDM_USE_VIDEO_SOUND));
        EXPECT_TRUE(Enabled(IDM_FIND_POINTS));

        // Preview composes the picture of the video with the separate sound.
        Click(IDC_BUTTON_PREVIEW_VIDEO);
        ASSERT_EQ(dlg.previewRunning, 1) << scope.prompts.messages.size();
        ASSERT_NE(dlg.composition.Timeline(), nullptr);
        EXPECT_EQ(ComposedFrom(*dlg.composition.Timeline(), MEDIATYPE_Audio),
                  std::set<std::string>{sound});
        EXPECT_EQ(ComposedFrom(*dlg.composition.Timeline(), MEDIATYPE_Video),
                  std::set<std::string>{video});
        EXPECT_FALSE(Enabled(IDM_OPEN_SEPARATE_SOUND));
        Click(IDC_BUTTON_PREVIEW_VIDEO);
        ASSERT_EQ(dlg.previewRunning, 0);

        // Playing moves the sound read-out along the separate sound.
        Click(IDC_BUTTON_PLAY);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return dlg.GetDlgItemText(IDC_EDIT_AUDIO_POSITION).startsWith("Audio: "); },
            5000));
        Click(IDC_BUTTON_PAUSE);

        scope.prompts.answers = {ui::IDNO};
        ASSERT_TRUE(Pick(IDM_USE_VIDEO_SOUND));
        EXPECT_EQ(dlg.musicList[0].path, video);
        EXPECT_EQ(dlg.audioPlayer->fileName, video);
        EXPECT_EQ(dlg.syncState.audioDuration, ownLength);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_AUDIO_DURATION), Text(ownLength));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_STATIC_STATUS), ownStatus);
        EXPECT_FALSE(Enabled(IDM_USE_VIDEO_SOUND));
        EXPECT_FALSE(Enabled(IDM_FIND_POINTS));

        // Another video comes with its own sound, as always.
        ASSERT_TRUE(OpenSeparateSound(sound));
        const std::string other = testsupport::Clip(testsupport::ClipKind::Mpeg4Mp3);
        OpenVideo(other);
        EXPECT_EQ(dlg.musicList.Count(), 1u);
        EXPECT_EQ(dlg.musicList[0].path, other);
        EXPECT_EQ(dlg.audioPlayer->fileName, other);
        EXPECT_FALSE(dlg.UsesSeparateSound());
        EXPECT_FALSE(dlg.GetDlgItemText(IDC_STATIC_STATUS).contains("Sound:"));
        EXPECT_LT(dlg.syncState.audioDuration, 5 * S);
    });
}

TEST_F(SeparateSoundTest, AFileWithoutSoundIsRefusedAndNothingChanges) {
    testsupport::RunModal(dlg, [&] {
        OpenVideo(testsupport::Clip(testsupport::ClipKind::H264Aac));
        dlg.videoPlayer->currentPosition = 2 * S;
        Click(IDC_BUTTON_ADD_SYNC_POINT);
        ASSERT_TRUE(OpenSeparateSound(ToneFile()));
        const Kept before = Now();
        for (const std::string& bad :
             {testsupport::NonMediaFile(), testsupport::Clip(testsupport::ClipKind::PictureOnly)}) {
            scope.prompts.messages.clear();
            ASSERT_TRUE(OpenSeparateSound(bad));
            ASSERT_EQ(scope.prompts.messages.size(), 1u) << bad;
            EXPECT_EQ(scope.prompts.messages[0].text,
                      QString::fromStdString(bad) +
                          " holds no sound that can be played. The sound in use, the points and "
                          "the times were left as they were.");
            EXPECT_EQ(scope.prompts.messages[0].caption, "Error");
            EXPECT_TRUE(Now() == before) << bad;
        }
        // Cancelling the file dialog changes nothing either, and says nothing.
        scope.prompts.messages.clear();
        scope.prompts.fileAnswers = {std::nullopt};
        ASSERT_TRUE(Pick(IDM_OPEN_SEPARATE_SOUND));
        EXPECT_TRUE(scope.prompts.messages.empty());
        EXPECT_TRUE(Now() == before);
    });
}

// Points made with one sound are wrong for another: changing the sound asks whether to clear
// them (No keeps them and names their sound), a saved list records both files, a list made
// with another sound says so when it is loaded, and going back to their own sound asks
// nothing.
TEST_F(SeparateSoundTest, PointsOfAnotherSoundAreClearedOrNamed) {
    const std::string video = testsupport::Clip(testsupport::ClipKind::H264Aac);
    const QString videoName = QFileInfo(QString::fromStdString(video)).fileName();
    const QString list = testsupport::TemporaryFolder() + "/points.ini";
    testsupport::RunModal(dlg, [&] {
        OpenVideo(video);
        dlg.videoPlayer->currentPosition = 1 * S;
        Click(IDC_BUTTON_ADD_SYNC_POINT);
        scope.prompts.answers = {ui::IDNO};
        ASSERT_TRUE(OpenSeparateSound(ToneFile()));
        ASSERT_EQ(scope.prompts.messages.size(), 1u);
        EXPECT_TRUE(scope.prompts.messages[0].text.startsWith(
            "The points in the list were made with the sound of " + videoName))
            << scope.prompts.messages[0].text.toStdString();
        EXPECT_EQ(dlg.syncState.syncCount, 1);
        EXPECT_TRUE(
            dlg.GetDlgItemText(IDC_STATIC_STATUS).endsWith("Points made with: " + videoName));

        scope.prompts.fileAnswers = {list};
        Click(IDC_BUTTON_SAVE_SYNC_LIST);
        const std::string saved = testsupport::ReadFileBytes(list.toStdString());
        EXPECT_NE(saved.find("VIDEO_FILE=" + video), std::string::npos) << saved;
        EXPECT_NE(saved.find("SOUND_FILE=" + video), std::string::npos) << saved;
        // Saved again with the picture window closed, the list still names both.
        Click(IDC_BUTTON_CLOSE_PLAYERS);
        ASSERT_EQ(dlg.photoList.Count(), 0u);
        scope.prompts.fileAnswers = {list};
        scope.prompts.answers = {ui::IDYES};
        Click(IDC_BUTTON_SAVE_SYNC_LIST);
        EXPECT_EQ(testsupport::ReadFileBytes(list.toStdString()), saved);
        OpenVideo(video);
        ASSERT_TRUE(OpenSeparateSound(ToneFile()));

        // Loaded against the separate sound, the list says it was made with the video's own.
        scope.prompts.messages.clear();
        scope.prompts.fileAnswers = {list};
        Click(IDC_BUTTON_LOAD_SYNC_LIST);
        ASSERT_EQ(scope.prompts.messages.size(), 1u);
        EXPECT_TRUE(scope.prompts.messages[0].text.contains("made with the sound of " +
                                                            QString::fromStdString(video)));

        // Back to the sound they were made with, they are right: nothing is asked.
        scope.prompts.messages.clear();
        ASSERT_TRUE(Pick(IDM_USE_VIDEO_SOUND));
        EXPECT_TRUE(scope.prompts.messages.empty());
        EXPECT_EQ(dlg.syncState.syncCount, 1);
        EXPECT_FALSE(dlg.GetDlgItemText(IDC_STATIC_STATUS).contains("Points made with"));

        scope.prompts.answers = {ui::IDYES};
        ASSERT_TRUE(OpenSeparateSound(ToneFile()));
        EXPECT_EQ(scope.prompts.messages.size(), 1u);
        EXPECT_EQ(dlg.syncState.syncCount, 0);
        EXPECT_FALSE(dlg.GetDlgItemText(IDC_STATIC_STATUS).contains("Points made with"));
    });
}
