#include "platform/ui/key_file.h"

#include <QFile>

namespace ui {

KeyFile KeyFile::Load(const QString& path) {
    KeyFile file;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return file;
    std::map<QString, QString>* group = nullptr;
    for (const QByteArray& bytes : in.readAll().split('\n')) {
        const QString line = QString::fromUtf8(bytes).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            group = &file.groups_[line.mid(1, line.size() - 2)];
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (group && equals > 0)
            group->try_emplace(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return file;
}

std::optional<QString> KeyFile::Value(const QString& group, const QString& key) const {
    const auto g = groups_.find(group);
    if (g == groups_.end())
        return std::nullopt;
    const auto k = g->second.find(key);
    if (k == g->second.end())
        return std::nullopt;
    const QString& raw = k->second;
    QString value;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const qsizetype escape = raw[i] == '\\' && i + 1 < raw.size()
                                     ? QStringLiteral("sntr\\").indexOf(raw[i + 1])
                                     : -1;
        if (escape < 0) {
            value += raw[i];
            continue;
        }
        value += QStringLiteral(" \n\t\r\\")[escape];
        ++i;
    }
    return value;
}

QStringList KeyFile::List(const QString& group, const QString& key) const {
    const std::optional<QString> value = Value(group, key);
    QStringList items;
    if (!value)
        return items;
    QString item;
    for (qsizetype i = 0; i < value->size(); ++i) {
        if (value->at(i) == '\\' && i + 1 < value->size() && value->at(i + 1) == ';') {
            item += ';';
            ++i;
        } else if (value->at(i) == ';') {
            if (!item.isEmpty())
                items << item;
            item.clear();
        } else {
            item += value->at(i);
        }
    }
    if (!item.isEmpty())
        items << item;
    return items;
}

} // namespace ui
