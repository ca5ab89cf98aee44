#include "language/language_encoding.h"

#include "platform/inifile/file_text.h"

#include <cerrno>
#include <iconv.h>

namespace language {
namespace {

constexpr int kSubCyrillic = 2;

// Primary language numbers, named where the code-page choice depends on them.
enum Primary : int {
    Arabic = 0x01,
    Bulgarian = 0x02,
    Chinese = 0x04,
    Czech = 0x05,
    Greek = 0x08,
    Hebrew = 0x0D,
    Hungarian = 0x0E,
    Japanese = 0x11,
    Korean = 0x12,
    Polish = 0x15,
    Romanian = 0x18,
    Russian = 0x19,
    CroatianSerbianBosnian = 0x1A,
    Slovak = 0x1B,
    Albanian = 0x1C,
    Thai = 0x1E,
    Turkish = 0x1F,
    Urdu = 0x20,
    Ukrainian = 0x22,
    Belarusian = 0x23,
    Slovenian = 0x24,
    Estonian = 0x25,
    Latvian = 0x26,
    Lithuanian = 0x27,
    Tajik = 0x28,
    Persian = 0x29,
    Vietnamese = 0x2A,
    Azeri = 0x2C,
    Macedonian = 0x2F,
    Kazakh = 0x3F,
    Kyrgyz = 0x40,
    Uzbek = 0x43,
    Tatar = 0x44,
    Mongolian = 0x50,
    Pashto = 0x63,
    Bashkir = 0x6D,
    Uighur = 0x80,
    Yakut = 0x85,
    Dari = 0x8C,
};

bool IsCyrillicSerbianOrBosnian(int subLanguage) {
    return subLanguage == 3 || subLanguage == 7 || subLanguage == 8;
}

bool IsTraditionalChinese(int subLanguage) {
    return subLanguage == 1 || subLanguage == 3 || subLanguage == 5 || subLanguage == 0x1F;
}

std::string FromCodePage(const std::string& bytes, const char* codePage) {
    iconv_t converter = iconv_open("UTF-8", codePage);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return bytes;
    std::string out;
    char buffer[4096];
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr);
        // A byte the code page does not define is dropped; the rest still decodes.
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            ++in;
            --inLeft;
        }
    }
    // The Hebrew and Vietnamese code pages hold back each letter until they see whether a
    // combining mark follows; the closing call lets the file's last one out.
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(converter, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, outPtr);
    iconv_close(converter);
    return out;
}

} // namespace

LanguageEncoding GetEncoding(const QString& name) {
    const QString lower = name.toLower();
    if (lower.contains("_utf-8"))
        return LanguageEncoding::Utf8;
    if (lower.contains("_unicode"))
        return LanguageEncoding::Unicode;
    return LanguageEncoding::Ansi;
}

const char* LegacyCodePage(int primaryLanguage, int subLanguage) {
    switch (primaryLanguage) {
    case Chinese:
        return IsTraditionalChinese(subLanguage) ? "CP950" : "CP936";
    case Japanese:
        return "CP932";
    case Korean:
        return "CP949";
    case Thai:
        return "CP874";
    case CroatianSerbianBosnian:
        return IsCyrillicSerbianOrBosnian(subLanguage) ? "CP1251" : "CP1250";
    case Azeri:
    case Uzbek:
        return subLanguage == kSubCyrillic ? "CP1251" : "CP1254";
    case Bulgarian:
    case Russian:
    case Ukrainian:
    case Belarusian:
    case Tajik:
    case Macedonian:
    case Kazakh:
    case Kyrgyz:
    case Tatar:
    case Mongolian:
    case Bashkir:
    case Yakut:
        return "CP1251";
    case Czech:
    case Hungarian:
    case Polish:
    case Romanian:
    case Slovak:
    case Albanian:
    case Slovenian:
        return "CP1250";
    case Greek:
        return "CP1253";
    case Turkish:
        return "CP1254";
    case Hebrew:
        return "CP1255";
    case Arabic:
    case Urdu:
    case Persian:
    case Pashto:
    case Uighur:
    case Dari:
        return "CP1256";
    case Estonian:
    case Latvian:
    case Lithuanian:
        return "CP1257";
    case Vietnamese:
        return "CP1258";
    default:
        return "CP1252";
    }
}

std::string DecodeToUtf8(const std::string& bytes, LanguageEncoding encoding,
                         const char* codePage) {
    // A byte-order mark tells the encoding better than the name: files get renamed, and
    // editors save with a mark.
    if (std::optional<std::string> marked = inifile::DecodeByByteOrderMark(bytes))
        return *marked;
    switch (encoding) {
    case LanguageEncoding::Unicode:
        return inifile::Utf16LeToUtf8(bytes);
    case LanguageEncoding::Utf8:
        return bytes;
    case LanguageEncoding::Ansi:
        break;
    }
    return FromCodePage(bytes, codePage);
}

} // namespace language
