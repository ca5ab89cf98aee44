#pragma once
// The application profile: named values under sections, kept for the current user.
// Stored under <root>/<key word>/<application name>.conf, one group per section; an absent
// value reads as the caller's default. Section and value names match whatever their letter
// case, as registry names do: a value is read under any spelling and written back under the
// spelling it already has. All calls come from the user-interface thread.
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QSettings;

namespace settings {

class Store {
  public:
    // root: the folder that stands for the user's part of the registry (normally
    // ~/.config); keyWord: the maker's key word; appName: the program file's base name.
    Store(const QString& root, const QString& keyWord, const QString& appName);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    std::int32_t GetProfileInt(const QString& section, const QString& value,
                               std::int32_t defaultValue) const;
    QString GetProfileString(const QString& section, const QString& value,
                             const QString& defaultValue) const;
    // A write that cannot reach the file (a full disk, a folder that cannot be written)
    // leaves the file as it was and the value in effect until the program ends; the first
    // such failure is told to `onWriteFailure` with the file's path.
    void WriteProfileInt(const QString& section, const QString& value, std::int32_t data);
    void WriteProfileString(const QString& section, const QString& value, const QString& data);
    std::function<void(const QString& path)> onWriteFailure;

  private:
    void Flush();
    // The stored key of section/value, spelled as it is already stored where a name matches
    // ignoring case; the given spelling where nothing matches yet.
    QString StoredKey(const QString& section, const QString& value) const;

    std::unique_ptr<QSettings> settings_;
    bool failureTold_ = false;
};

// The folder for user settings that a Store normally lives in.
QString DefaultRoot();

// The program-wide store, set up by the application object before anything reads it.
Store& Profile();
void SetProfile(std::unique_ptr<Store> store);

// Where another program keeps a value of its own under the same root ("Software\Maker\Key"
// becomes <root>/Maker/Key.conf): if the value exists, its first byte becomes 1 and it is
// written back with its type and size unchanged. Nothing is created when it is missing.
void SetFirstByteIfPresent(const QString& root, const QString& keyPath, const QString& value);

} // namespace settings
