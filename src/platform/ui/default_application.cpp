#include "platform/ui/default_application.h"

#include "platform/ui/key_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <vector>

namespace ui {
namespace {

struct MimeAppsFile {
    KeyFile keys;
    bool associations; // only the plain mimeapps.list files may add or remove associations
};

// In the freedesktop order, each folder's desktop-specific files first; the older
// defaults.list of a data folder comes after its mimeapps.list.
std::vector<MimeAppsFile> MimeAppsFiles(const XdgFolders& folders) {
    std::vector<MimeAppsFile> files;
    const auto add = [&](const QString& folder, bool legacyDefaults) {
        for (const QString& desktop : folders.desktops)
            files.push_back({KeyFile::Load(folder + '/' + desktop + "-mimeapps.list"), false});
        files.push_back({KeyFile::Load(folder + "/mimeapps.list"), true});
        if (legacyDefaults)
            files.push_back({KeyFile::Load(folder + "/defaults.list"), false});
    };
    for (const QString& folder : folders.config)
        add(folder, false);
    for (const QString& folder : folders.data)
        add(folder + "/applications", true);
    return files;
}

// A desktop file id names the file's path under an applications folder with '/' made '-'.
QString FindDesktopEntry(const QString& id, const XdgFolders& folders) {
    for (const QString& data : folders.data) {
        const QString applications = data + "/applications";
        if (QFileInfo(applications + '/' + id).isFile())
            return applications + '/' + id;
        const QDir root(applications);
        QDirIterator it(applications, {"*.desktop"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (root.relativeFilePath(path).replace('/', '-') == id)
                return path;
        }
    }
    return {};
}

// The Exec line of an installed application; a hidden entry counts as deleted.
std::optional<QString> InstalledExec(const QString& id, const XdgFolders& folders) {
    const QString path = FindDesktopEntry(id, folders);
    if (path.isEmpty())
        return std::nullopt;
    const KeyFile entry = KeyFile::Load(path);
    if (entry.Value("Desktop Entry", "Hidden") == "true")
        return std::nullopt;
    std::optional<QString> exec = entry.Value("Desktop Entry", "Exec");
    if (!exec || exec->isEmpty())
        return std::nullopt;
    return exec;
}

} // namespace

XdgFolders XdgFolders::FromEnvironment() {
    XdgFolders folders;
    folders.config = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    folders.data = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString& name :
         qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(':', Qt::SkipEmptyParts))
        folders.desktops << name.toLower();
    return folders;
}

std::optional<QString> DefaultApplicationExec(const QString& mimeType, const XdgFolders& folders) {
    const std::vector<MimeAppsFile> files = MimeAppsFiles(folders);
    for (const MimeAppsFile& file : files)
        for (const QString& id : file.keys.List("Default Applications", mimeType))
            if (std::optional<QString> exec = InstalledExec(id, folders))
                return exec;
    QSet<QString> removed;
    for (const MimeAppsFile& file : files) {
        if (!file.associations)
            continue;
        for (const QString& id : file.keys.List("Added Associations", mimeType))
            if (!removed.contains(id))
                if (std::optional<QString> exec = InstalledExec(id, folders))
                    return exec;
        for (const QString& id : file.keys.List("Removed Associations", mimeType))
            removed.insert(id);
    }
    return std::nullopt;
}

} // namespace ui
