#pragma once
// The desktop's key files (desktop entries, mimeapps.list): [Group] headers, Key=Value lines,
// '#' comments. Localized keys (Name[de]) are ordinary keys to this reader.
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace ui {

class KeyFile {
  public:
    // An unreadable or missing file reads as empty.
    static KeyFile Load(const QString& path);

    // The value with the string escapes (\s \n \t \r \\) undone; other backslashes stay for
    // whoever reads the value next (the quoting of Exec needs them).
    std::optional<QString> Value(const QString& group, const QString& key) const;
    // A ';'-separated list, "\;" standing for a semicolon; empty items are left out.
    QStringList List(const QString& group, const QString& key) const;

  private:
    // Raw values; the first of repeated groups or keys wins, as the earlier line is meant.
    std::map<QString, std::map<QString, QString>> groups_;
};

} // namespace ui
