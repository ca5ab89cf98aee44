// The platform locale a language file's locale names, for the texts Qt draws itself (the
// buttons of message boxes, the file and font dialogs).
#include "language/language.h"
#include "language/language_tables.h"

#include <QRegularExpression>

namespace {

// The Qt language whose English name starts the words, and how many words it took.
std::pair<QLocale::Language, int> LanguageOf(const QStringList& words) {
    for (int count = static_cast<int>(words.size()); count > 0; --count) {
        const QString name = words.first(count).join(u' ');
        for (int value = QLocale::AnyLanguage + 1; value <= QLocale::LastLanguage; ++value) {
            const auto language = static_cast<QLocale::Language>(value);
            if (QLocale::languageToString(language).compare(name, Qt::CaseInsensitive) == 0)
                return {language, count};
        }
    }
    return {QLocale::AnyLanguage, 0};
}

QLocale::Territory TerritoryOf(const QString& name) {
    for (int value = QLocale::AnyTerritory + 1; value <= QLocale::LastTerritory; ++value) {
        const auto territory = static_cast<QLocale::Territory>(value);
        if (QLocale::territoryToString(territory).compare(name, Qt::CaseInsensitive) == 0)
            return territory;
    }
    return QLocale::AnyTerritory;
}

} // namespace

QLocale CLanguage::Locale() const {
    const int id = (subLanguage << 10) | primaryLanguage;
    for (const language::LocaleRow& row : language::LocaleTable()) {
        if (row.id != id)
            continue;
        // "German_Germany", "Chinese_Peoples_Republic_of_China": the language's English
        // name, then its country's, where Qt knows it by that name.
        const QStringList words = QString::fromLatin1(row.name).split(QRegularExpression("[_ ]"));
        const auto [language, taken] = LanguageOf(words);
        if (language == QLocale::AnyLanguage)
            break;
        return QLocale(language, TerritoryOf(words.sliced(taken).join(u' ')));
    }
    return QLocale(QLocale::English);
}
