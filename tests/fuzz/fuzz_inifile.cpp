// The private-profile reader and writer on any file: both readers answer, a read never
// exceeds its buffer, and a key the writer sets reads back while every other key keeps its
// value.
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"

#include "platform/inifile/file_text.h"
#include "platform/inifile/inifile.h"
#include "platform/inifile/line_rules.h"
#include "platform/inifile/parsed_file.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fuzz {
namespace {

// Enough names to reach past the first section, few enough to keep runs fast: each write
// re-reads the whole text.
constexpr std::size_t kMaxNamesTried = 6;
const std::string kWrittenValue = "fuzz value";

struct Name {
    std::string section;
    std::string key;
};

// The first keys of the file's sections, as the line rules see them, and a pair it does not
// hold.
std::vector<Name> NamesOf(const std::string& text) {
    std::vector<Name> names;
    std::optional<std::string_view> section;
    for (const std::string_view line : inifile::SplitLines(text)) {
        if (names.size() == kMaxNamesTried)
            break;
        if (const auto header = inifile::SectionName(line))
            section = header;
        else if (const auto key = inifile::KeyName(line); key && section)
            names.push_back({std::string(*section), std::string(*key)});
    }
    names.push_back({"fuzz section", "fuzz key"});
    return names;
}

std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// The cut value is the start of the whole one and fits the buffer with its terminating zero.
void CheckCut(const inifile::ParsedFile& file, const Name& name) {
    const std::string whole = file.Value(name.section, name.key).value_or("default");
    for (const std::size_t bufferSize : {std::size_t{0}, std::size_t{1}, std::size_t{4},
                                         inifile::kReadBufferSize}) {
        const std::string cut = file.GetString(name.section, name.key, "default", bufferSize);
        FUZZ_CHECK(whole.starts_with(cut));
        FUZZ_CHECK(bufferSize == 0 ? cut.empty() : CharacterCount(cut) < bufferSize);
    }
}

// The document as the reader finds it once saved.
inifile::ParsedFile ReadBack(const inifile::Document& document) {
    const std::string bytes = document.Text();
    return inifile::ParsedFile::Parse(inifile::DecodeByByteOrderMark(bytes).value_or(bytes));
}

} // namespace

int FuzzIniFile(const std::uint8_t* data, std::size_t size) {
    const std::string path =
        WriteInputFile("profile.ini", std::string_view(reinterpret_cast<const char*>(data), size));
    const std::optional<std::string> text = inifile::ReadFileText(path);
    const std::optional<inifile::ParsedFile> file = inifile::ParsedFile::Load(path);
    FUZZ_CHECK(text && file);
    const inifile::Document document = inifile::Document::Load(path);

    const std::vector<Name> names = NamesOf(*text);
    const inifile::ParsedFile before = ReadBack(document);
    for (const Name& name : names) {
        // The document keeps the lines the file had, so both readings agree.
        FUZZ_CHECK(before.Value(name.section, name.key) == file->Value(name.section, name.key));
        CheckCut(*file, name);

        inifile::Document edited = document;
        edited.Set(name.section, name.key, kWrittenValue);
        const inifile::ParsedFile after = ReadBack(edited);
        FUZZ_CHECK(after.Value(name.section, name.key) == kWrittenValue);
        for (const Name& other : names) {
            if (!inifile::EqualNoCase(other.section, name.section) ||
                !inifile::EqualNoCase(other.key, name.key))
                FUZZ_CHECK(after.Value(other.section, other.key) ==
                           before.Value(other.section, other.key));
        }
    }

    // One write through the file, as the program stores a value.
    const Name& first = names.front();
    FUZZ_CHECK(inifile::WritePrivateProfileString(first.section, first.key, kWrittenValue, path));
    FUZZ_CHECK(inifile::GetPrivateProfileString(first.section, first.key, "", inifile::kReadBufferSize,
                                                path) == kWrittenValue);
    return 0;
}

} // namespace fuzz
