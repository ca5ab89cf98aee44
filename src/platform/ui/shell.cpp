#include "platform/ui/shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace ui {
namespace {

class DesktopShell : public Shell {
  public:
    int OpenUrl(const QString& url) override {
        QUrl target(url, QUrl::StrictMode);
        if (!target.isValid())
            return SE_ERR_FNF;
        return QDesktopServices::openUrl(target) ? SE_OPENED : SE_ERR_NOASSOC;
    }
    bool OpenFile(const QString& path) override {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
};

std::unique_ptr<Shell>& Slot() {
    static std::unique_ptr<Shell> shell;
    return shell;
}

} // namespace

Shell& CurrentShell() {
    if (!Slot())
        Slot() = std::make_unique<DesktopShell>();
    return *Slot();
}

std::unique_ptr<Shell> InstallShell(std::unique_ptr<Shell> shell) {
    std::unique_ptr<Shell> previous = std::move(Slot());
    Slot() = std::move(shell);
    return previous;
}

} // namespace ui
