#pragma once
// How a language file's bytes are written, as its name tells, and their decoding to the
// program's UTF-8.
#include <QString>

#include <string>

enum class LanguageEncoding { Ansi = 0, Unicode = 1, Utf8 = 2 };

namespace language {

// Decided on the lower-cased name: "_utf-8" first, then "_unicode", else the legacy code page.
LanguageEncoding GetEncoding(const QString& name);

// The Windows ANSI code page of a language (primary language number, sublanguage number), as
// an iconv name.
const char* LegacyCodePage(int primaryLanguage, int subLanguage);

// The file's text as UTF-8. A UTF-8 or UTF-16LE byte-order mark decides the encoding and is
// dropped; without one, "_unicode" files are UTF-16LE, "_utf-8" files UTF-8, others in the
// given code page, whose undecodable bytes are left out.
std::string DecodeToUtf8(const std::string& bytes, LanguageEncoding encoding, const char* codePage);

} // namespace language
