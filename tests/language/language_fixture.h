#pragma once
// A fresh language object and a temporary folder to write language files into.
#include "language/language.h"
#include "support/scripted_prompts.h"

#include <QString>
#include <gtest/gtest.h>

#include <string>

namespace languagetest {

// The bytes of a UTF-8 text as UTF-16LE with its byte-order mark.
std::string Utf16LeWithBom(const QString& text);

class LanguageFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Writes <base>/language/<fileName> with the given bytes.
    void WriteLanguageFile(const QString& fileName, const std::string& bytes) const;

    QString base;
    testsupport::PromptScope scope;
};

} // namespace languagetest
