#pragma once
#include "platform/ui/prompts.h"

namespace ui {

// Real dialogs: QMessageBox, QFileDialog, QFontDialog.
class QtPrompts : public Prompts {
  public:
    int MessageBox(QWidget* owner, const QString& text, const QString& caption,
                   unsigned flags) override;
    std::optional<QString> OpenFileName(QWidget* owner, const FileDialogRequest& r) override;
    std::optional<QString> SaveFileName(QWidget* owner, const FileDialogRequest& r) override;
    std::vector<QString> OpenFileNames(QWidget* owner, const FileDialogRequest& r) override;
    std::optional<QFont> ChooseFont(QWidget* owner, const QFont& initial) override;
};

} // namespace ui
