#pragma once
// A profile file read once and then answered from memory, for callers that read many keys of
// one file: asking GetPrivateProfileString for each would read and search the whole file
// every time. The answers are those of GetPrivateProfileString (see inifile.h): the first
// section of a name and the first key of a name in it count.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace inifile {

class ParsedFile {
  public:
    // Nothing when the file does not exist or cannot be read.
    static std::optional<ParsedFile> Load(const std::string& path);
    static ParsedFile Parse(std::string text);

    // The value of the key, or nothing when its section or the key is missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // The value, or the default when there is none, cut to a buffer of bufferSize characters.
    std::string GetString(std::string_view section, std::string_view key,
                          const std::string& defaultValue, std::size_t bufferSize) const;

  private:
    // Names and values are views into the two texts, which a copy of the object shares.
    struct Texts {
        std::string original;
        std::string folded; // the same text with ASCII letters in lower case, to match names in
    };
    using Section = std::unordered_map<std::string_view, std::string_view>;

    std::shared_ptr<const Texts> texts_;
    std::unordered_map<std::string_view, Section> sections_;
};

} // namespace inifile
