#pragma once
// The desktop's default application for a MIME type, as the freedesktop mimeapps.list files
// name it, and the Exec line of its desktop entry.
#include <QString>
#include <QStringList>

#include <optional>

namespace ui {

// The folders searched, most important first.
struct XdgFolders {
    QStringList config;   // $XDG_CONFIG_HOME, then $XDG_CONFIG_DIRS
    QStringList data;     // $XDG_DATA_HOME, then $XDG_DATA_DIRS
    QStringList desktops; // $XDG_CURRENT_DESKTOP's names, lower case

    // From the environment, with the standard defaults for what is unset.
    static XdgFolders FromEnvironment();
};

// The Exec line of the first installed application listed for `mimeType` under
// [Default Applications] in any mimeapps.list (or defaults.list), else under
// [Added Associations] unless a more important file removed it. Nothing when no listed
// application has a desktop entry with an Exec line.
std::optional<QString> DefaultApplicationExec(const QString& mimeType, const XdgFolders& folders);

} // namespace ui
