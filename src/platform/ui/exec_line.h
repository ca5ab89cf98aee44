#pragma once
// The Exec line of a desktop entry made into the program and arguments that open one address:
// the quoting undone by the desktop-entry rules, the line cut at its address field code, the
// address appended as an argument of its own. The result is meant for QProcess, never a shell.
#include <QString>
#include <QStringList>

#include <optional>

namespace ui {

// `exec` is the value as the key file gives it (string escapes already undone). The line is
// cut at the first quoted "%u" (or "%U", "%f", "%F") with its quotes, else at the first such
// code standing bare, else kept whole; any other field code is dropped and "%%" is a percent
// sign. Nothing when a quote is left open or no program comes before the cut.
std::optional<QStringList> CommandForAddress(const QString& exec, const QString& address);

} // namespace ui
