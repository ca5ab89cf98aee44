#include "language/toolkit_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace language {

void UseToolkitTexts(const QLocale& locale) {
    static std::unique_ptr<QTranslator> installed;
    if (installed)
        QCoreApplication::removeTranslator(installed.get());
    // A language without the toolkit's texts gets its English ones, not the last language's.
    installed = std::make_unique<QTranslator>();
    if (installed->load(locale, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(installed.get());
}

} // namespace language
