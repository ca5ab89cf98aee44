#include "platform/inifile/file_text.h"
#include "platform/inifile/inifile.h"
#include "platform/inifile/parsed_file.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>

using inifile::Document;
using inifile::ParsedFile;

namespace {
std::string TempFile(const char* name) {
    return (testsupport::TemporaryFolder() + "/" + name).toStdString();
}
} // namespace

TEST(IniFile, SectionsAndKeysMatchWithoutCaseAndValuesAreTrimmed) {
    const ParsedFile file =
        ParsedFile::Parse("[Sync_List]\r\n  Key_One =  12.5  \r\nother=x\n[b]\nkey_one=9\n");
    EXPECT_EQ(file.Value("SYNC_LIST", "KEY_ONE"), "12.5");
    EXPECT_EQ(file.Value("sync_list", "OTHER"), "x");
    EXPECT_EQ(file.Value("B", "key_one"), "9");
    EXPECT_FALSE(file.Value("sync_list", "missing"));
    EXPECT_FALSE(file.Value("nosection", "key_one"));
    EXPECT_EQ(file.GetString("b", "missing", "dflt", 3), "df");
}

TEST(IniFile, FirstMatchWinsAndQuotesAndCommentsAreHandled) {
    const ParsedFile file = ParsedFile::Parse(
        "k=before\n[s]\n;k=comment\nk=\"quoted value\"\nK=second\n[S]\nk=third\nq='a'\n");
    EXPECT_EQ(file.Value("s", "k"), "quoted value");
    EXPECT_FALSE(file.Value("s", "q")); // in the second section of that name, never reached
    EXPECT_FALSE(file.Value("", "k"));  // keys before the first header belong to no section
}

TEST(IniFile, SetReplacesInPlaceAppendsToSectionOrAppendsSection) {
    Document doc = Document::Parse("[a]\nx=1\ny=2\n\n[b]\nz=3\n");
    doc.Set("A", "X", "10");
    doc.Set("a", "w", "4");
    doc.Set("c", "v", "5");
    EXPECT_EQ(doc.Text(), "[a]\r\nX=10\r\ny=2\r\nw=4\r\n\r\n[b]\r\nz=3\r\n[c]\r\nv=5\r\n");
}

TEST(IniFile, AWrittenKeyIsTheOneTheReaderFinds) {
    Document doc = Document::Parse("[s]\n K = old\n[S]\nk=other\n");
    doc.Set("S", "k", "new");
    EXPECT_EQ(ParsedFile::Parse(doc.Text()).Value("s", "K"), "new");
}

TEST(IniFile, LinesEndAtCrLfLfOrCrAlone) {
    const std::string text = "[a]\rx=1\ry=2\r\n\r\n[b]\nz=3\n\rw=4\r";
    const ParsedFile file = ParsedFile::Parse(text);
    EXPECT_EQ(file.Value("a", "x"), "1");
    EXPECT_EQ(file.Value("a", "y"), "2");
    EXPECT_EQ(file.Value("b", "z"), "3");
    EXPECT_EQ(file.Value("b", "w"), "4");
    EXPECT_EQ(Document::Parse(text).Text(), "[a]\r\nx=1\r\ny=2\r\n\r\n[b]\r\nz=3\r\n\r\nw=4\r\n");
}

TEST(IniFile, ReadsAreCutToTheBufferInCharacters) {
    EXPECT_EQ(inifile::FitToBuffer("abcdef", 4), "abc");
    EXPECT_EQ(inifile::FitToBuffer("abc", 4), "abc");
    EXPECT_EQ(inifile::FitToBuffer("a\xC3\xA9z", 3), "a\xC3\xA9");
    EXPECT_EQ(inifile::FitToBuffer("x", 0), "");

    // 2047 characters fill the 2048-place buffer whatever their length in UTF-8.
    const std::string path = TempFile("long.ini");
    auto repeated = [](const std::string& character, std::size_t times) {
        std::string text;
        for (std::size_t i = 0; i < times; ++i)
            text += character;
        return text;
    };
    for (const std::string character :
         {"x", "\xC3\xA9", "\xD0\x96", "\xE4\xB8\xAD", "\xF0\x9F\x8E\xAC"}) {
        for (std::size_t length : {2047u, 3000u}) {
            testsupport::WriteFileBytes(path, "[s]\nk=" + repeated(character, length) + "\n");
            const std::string read =
                inifile::GetPrivateProfileString("s", "k", "", inifile::kReadBufferSize, path);
            EXPECT_EQ(read.size() / character.size(), 2047u)
                << character.size() << "-byte characters";
            EXPECT_TRUE(read == repeated(character, 2047))
                << character.size() << "-byte characters";
        }
    }
}

TEST(IniFile, PrivateProfileCallsCreateAndUpdateFilesWithCrLf) {
    const std::string path = TempFile("list.ini");
    EXPECT_FALSE(ParsedFile::Load(path));
    EXPECT_EQ(inifile::GetPrivateProfileString("s", "k", "dflt", 512, path), "dflt");
    ASSERT_TRUE(inifile::WritePrivateProfileString("FILENAME", "VIDEO_NAME", "/v/out.wmv", path));
    ASSERT_TRUE(inifile::WritePrivateProfileString("FILENAME", "TOTAL_SYNC_POINTS", "0", path));
    ASSERT_TRUE(inifile::WritePrivateProfileString("filename", "total_sync_points", "2", path));
    EXPECT_EQ(testsupport::ReadFileBytes(path), "[FILENAME]\r\nVIDEO_NAME=/v/out.wmv\r\ntotal_sync_points=2\r\n");
    EXPECT_EQ(inifile::GetPrivateProfileString("FILENAME", "TOTAL_SYNC_POINTS", "0", 512, path), "2");
}

TEST(IniFile, AByteOrderMarkTellsTheEncoding) {
    const std::string path = TempFile("marked.ini");
    const std::string utf8 = "[s]\r\nk=caf\xC3\xA9\r\n";
    testsupport::WriteFileBytes(path, "\xEF\xBB\xBF" + utf8);
    EXPECT_EQ(inifile::GetPrivateProfileString("S", "K", "", 512, path), "caf\xC3\xA9");
    // A key written into it replaces the one read, in the same section.
    ASSERT_TRUE(inifile::WritePrivateProfileString("s", "k", "tea", path));
    EXPECT_EQ(testsupport::ReadFileBytes(path), "[s]\r\nk=tea\r\n");

    testsupport::WriteFileBytes(path,
                                std::string("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0\xE9\0\x16\x04", 20));
    EXPECT_EQ(ParsedFile::Load(path)->Value("s", "k"), "\xC3\xA9\xD0\x96");

    // Little-endian also when the text begins with U+FFFE, the byte-swapped mark.
    EXPECT_EQ(inifile::DecodeByByteOrderMark(std::string("\xFF\xFE\xFE\xFFk\0=\0\x16\x04", 10)),
              "\xEF\xBF\xBEk=\xD0\x96");

    EXPECT_EQ(inifile::DecodeByByteOrderMark("[s]"), std::nullopt);
    EXPECT_EQ(inifile::DecodeByByteOrderMark("\xFE\xFF\0["), std::nullopt);
}

TEST(IniFile, TextThatBeginsLikeAByteOrderMarkReadsBackAsWritten) {
    const std::string path = TempFile("mark-like.ini");
    // Decoded by its UTF-8 mark, the text begins with the bytes of a UTF-16LE mark.
    testsupport::WriteFileBytes(path, "\xEF\xBB\xBF\xFF\xFE\r\n[s]\r\nk=1\r\n");
    ASSERT_TRUE(inifile::WritePrivateProfileString("s", "k", "2", path));
    EXPECT_EQ(inifile::GetPrivateProfileString("s", "k", "", 512, path), "2");
    EXPECT_EQ(testsupport::ReadFileBytes(path), "\xEF\xBB\xBF\xFF\xFE\r\n[s]\r\nk=2\r\n");

    // Decoded by its mark, the text begins with a second one; the header after it is not one,
    // so the key goes to a new section, which the reader must find.
    testsupport::WriteFileBytes(path, "\xEF\xBB\xBF\xEF\xBB\xBF[s]\nk=1\n");
    ASSERT_TRUE(inifile::WritePrivateProfileString("s", "k", "2", path));
    EXPECT_EQ(inifile::GetPrivateProfileString("s", "k", "", 512, path), "2");
    EXPECT_EQ(Document::Parse("\xEF\xBB\xBFk=v").Text(), "\xEF\xBB\xBF\xEF\xBB\xBFk=v\r\n");
}

TEST(IniFile, WriteIntoAMissingFolderFails) {
    const std::string path = TempFile("no/such/folder/x.ini");
    EXPECT_FALSE(inifile::WritePrivateProfileString("s", "k", "v", path));
}

TEST(IniFile, SaveReplacingKeepsTheOldFileWhenTheWriteFails) {
    const std::string folder = testsupport::TemporaryFolder().toStdString();
    const std::string path = folder + "/keep.ini";
    testsupport::WriteFileBytes(path, "[old]\nk=v\n");
    Document doc = Document::Parse("[new]\nk=w\n");
    ASSERT_TRUE(doc.SaveReplacing(path));
    EXPECT_EQ(testsupport::ReadFileBytes(path), "[new]\r\nk=w\r\n");

    // A name so long that no file can be made beside it: the old file stays as it was.
    const std::string longPath = folder + "/" + std::string(248, 'n') + ".ini";
    testsupport::WriteFileBytes(longPath, "[old]\nk=v\n");
    EXPECT_FALSE(doc.SaveReplacing(longPath));
    EXPECT_EQ(testsupport::ReadFileBytes(longPath), "[old]\nk=v\n");
}
