#include "app/audio_file_request.h"

#include "platform/settings/store.h"
#include "sync/sync_list_file.h"

namespace app {

ui::FileDialogRequest AudioFileRequest(const QString& title) {
    ui::FileDialogRequest request;
    request.title = title;
    request.filters = {{"Audio files (*.wav;*.mp3;*.wma;*.mpa;*.mp2;*.au;*.aif;*.aiff;*.snd)",
                        "*.wav; *.mp3; *.wma; *.mp2; *.mpa; *.au; *.aif; *.aiff; *.snd"},
                       {"Any Files (*.*)", "*.*;"}};
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
