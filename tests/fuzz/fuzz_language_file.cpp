// The language-file loader on any file under each encoding rule: the first byte names the
// file, whose suffix chooses UTF-16LE, UTF-8 or the legacy code page of the language it names;
// the rest is the file. Every key of the table reads, whatever the bytes, and the decoding
// loses nothing at the end of the file.
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"

#include "language/language.h"
#include "language/language_encoding.h"
#include "language/language_tables.h"
#include "platform/inifile/file_text.h"

#include <QString>

#include <iterator>

namespace fuzz {
namespace {

// One locale for each legacy code page, by its name or its abbreviation as file names use
// them.
const char* const kLanguages[] = {
    "English_United_States", // CP1252
    "Polish_Poland",         // CP1250
    "Russian",               // CP1251
    "Greek",                 // CP1253
    "Turkish",               // CP1254
    "Hebrew",                // CP1255
    "Arabic",                // CP1256
    "Estonian",              // CP1257
    "Vietnamese",            // CP1258
    "Thai",                  // CP874
    "Japanese",              // CP932
    "chs",                   // CP936
    "Korean",                // CP949
    "Chinese_Taiwan",        // CP950
};
const char* const kEncodingSuffixes[] = {"", "_utf-8", "_unicode"};

} // namespace

int FuzzLanguageFile(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t choice = data[0];
    const QString name =
        QString::fromLatin1(kLanguages[choice / std::size(kEncodingSuffixes) % std::size(kLanguages)]) +
        QString::fromLatin1(kEncodingSuffixes[choice % std::size(kEncodingSuffixes)]);
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    WriteInputFile("language/" + name.toStdString() + ".ini", bytes);

    CLanguage language;
    language.baseDirectory = QString::fromStdString(TemporaryFolder());
    language.languageNames = {name};
    FUZZ_CHECK(language.LoadLanguageTexts(name));
    FUZZ_CHECK(language.menuTexts.size() + language.stringTexts.size() +
                   language.dialogTexts.size() ==
               language::LanguageKeyTable().size());

    // A line end added to the file adds one to its text and changes nothing before it: no
    // decoder may keep back the end of a file.
    const bool utf16 = !bytes.starts_with(inifile::kUtf8ByteOrderMark) &&
                       (bytes.starts_with("\xFF\xFE") || language.encoding == LanguageEncoding::Unicode);
    if (utf16 && bytes.size() % 2 != 0)
        return 0; // the odd last byte is left out, and a line end would pair with it
    const std::string lineEnd = utf16 ? std::string("\r\0\n\0", 4) : std::string("\r\n");
    const char* codePage = language::LegacyCodePage(language.primaryLanguage, language.subLanguage);
    FUZZ_CHECK(language::DecodeToUtf8(bytes + lineEnd, language.encoding, codePage) ==
               language::DecodeToUtf8(bytes, language.encoding, codePage) + "\r\n");
    return 0;
}

} // namespace fuzz
