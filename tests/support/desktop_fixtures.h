#pragma once
// A desktop of the test's own, so that what the program hands to "the desktop" never reaches
// an application of the machine, and a stand-in application that records its arguments.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace testsupport {

// Points XDG_CONFIG_HOME, XDG_CONFIG_DIRS, XDG_DATA_HOME and XDG_DATA_DIRS at fresh empty
// folders and clears XDG_CURRENT_DESKTOP for the scope; the previous values come back after.
class DesktopScope {
  public:
    DesktopScope();
    ~DesktopScope();
    DesktopScope(const DesktopScope&) = delete;
    DesktopScope& operator=(const DesktopScope&) = delete;

    // A desktop entry `id` in the user's applications folder, with this Exec line.
    void InstallApplication(const QString& id, const QString& exec) const;
    // The user's mimeapps.list names `id` the default application for `mimeType`.
    void SetDefaultApplication(const QString& mimeType, const QString& id) const;

    QString configHome;
    QString dataHome;

  private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> saved_;
};

// Writes `text` to `path`, making its folders.
void WriteTextFile(const QString& path, const QByteArray& text);

// A new executable shell script that writes each argument it is given, NUL-terminated, to
// `output` (the file appears whole, once the script has finished writing).
QString ArgumentRecorder(const QString& output);
// The arguments a recorder wrote, once its file appears; nothing after 10 s without it.
std::optional<QStringList> RecordedArguments(const QString& output);

} // namespace testsupport
