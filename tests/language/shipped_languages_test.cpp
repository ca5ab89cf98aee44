// The language files shipped with the program: each loads under its own name with a text for
// every key and no key the program does not know, and its letters come out as the right text.
#include "language/language_tables.h"
#include "language_fixture.h"
#include "platform/inifile/line_rules.h"
#include "resources/resource.h"
#include "resources/strings.h"
#include "support/test_environment.h"

#include <QStringDecoder>

#include <ostream>
#include <set>
#include <string>
#include <utility>

using languagetest::LanguageFixture;

namespace {

const QString kBase = QStringLiteral(QUILLET_LANGUAGE_DIR);

struct Shipped {
    const char* name;
    LanguageEncoding encoding;
    int primaryLanguage;
    int subLanguage;
    const char* locale; // the toolkit's, for its own texts
};

const Shipped kShipped[] = {
    {"English", LanguageEncoding::Ansi, 9, 1, "en_US"},
    {"French_France", LanguageEncoding::Ansi, 0x0C, 1, "fr_FR"},
    {"German_Germany_utf-8", LanguageEncoding::Utf8, 0x07, 1, "de_DE"},
    {"Spanish_Spain", LanguageEncoding::Ansi, 0x0A, 3, "es_ES"},
    {"chs_unicode", LanguageEncoding::Unicode, 0x04, 2, "zh_CN"},
};

// Test names and failures show the file's name.
void PrintTo(const Shipped& shipped, std::ostream* out) { *out << shipped.name; }

std::string SectionOfKey(const std::string& key) {
    const std::string prefix = key.substr(0, 3);
    if (prefix == "IDS")
        return "STRING";
    if (prefix == "IDM" || prefix == "IDR")
        return "MENU";
    return "DIALOG";
}

// Every key of the key table, with the section it belongs in.
std::set<std::pair<std::string, std::string>> KeyTableKeys() {
    std::set<std::pair<std::string, std::string>> keys;
    for (const language::LanguageKey& row : language::LanguageKeyTable())
        keys.emplace(SectionOfKey(row.key), row.key);
    return keys;
}

// A code page the text was not written in shows as replacement or C1 control characters.
bool LooksMisdecoded(const QString& text) {
    for (const QChar c : text) {
        if (c == QChar::ReplacementCharacter || (c.unicode() >= 0x80 && c.unicode() < 0xA0))
            return true;
    }
    return false;
}

class ShippedLanguageTest : public LanguageFixture, public ::testing::WithParamInterface<Shipped> {
  protected:
    QString Path() const { return kBase + "/language/" + GetParam().name + ".ini"; }
};

} // namespace

TEST_F(LanguageFixture, TheShippedFolderListsEveryLanguage) {
    CLanguage& language = Language();
    ASSERT_TRUE(language.Init(kBase, "english"));
    QStringList expected;
    for (const Shipped& shipped : kShipped)
        expected.append(shipped.name);
    EXPECT_EQ(language.languageNames, expected);
    EXPECT_EQ(CLanguage::FindBaseDirectory(kBase + "/bin"), kBase);
}

TEST_P(ShippedLanguageTest, LoadsUnderItsNameWithATextForEveryKey) {
    CLanguage& language = Language();
    ASSERT_TRUE(language.Init(kBase, GetParam().name));
    EXPECT_EQ(language.currentLanguage, GetParam().name);
    EXPECT_EQ(language.encoding, GetParam().encoding);
    EXPECT_EQ(language.primaryLanguage, GetParam().primaryLanguage);
    EXPECT_EQ(language.subLanguage, GetParam().subLanguage);
    EXPECT_EQ(language.Locale().name(), GetParam().locale);
    // The name resolves to its locale without the warning about an improper name.
    EXPECT_TRUE(scope.prompts.messages.empty());

    std::size_t rows = 0;
    for (const auto* texts : {&language.menuTexts, &language.dialogTexts, &language.stringTexts}) {
        for (const TextEntry& entry : *texts) {
            ++rows;
            EXPECT_FALSE(entry.text.trimmed().isEmpty()) << entry.id;
            EXPECT_FALSE(LooksMisdecoded(entry.text)) << entry.id << " " << entry.text.toStdString();
        }
    }
    EXPECT_EQ(rows, language::LanguageKeyTable().size());
}

TEST_P(ShippedLanguageTest, HoldsTheKeyTableInItsSectionsAndNothingElse) {
    const std::string bytes = testsupport::ReadFileBytes(Path().toStdString());
    ASSERT_FALSE(bytes.empty());
    switch (GetParam().encoding) {
    case LanguageEncoding::Unicode:
        EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
        break;
    case LanguageEncoding::Utf8: {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8(QByteArray::fromStdString(bytes));
        EXPECT_FALSE(utf8.hasError());
        break;
    }
    case LanguageEncoding::Ansi:
        // A legacy file has no byte-order mark that would override its code page.
        EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF");
        EXPECT_NE(bytes.substr(0, 2), "\xFF\xFE");
        break;
    }
    const std::string text = language::DecodeToUtf8(
        bytes, GetParam().encoding,
        language::LegacyCodePage(GetParam().primaryLanguage, GetParam().subLanguage));
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        EXPECT_TRUE(at > 0 && text[at - 1] == '\r') << "a line ends without CR LF at " << at;

    const std::set<std::pair<std::string, std::string>> known = KeyTableKeys();
    std::set<std::pair<std::string, std::string>> found;
    std::set<std::string> sections;
    std::string section;
    for (const std::string_view line : inifile::SplitLines(text)) {
        if (const auto name = inifile::SectionName(line)) {
            section = std::string(*name);
            EXPECT_TRUE(sections.insert(section).second) << "section " << section << " repeated";
            continue;
        }
        const auto key = inifile::KeyName(line);
        if (!key)
            continue;
        const std::pair<std::string, std::string> entry{section, std::string(*key)};
        EXPECT_TRUE(known.count(entry)) << entry.second << " is no key of section " << section;
        EXPECT_TRUE(found.insert(entry).second) << entry.second << " given twice";
    }
    EXPECT_EQ(sections, (std::set<std::string>{"MENU", "DIALOG", "STRING"}));
    EXPECT_EQ(found, known);
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLanguageTest, ::testing::ValuesIn(kShipped),
                         [](const ::testing::TestParamInfo<Shipped>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (c == '-')
                                     c = '_';
                             }
                             return name;
                         });

TEST_F(LanguageFixture, TheEnglishFileSaysWhatTheBuiltInStringsSay) {
    CLanguage& language = Language();
    ASSERT_TRUE(language.Init(kBase, "English"));
    for (const TextEntry& entry : language.stringTexts)
        EXPECT_EQ(entry.text, resources::BuiltInString(entry.id)) << entry.id;
    // The Convert button's two labels and the point list's headings are string numbers too.
    for (int id : {IDS_BUTTON_STOP, IDS_BUTTON_CONVERT, IDS_COLUMN_VIDEO_TIME, IDS_COLUMN_AUDIO_TIME})
        EXPECT_EQ(language.GetDialogText(id), resources::BuiltInString(id)) << id;
    EXPECT_EQ(language.GetMenuText(IDS_ABOUTBOX), resources::BuiltInString(IDS_ABOUTBOX));
}

TEST_F(LanguageFixture, AccentsUmlautsAndChineseCharactersDecodeFromEachEncoding) {
    CLanguage& language = Language();
    const auto select = [&](QString name) {
        language.SelectLanguage(name);
        return name;
    };
    ASSERT_TRUE(language.Init(kBase, "English"));

    ASSERT_EQ(select("German_Germany_utf-8"), "German_Germany_utf-8");
    EXPECT_EQ(language.GetDialogText(IDC_STATIC_OUTPUT_VIDEO_END_TIME), QStringLiteral("Videoende"));
    EXPECT_EQ(language.GetString(IDS_MESSAGE_ORIGINAL_SIZE), QStringLiteral("Originalgröße"));
    EXPECT_EQ(language.GetDialogText(IDC_BUTTON_JUMP_BACKWARD), QStringLiteral("Zurückspringen (&q)"));

    // Windows-1252 differs from Latin-1 in its typographic apostrophe.
    ASSERT_EQ(select("French_France"), "French_France");
    EXPECT_EQ(language.GetMenuText(IDM_ABOUT), QStringLiteral("À &propos"));
    EXPECT_EQ(language.GetString(IDS_MESSAGE_ORIGINAL_SIZE), QStringLiteral("Taille d’origine"));
    EXPECT_EQ(language.GetDialogText(IDC_STATIC_OUTPUT_FILE), QStringLiteral("Fichier de sortie\u00A0:"));

    ASSERT_EQ(select("Spanish_Spain"), "Spanish_Spain");
    EXPECT_EQ(language.GetString(IDS_MESSAGE_FILE_EXIST), QStringLiteral("ya existe. ¿Desea reemplazarlo?"));
    EXPECT_EQ(language.GetDialogText(IDC_BUTTON_ADD_SYNC_POINT),
              QStringLiteral("Añadir un punto de sincronización"));

    ASSERT_EQ(select("chs_unicode"), "chs_unicode");
    EXPECT_EQ(language.GetDialogText(IDC_BUTTON_PLAY), QStringLiteral("播放"));
    EXPECT_EQ(language.GetString(IDS_MESSAGE_WARNING), QStringLiteral("警告"));
    // The "Language" submenu is the first nested pop-up of the language menu.
    EXPECT_EQ(language.GetMenuText(IDR_MENU_LANGUAGE * 65536), QStringLiteral("语言"));
    EXPECT_EQ(language.GetDialogText(IDC_BUTTON_HELP), QStringLiteral("帮助(&H)"));
    EXPECT_TRUE(scope.prompts.messages.empty());
}
