#pragma once
// The private-profile rules for single lines, shared by the reader and the writer so that
// both see the same sections and keys in a file.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace inifile {

// The lines of a text; a line ends at CR LF, LF or CR alone.
std::vector<std::string_view> SplitLines(std::string_view text);

// Without the blanks around it.
std::string_view Trim(std::string_view text);

// Names match without regard to ASCII case: the folded name is the form they are compared in.
std::string FoldedName(std::string_view name);
bool EqualNoCase(std::string_view a, std::string_view b);

// The name inside "[...]" when the line is a section header.
std::optional<std::string_view> SectionName(std::string_view line);

// The key of a "key=value" line; comments and lines without "=" have none.
std::optional<std::string_view> KeyName(std::string_view line);

// The text after the first "=", trimmed, without one pair of matching quotes around it.
std::string_view ValueOf(std::string_view line);

} // namespace inifile
