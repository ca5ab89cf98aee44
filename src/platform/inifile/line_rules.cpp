#include "platform/inifile/line_rules.h"

#include <algorithm>

namespace inifile {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

} // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    std::size_t end = 0;
    while (end < text.size()) {
        const char c = text[end];
        if (c != '\r' && c != '\n') {
            ++end;
            continue;
        }
        lines.push_back(text.substr(start, end - start));
        end += (c == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
        start = end;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string FoldedName(std::string_view name) {
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
    return folded;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldCase(x) == FoldCase(y);
           });
}

std::optional<std::string_view> SectionName(std::string_view line) {
    std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() != '[')
        return std::nullopt;
    trimmed.remove_prefix(1);
    return Trim(trimmed.substr(0, trimmed.find(']')));
}

std::optional<std::string_view> KeyName(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';')
        return std::nullopt;
    const std::size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return Trim(trimmed.substr(0, eq));
}

std::string_view ValueOf(std::string_view line) {
    std::string_view value = Trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

} // namespace inifile
