// Timeline::ValidateSourceNames: the one part of the timeline that asks the user something.
#include "platform/editing/timeline.h"
#include "platform/ui/prompts.h"

#include <QDir>
#include <QFileInfo>

#include <map>
#include <optional>
#include <string>

namespace editing {

namespace {
bool FileExists(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).isFile();
}

std::optional<std::string> AskForFile(const std::string& missing) {
    const QFileInfo info(QString::fromStdString(missing));
    ui::FileDialogRequest request;
    request.title = QString("Where is %1?").arg(info.fileName());
    if (info.dir().exists())
        request.initialFolder = info.absolutePath();
    request.initialName = info.fileName();
    request.filters = {{"All files (*.*)", "*"}};
    request.mustExist = true;
    const auto chosen = ui::CurrentPrompts().OpenFileName(nullptr, request);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    return chosen->toStdString();
}
} // namespace

HRESULT Timeline::ValidateSourceNames(long flags) {
    constexpr long kKnown = SFN_VALIDATEF_CHECK | SFN_VALIDATEF_POPUP | SFN_VALIDATEF_REPLACE;
    if (flags & ~kKnown)
        return E_INVALIDARG;
    if (!(flags & SFN_VALIDATEF_CHECK))
        return S_OK;

    // Segments of one file share its name, so the user is asked once per name.
    std::map<std::string, std::optional<std::string>> found;
    bool allFound = true;
    for (auto& group : groups_) {
        for (int t = 0; t < group->GetTrackCount(); ++t) {
            Track& track = *group->GetTrack(t);
            for (int s = 0; s < track.GetSourceCount(); ++s) {
                Source& source = *track.GetSource(s);
                const std::string name = source.GetMediaName();
                if (FileExists(name))
                    continue;
                auto known = found.find(name);
                if (known == found.end()) {
                    std::optional<std::string> chosen;
                    if (flags & SFN_VALIDATEF_POPUP)
                        chosen = AskForFile(name);
                    known = found.emplace(name, chosen).first;
                }
                if (!known->second)
                    allFound = false;
                else if (flags & SFN_VALIDATEF_REPLACE)
                    source.SetMediaName(*known->second);
            }
        }
    }
    return allFound ? S_OK : S_FALSE;
}

} // namespace editing
