#pragma once
// Everything that asks the user something goes through Prompts, so tests can answer it.
// The Qt implementation shows real dialogs; tests install a scripted double.
#include <QFont>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace ui {

// Buttons and icons of a message box, and its answers, with the classic values.
enum MessageBoxFlags : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum Answer : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// One entry of a file dialog's type list: the text shown, and the patterns it stands for,
// separated by ";" (e.g. "*.mpeg;*.mpg").
struct FileFilter {
    QString description;
    QString patterns;
};

struct FileDialogRequest {
    QString title;
    QString initialFolder;   // empty: the dialog's own choice
    QString initialName;     // e.g. "*.*"
    std::vector<FileFilter> filters; // the first is selected
    bool mustExist = false;  // open dialogs: the file and its folder must exist
};

class Prompts {
  public:
    virtual ~Prompts() = default;
    // caption empty: the application's name. Returns the answer (IDOK, IDYES, ...).
    virtual int MessageBox(QWidget* owner, const QString& text, const QString& caption,
                           unsigned flags) = 0;
    // The chosen path, or nothing on Cancel.
    virtual std::optional<QString> OpenFileName(QWidget* owner, const FileDialogRequest& r) = 0;
    virtual std::optional<QString> SaveFileName(QWidget* owner, const FileDialogRequest& r) = 0;
    // Several existing files at once; empty on Cancel.
    virtual std::vector<QString> OpenFileNames(QWidget* owner, const FileDialogRequest& r) = 0;
    virtual std::optional<QFont> ChooseFont(QWidget* owner, const QFont& initial) = 0;
};

// The program-wide prompts; the Qt implementation unless a test installed another.
Prompts& CurrentPrompts();
// Installs prompts (nullptr restores the Qt implementation); returns the previous one.
std::unique_ptr<Prompts> InstallPrompts(std::unique_ptr<Prompts> prompts);

// The application's name as shown in captions: the program file's base name.
QString ApplicationName();

// Shorthand for the common message box calls.
int MessageBox(QWidget* owner, const QString& text, const QString& caption = {},
               unsigned flags = MB_OK);

} // namespace ui
