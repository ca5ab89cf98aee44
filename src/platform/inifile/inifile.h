#pragma once
// INI files with the rules of the Windows private-profile functions, so files written by
// other programs read the same and files we write read the same elsewhere:
// - section and key names match without regard to ASCII case; the first match wins;
// - a value is the text after the first "=" with surrounding blanks removed, and one pair of
//   matching quotes around it dropped;
// - a read is cut to fit a buffer of the given size, counted in characters (the terminating
//   zero takes one place);
// - writing a key replaces its line in place, or appends it to the end of its section, or
//   appends the section (header and key) to the end of the file;
// - lines end in CR LF when written; CR LF, LF or CR alone end a line when read;
// - a file that begins with a UTF-8 or UTF-16LE byte-order mark is read in that encoding;
//   text is written in UTF-8 without a mark, unless it begins with the bytes of one: then a
//   UTF-8 mark goes first, so the text reads back as it was.
// Document edits a file line by line and keeps every other line as it was; ParsedFile
// (parsed_file.h) reads one.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace inifile {

constexpr std::size_t kReadBufferSize = 2048;

class Document {
  public:
    // A file that does not exist or cannot be read loads as an empty document.
    static Document Load(const std::string& path);
    static Document Parse(const std::string& text);

    void Set(const std::string& section, const std::string& key, const std::string& value);

    // The bytes Save writes.
    std::string Text() const;
    // Writes the whole document to a new file beside path and moves it over path only when
    // it was written completely; on failure the old file stays as it was.
    bool SaveReplacing(const std::string& path) const;

  private:
    struct Location {
        std::size_t sectionHeader; // index of the header line
        std::size_t sectionEnd;    // one past the last line that belongs to the section
    };
    std::optional<Location> FindSection(const std::string& section) const;
    std::optional<std::size_t> FindKey(const Location& where, const std::string& key) const;

    std::vector<std::string> lines_;
};

// The stand-ins for GetPrivateProfileStringA and WritePrivateProfileStringA: one file access
// per call, as the originals do.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, std::size_t bufferSize,
                                    const std::string& path);
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path);

// Cuts text to at most bufferSize - 1 characters, leaving room for the terminating zero; a
// character counts once whatever its length in UTF-8.
std::string FitToBuffer(const std::string& text, std::size_t bufferSize);

} // namespace inifile
