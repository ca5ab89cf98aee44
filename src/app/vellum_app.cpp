#include "app/vellum_app.h"

#include "app/vellum_dlg.h"
#include "language/language.h"
#include "language/toolkit_texts.h"
#include "platform/graph/library_log.h"
#include "platform/settings/store.h"
#include "platform/ui/prompts.h"
#include "resources/resource.h"

#include <QTimer>

#include <clocale>

CVellumApp::CVellumApp(int& argc, char** argv) : QApplication(argc, argv) {
    // Qt hands the user's locale to the C library; numbers must keep their decimal point.
    std::setlocale(LC_NUMERIC, "C");
    // FFmpeg's own lines (statistics, warnings) are no message for the user; a failure's
    // message gives the library's reason itself.
    graph::ShowLibraryLog(false);
}

int CVellumApp::Run() {
    settings::SetProfile(
        std::make_unique<settings::Store>(settings::DefaultRoot(), "Morvane", ui::ApplicationName()));
    settings::Profile().onWriteFailure = [](const QString& path) {
        ui::MessageBox(QApplication::activeWindow(),
                       Language().GetString(IDS_MESSAGE_SETTINGS_NOT_SAVED).arg(path),
                       Language().GetString(IDS_MESSAGE_WARNING),
                       ui::MB_OK | ui::MB_ICONEXCLAMATION);
    };
    Language().Init(CLanguage::FindBaseDirectory(),
                    settings::Profile().GetProfileString("Option", "CurrentLanguage", "english"));
    language::UseToolkitTexts(Language().Locale());
    CVellumDlg dialog;
    // "Open with" from the desktop names the video on the command line.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        QTimer::singleShot(0, &dialog, [&dialog, file = arguments[1]] { dialog.OpenVideoFile(file); });
    dialog.exec();
    return 0;
}

CVellumApp* App() { return qobject_cast<CVellumApp*>(QCoreApplication::instance()); }

int* SliderDraggingFlag() {
    static int standalone = 0;
    return App() ? &App()->sliderDragging : &standalone;
}
