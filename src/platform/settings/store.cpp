#include "store.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <stdexcept>

namespace settings {
namespace {
std::unique_ptr<Store>& ProfileSlot() {
    static std::unique_ptr<Store> store;
    return store;
}

// The names that equal name ignoring letter case, its exact spelling first.
QStringList SameNames(const QStringList& names, const QString& name) {
    QStringList same;
    for (const QString& candidate : names) {
        if (candidate == name)
            same.prepend(candidate);
        else if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            same.append(candidate);
    }
    return same;
}
} // namespace

Store::Store(const QString& root, const QString& keyWord, const QString& appName)
    : settings_(std::make_unique<QSettings>(root + "/" + keyWord + "/" + appName + ".conf",
                                            QSettings::IniFormat)) {}

Store::~Store() = default;

QString Store::StoredKey(const QString& section, const QString& value) const {
    const QStringList sections = SameNames(settings_->childGroups(), section);
    for (const QString& stored : sections) {
        settings_->beginGroup(stored);
        const QStringList values = SameNames(settings_->childKeys(), value);
        settings_->endGroup();
        if (!values.isEmpty())
            return stored + "/" + values.front();
    }
    // A new value joins its section under the section's stored spelling.
    return (sections.isEmpty() ? section : sections.front()) + "/" + value;
}

std::int32_t Store::GetProfileInt(const QString& section, const QString& value,
                                  std::int32_t defaultValue) const {
    QVariant data = settings_->value(StoredKey(section, value));
    if (!data.isValid())
        return defaultValue;
    bool ok = false;
    // Stored as 32 bits: read the number wide and keep its low 32 bits, as a DWORD would.
    qlonglong number = data.toLongLong(&ok);
    return ok ? static_cast<std::int32_t>(static_cast<std::uint32_t>(number)) : defaultValue;
}

QString Store::GetProfileString(const QString& section, const QString& value,
                                const QString& defaultValue) const {
    QVariant data = settings_->value(StoredKey(section, value));
    return data.isValid() ? data.toString() : defaultValue;
}

void Store::WriteProfileInt(const QString& section, const QString& value, std::int32_t data) {
    settings_->setValue(StoredKey(section, value), data);
    Flush();
}

void Store::WriteProfileString(const QString& section, const QString& value,
                               const QString& data) {
    settings_->setValue(StoredKey(section, value), data);
    Flush();
}

void Store::Flush() {
    // The file is replaced only once the new one is complete, so a failure keeps the old.
    settings_->sync();
    if (settings_->status() == QSettings::NoError || failureTold_)
        return;
    failureTold_ = true;
    if (onWriteFailure)
        onWriteFailure(settings_->fileName());
}

QString DefaultRoot() {
    QString root = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return root.isEmpty() ? QDir::homePath() + "/.config" : root;
}

Store& Profile() {
    if (!ProfileSlot())
        throw std::logic_error("the settings store is used before it was set up");
    return *ProfileSlot();
}

void SetProfile(std::unique_ptr<Store> store) { ProfileSlot() = std::move(store); }

void SetFirstByteIfPresent(const QString& root, const QString& keyPath, const QString& value) {
    const QString path = root + "/" + keyPath + ".conf";
    if (!QFile::exists(path))
        return;
    QSettings key(path, QSettings::IniFormat);
    QVariant data = key.value(value);
    if (!data.isValid())
        return;
    if (data.typeId() == QMetaType::QByteArray) {
        QByteArray bytes = data.toByteArray();
        if (bytes.isEmpty())
            return;
        bytes[0] = 1;
        key.setValue(value, bytes);
    } else {
        bool isNumber = false;
        qlonglong number = data.toLongLong(&isNumber);
        if (isNumber) {
            key.setValue(value, (number & ~0xFFLL) | 1);
        } else {
            QString text = data.toString();
            if (text.isEmpty())
                return;
            text[0] = QChar(1);
            key.setValue(value, text);
        }
    }
    key.sync();
}

} // namespace settings
