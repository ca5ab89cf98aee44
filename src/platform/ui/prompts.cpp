#include "platform/ui/prompts.h"

#include "platform/ui/qt_prompts.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace ui {
namespace {
std::unique_ptr<Prompts>& Slot() {
    static std::unique_ptr<Prompts> prompts;
    return prompts;
}
} // namespace

Prompts& CurrentPrompts() {
    if (!Slot())
        Slot() = std::make_unique<QtPrompts>();
    return *Slot();
}

std::unique_ptr<Prompts> InstallPrompts(std::unique_ptr<Prompts> prompts) {
    std::unique_ptr<Prompts> previous = std::move(Slot());
    Slot() = std::move(prompts);
    return previous;
}

QString ApplicationName() {
    QString path = QCoreApplication::applicationFilePath();
    return path.isEmpty() ? QStringLiteral("quillet") : QFileInfo(path).completeBaseName();
}

int MessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags) {
    return CurrentPrompts().MessageBox(owner, text, caption, flags);
}

} // namespace ui
