#include "language/language_file.h"

#include "platform/inifile/inifile.h"

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

inifile::ParsedFile ReadLanguageFile(const QString& path, LanguageEncoding encoding,
                                     const char* codePage) {
    QFile file(ExistingPathIgnoringCase(path));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return inifile::ParsedFile::Parse(
        DecodeToUtf8(file.readAll().toStdString(), encoding, codePage));
}

QString ReadValue(const inifile::ParsedFile& file, const char* section, const char* key) {
    return QString::fromStdString(file.GetString(section, key, "", inifile::kReadBufferSize));
}

QString Unescape(QString value) {
    // No replacement can form a new pair, so one pass of each leaves none behind.
    value.replace(QStringLiteral("\\t"), QStringLiteral("\t"));
    value.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    value.replace(QStringLiteral("\\r"), QStringLiteral("\r"));
    return value;
}

} // namespace language
