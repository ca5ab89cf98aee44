#include "app/help_page.h"

#include <QFileInfo>

QString HelpPage(const QString& programFolder) {
    const QString beside = programFolder + "/help/Introduction.html";
    const QString installed =
        QFileInfo(programFolder).path() + "/share/quillet/help/Introduction.html";
    if (!QFileInfo(beside).isFile() && QFileInfo(installed).isFile())
        return installed;
    return beside;
}
