#pragma once
// What opens a web page when the desktop itself cannot: the default application for
// text/html, the counterpart of the command registered for ".htm" pages elsewhere.
#include <QString>

#include <optional>

namespace ui {

// Runs the application on the address, found through the XDG folders of the environment.
// Its OpenResult; nothing when there is no application to run, so the caller's own result
// stands.
std::optional<int> RunHtmlApplication(const QString& address);

} // namespace ui
