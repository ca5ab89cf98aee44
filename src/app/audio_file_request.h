#pragma once
// The open dialog for sound files that Add Music and Open separate sound share, and the
// folder it starts in the next time.
#include "platform/ui/prompts.h"

#include <QString>

namespace app {

ui::FileDialogRequest AudioFileRequest(const QString& title);
void RememberAudioFolder(const QString& chosenFile);

} // namespace app
