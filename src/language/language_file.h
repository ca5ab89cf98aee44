#pragma once
// Reading one language file: its text decoded to UTF-8 under the INI rules, and the escapes
// its values may hold.
#include "language/language_encoding.h"
#include "platform/inifile/parsed_file.h"

#include <QString>

namespace language {

// The file at path, or the one in its folder whose name matches ignoring case (names are not
// case-sensitive where language files come from); an empty file when there is none.
inifile::ParsedFile ReadLanguageFile(const QString& path, LanguageEncoding encoding,
                                     const char* codePage);

// The value of key in section, cut to the 2048-character read buffer; "" when missing.
QString ReadValue(const inifile::ParsedFile& file, const char* section, const char* key);

// Backslash-t, -n and -r become tab, line feed and carriage return; nothing else changes.
QString Unescape(QString value);

} // namespace language
