#include "platform/ui/qt_prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>

namespace ui {
namespace {

QMessageBox::Icon IconOf(unsigned flags) {
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QString StartPath(const FileDialogRequest& r) {
    QString folder = r.initialFolder.isEmpty() ? QString() : QDir(r.initialFolder).absolutePath();
    if (r.initialName.isEmpty() || r.initialName.contains('*'))
        return folder;
    return folder.isEmpty() ? r.initialName : folder + "/" + r.initialName;
}

// The dialog shows each description as it stands; the patterns go behind it in the form the
// dialog reads (space-separated), hidden from view.
void ApplyFilters(QFileDialog& dialog, const std::vector<FileFilter>& filters) {
    QStringList names;
    for (const FileFilter& filter : filters)
        names << filter.description + " (" +
                     filter.patterns.split(';', Qt::SkipEmptyParts).join(' ').trimmed() + ")";
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(names);
}

} // namespace

int QtPrompts::MessageBox(QWidget* owner, const QString& text, const QString& caption,
                          unsigned flags) {
    QMessageBox box(IconOf(flags), caption.isEmpty() ? ApplicationName() : caption, text,
                    QMessageBox::NoButton, owner);
    if ((flags & 0xF) == MB_YESNO) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    } else if ((flags & 0xF) == MB_OKCANCEL) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        return IDOK;
    }
}

std::optional<QString> QtPrompts::OpenFileName(QWidget* owner, const FileDialogRequest& r) {
    QFileDialog dialog(owner, r.title, StartPath(r));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(r.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    ApplyFilters(dialog, r.filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}

std::vector<QString> QtPrompts::OpenFileNames(QWidget* owner, const FileDialogRequest& r) {
    QFileDialog dialog(owner, r.title, StartPath(r));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    ApplyFilters(dialog, r.filters);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return {files.begin(), files.end()};
}

std::optional<QString> QtPrompts::SaveFileName(QWidget* owner, const FileDialogRequest& r) {
    QFileDialog dialog(owner, r.title, StartPath(r));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The callers ask about replacing files themselves.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    ApplyFilters(dialog, r.filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}

std::optional<QFont> QtPrompts::ChooseFont(QWidget* owner, const QFont& initial) {
    bool ok = false;
    QFont font = QFontDialog::getFont(&ok, initial, owner);
    if (!ok)
        return std::nullopt;
    return font;
}

} // namespace ui
