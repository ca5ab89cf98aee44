#include "app/audio_file_request.h"

#include "language/language.h"
#include "platform/settings/store.h"
#include "resources/resource.h"
#include "sync/sync_list_file.h"

namespace app {

namespace {

// The sound files FFmpeg's demuxers read: wave and AIFF, MPEG audio, Windows Media, Sun and
// NeXT sound, the lossless formats, AAC and its MPEG-4 container, Ogg, AC-3, Matroska sound
// and the rarer ones a recorder or a camera may write.
constexpr const char* kSoundExtensions[] = {
    "wav", "mp3", "wma",  "mpa", "mp2", "au", "aif", "aiff", "aifc", "snd", "flac", "m4a", "aac",
    "ogg", "oga", "opus", "ac3", "mka", "wv", "w64", "caf",  "amr",  "ape", "mpc",  "tta"};

} // namespace

ui::FileDialogRequest AudioFileRequest(const QString& title) {
    QStringList patterns;
    for (const char* extension : kSoundExtensions)
        patterns << QStringLiteral("*.") + QLatin1String(extension);
    const QString all = patterns.join(u';');
    ui::FileDialogRequest request;
    request.title = title;
    request.filters = {{Language().GetString(IDS_SOUND_FILTER_SOUND_FILES).arg(all), all},
                       {Language().GetString(IDS_FILTER_ANY_FILES), "*.*;"}};
    request.initialFolder = settings::Profile().GetProfileString("Option", "LastAudioFolder", "");
    request.mustExist = true;
    return request;
}

void RememberAudioFolder(const QString& chosenFile) {
    settings::Profile().WriteProfileString(
        "Option", "LastAudioFolder",
        QString::fromStdString(avsync::FolderOf(chosenFile.toStdString())));
}

} // namespace app
