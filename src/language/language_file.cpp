#include "language/language_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace language {
namespace {

QString ExistingPathIgnoringCase(const QString& path) {
    const QFileInfo info(path);
    if (info.exists())
        return path;
    const QDir folder = info.dir();
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return folder.filePath(entry);
    }
    return {};
}

} // namespace

inifile::Document ReadLanguageDocument(const QString& path, LanguageEncoding encoding,
                                       const char* codePage) {
    QFile file(ExistingPathIgnoringCase(path));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return inifile::Document::Parse(DecodeToUtf8(file.readAll().toStdString(), encoding, codePage));
}

QString ReadValue(const inifile::Document& document, const char* section, const char* key) {
    const std::string value = document.Value(section, key).value_or(std::string());
    return QString::fromStdString(inifile::FitToBuffer(value, inifile::kReadBufferSize));
}

QString Unescape(QString value) {
    // No replacement can form a new pair, so one pass of each leaves none behind.
    value.replace(QStringLiteral("\\t"), QStringLiteral("\t"));
    value.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    value.replace(QStringLiteral("\\r"), QStringLiteral("\r"));
    return value;
}

} // namespace language
