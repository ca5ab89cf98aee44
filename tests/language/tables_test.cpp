// The fixed tables, the encoding rules and the decoding of language files.
#include "language/language_encoding.h"
#include "language/language_file.h"
#include "language/language_tables.h"

#include <QString>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

using namespace language;

TEST(Tables, TheLocaleTableHoldsEveryLocaleWithItsIdentifier) {
    const auto table = LocaleTable();
    ASSERT_EQ(table.size(), 273u);
    EXPECT_STREQ(table.front().name, "Afrikaans");
    EXPECT_STREQ(table.back().name, "Yoruba_Nigeria");
    std::map<std::string, std::uint16_t> ids;
    for (const LocaleRow& row : table)
        ids.emplace(row.name, row.id);
    EXPECT_EQ(ids.size(), 273u);
    EXPECT_EQ(ids.at("English"), 0x0009);
    EXPECT_EQ(ids.at("English_United_Kingdom"), 0x0809);
    EXPECT_EQ(ids.at("Chinese_Traditional"), 0x7C04);
    EXPECT_EQ(ids.at("Japanese_Japan"), 0x0411);
    EXPECT_EQ(ids.at("Serbian"), 0x7C1A);
    EXPECT_EQ(ids.at("Spanish_United States"), 0x540A);
}

// The described rows come first; keys added since follow them.
TEST(Tables, TheKeyTableHasItsRowsWithUniqueIdsPerSection) {
    const auto table = LanguageKeyTable();
    constexpr std::size_t kDescribedRows = 102;
    ASSERT_GE(table.size(), kDescribedRows);
    std::map<std::string, std::set<int>> idsBySection;
    std::map<std::string, std::size_t> describedBySection;
    for (std::size_t row = 0; row < table.size(); ++row) {
        const std::string prefix = std::string(table[row].key).substr(0, 3);
        const std::string section = prefix == "IDS"                      ? "STRING"
                                    : prefix == "IDM" || prefix == "IDR" ? "MENU"
                                                                         : "DIALOG";
        EXPECT_TRUE(idsBySection[section].insert(table[row].id).second)
            << table[row].key << " " << table[row].id;
        if (row < kDescribedRows)
            ++describedBySection[section];
    }
    EXPECT_EQ(describedBySection["MENU"], 7u);
    EXPECT_EQ(describedBySection["STRING"], 27u);
    EXPECT_TRUE(idsBySection["MENU"].count(10485760));
    EXPECT_TRUE(idsBySection["DIALOG"].count(1051));
}

TEST(Encoding, TheNameDecidesTheEncoding) {
    EXPECT_EQ(GetEncoding("German_Germany_UTF-8"), LanguageEncoding::Utf8);
    EXPECT_EQ(GetEncoding("chs_Unicode"), LanguageEncoding::Unicode);
    EXPECT_EQ(GetEncoding("x_unicode_utf-8"), LanguageEncoding::Utf8);
    EXPECT_EQ(GetEncoding("German_Germany"), LanguageEncoding::Ansi);
    EXPECT_EQ(GetEncoding("utf-8"), LanguageEncoding::Ansi);
}

TEST(Encoding, LegacyFilesDecodeInTheirLanguagesCodePage) {
    EXPECT_STREQ(LegacyCodePage(7, 1), "CP1252");
    EXPECT_STREQ(LegacyCodePage(4, 2), "CP936");
    EXPECT_STREQ(LegacyCodePage(4, 1), "CP950");
    EXPECT_STREQ(LegacyCodePage(0x1A, 3), "CP1251");
    EXPECT_STREQ(LegacyCodePage(0x1A, 1), "CP1250");
    EXPECT_EQ(DecodeToUtf8("\xE4\xF6", LanguageEncoding::Ansi, "CP1252"), "\xC3\xA4\xC3\xB6");
    // "中文" in GBK.
    EXPECT_EQ(DecodeToUtf8("\xD6\xD0\xCE\xC4", LanguageEncoding::Ansi, "CP936"),
              "\xE4\xB8\xAD\xE6\x96\x87");
    // 0x81 is not defined in CP1252; the bytes around it survive.
    EXPECT_EQ(DecodeToUtf8("a\x81z", LanguageEncoding::Ansi, "CP1252"), "az");
    EXPECT_EQ(DecodeToUtf8("\xEF\xBB\xBFok", LanguageEncoding::Utf8, "CP1252"), "ok");
    EXPECT_EQ(DecodeToUtf8(std::string("\xFF\xFEo\0k\0", 6), LanguageEncoding::Unicode, "CP1252"),
              "ok");
}

TEST(Encoding, HebrewAndVietnameseFilesKeepTheirLastLetter) {
    EXPECT_EQ(DecodeToUtf8("ab\xF9", LanguageEncoding::Ansi, "CP1255"), "ab\xD7\xA9");
    // CP1258 writes "ệ" as "ê" and a combining dot below; the decoder joins them, and waits after
    // every letter for a mark that may follow.
    EXPECT_EQ(DecodeToUtf8("Vi\xEA\xF2t", LanguageEncoding::Ansi, "CP1258"), "Vi\xE1\xBB\x87t");
    EXPECT_EQ(DecodeToUtf8("Vi\xEA\xF2", LanguageEncoding::Ansi, "CP1258"), "Vi\xE1\xBB\x87");
    EXPECT_EQ(DecodeToUtf8("[DIALOG]\r\nIDD_PROGRAM_CAPTION=Ti\xEA\xECng",
                           LanguageEncoding::Ansi, "CP1258"),
              "[DIALOG]\r\nIDD_PROGRAM_CAPTION=Ti\xE1\xBA\xBFng");
}

TEST(Encoding, UnicodeFilesAreLittleEndianWhateverTheirFirstCharacter) {
    // U+FFFE, the byte-swapped mark, then "[S": not a big-endian file.
    EXPECT_EQ(DecodeToUtf8(std::string("\xFE\xFF[\0S\0", 6), LanguageEncoding::Unicode, "CP1252"),
              "\xEF\xBF\xBE[S");
}

TEST(Encoding, AByteOrderMarkDecidesOverTheName) {
    const std::string utf16 = std::string("\xFF\xFE\xE4\0\x16\x04", 6);
    EXPECT_EQ(DecodeToUtf8(utf16, LanguageEncoding::Ansi, "CP1252"), "\xC3\xA4\xD0\x96");
    EXPECT_EQ(DecodeToUtf8(utf16, LanguageEncoding::Utf8, "CP1252"), "\xC3\xA4\xD0\x96");
    const std::string utf8 = "\xEF\xBB\xBF\xC3\xA4\xD0\x96";
    EXPECT_EQ(DecodeToUtf8(utf8, LanguageEncoding::Ansi, "CP1251"), "\xC3\xA4\xD0\x96");
    EXPECT_EQ(DecodeToUtf8(utf8, LanguageEncoding::Unicode, "CP1252"), "\xC3\xA4\xD0\x96");
}

TEST(Values, OnlyTabLineFeedAndCarriageReturnAreEscapes) {
    EXPECT_EQ(Unescape("a\\tb\\nc\\rd"), "a\tb\nc\rd");
    EXPECT_EQ(Unescape("C:\\path\\x"), "C:\\path\\x");
    EXPECT_EQ(Unescape("end\\"), "end\\");
}
