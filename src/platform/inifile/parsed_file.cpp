#include "platform/inifile/parsed_file.h"

#include "platform/inifile/file_text.h"
#include "platform/inifile/inifile.h"
#include "platform/inifile/line_rules.h"

namespace inifile {

std::optional<ParsedFile> ParsedFile::Load(const std::string& path) {
    std::optional<std::string> text = ReadFileText(path);
    if (!text)
        return std::nullopt;
    return Parse(std::move(*text));
}

ParsedFile ParsedFile::Parse(std::string text) {
    ParsedFile file;
    std::string foldedText = FoldedName(text);
    auto texts = std::make_shared<const Texts>(Texts{std::move(text), std::move(foldedText)});
    const std::string_view original = texts->original;
    const std::string_view folded = texts->folded;
    // The same part of the other text: lines, names and values lie at the same places in both.
    const auto inFolded = [&](std::string_view part) {
        return folded.substr(static_cast<std::size_t>(part.data() - original.data()), part.size());
    };
    // Keys before the first header, and those of a repeated section, are never found.
    Section* current = nullptr;
    for (const std::string_view line : SplitLines(original)) {
        if (const std::optional<std::string_view> name = SectionName(line)) {
            auto [at, added] = file.sections_.try_emplace(inFolded(*name));
            current = added ? &at->second : nullptr;
            continue;
        }
        if (!current)
            continue;
        if (const std::optional<std::string_view> key = KeyName(line))
            current->try_emplace(inFolded(*key), ValueOf(line));
    }
    file.texts_ = std::move(texts);
    return file;
}

std::optional<std::string> ParsedFile::Value(std::string_view section, std::string_view key) const {
    const auto inSection = sections_.find(FoldedName(section));
    if (inSection == sections_.end())
        return std::nullopt;
    const auto value = inSection->second.find(FoldedName(key));
    if (value == inSection->second.end())
        return std::nullopt;
    return std::string(value->second);
}

std::string ParsedFile::GetString(std::string_view section, std::string_view key,
                                  const std::string& defaultValue, std::size_t bufferSize) const {
    return FitToBuffer(Value(section, key).value_or(defaultValue), bufferSize);
}

} // namespace inifile
