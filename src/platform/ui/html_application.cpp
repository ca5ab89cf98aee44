#include "platform/ui/html_application.h"

#include "platform/ui/default_application.h"
#include "platform/ui/detached_run.h"
#include "platform/ui/exec_line.h"

namespace ui {

std::optional<int> RunHtmlApplication(const QString& address) {
    const std::optional<QString> exec =
        DefaultApplicationExec("text/html", XdgFolders::FromEnvironment());
    if (!exec)
        return std::nullopt;
    const std::optional<QStringList> command = CommandForAddress(*exec, address);
    if (!command)
        return std::nullopt;
    return StartDetached(*command);
}

} // namespace ui
