#include "language_fixture.h"

#include "support/test_environment.h"

#include <QDir>

namespace languagetest {

std::string Utf16LeWithBom(const QString& text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text.toStdU16String()) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

void LanguageFixture::SetUp() {
    testsupport::UseTemporarySettings();
    Language() = CLanguage();
    base = testsupport::TemporaryFolder();
    QDir(base).mkpath("language");
}

// Other tests of the program expect the built-in English texts.
void LanguageFixture::TearDown() {
    Language() = CLanguage();
}

void LanguageFixture::WriteLanguageFile(const QString& fileName, const std::string& bytes) const {
    testsupport::WriteFileBytes((base + "/language/" + fileName).toStdString(), bytes);
}

} // namespace languagetest
