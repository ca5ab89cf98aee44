#include "inifile.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace inifile {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trim(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// The name inside "[...]" when the line is a section header.
std::optional<std::string> SectionName(const std::string& line) {
    std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() != '[')
        return std::nullopt;
    std::size_t close = trimmed.find(']');
    std::string name = trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    return Trim(name);
}

// The key of a "key=value" line; comments and lines without "=" have none.
std::optional<std::string> KeyName(const std::string& line) {
    std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';')
        return std::nullopt;
    std::size_t eq = trimmed.find('=');
    if (eq == std::string::npos)
        return std::nullopt;
    return Trim(trimmed.substr(0, eq));
}

std::string ValueOf(const std::string& line) {
    std::string value = Trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string FitToBuffer(const std::string& text, std::size_t bufferSize) {
    if (bufferSize == 0)
        return {};
    // A character takes one place in the buffer whatever its length in UTF-8, so a translated
    // text is cut where the profile functions cut it.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsContinuationByte(text[i]))
            continue;
        if (characters == bufferSize - 1)
            return text.substr(0, i);
        ++characters;
    }
    return text;
}

Document Document::Parse(const std::string& text) {
    Document doc;
    std::size_t start = 0;
    while (start < text.size()) {
        // A line ends at CR LF, LF or CR alone.
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            doc.lines_.push_back(text.substr(start));
            break;
        }
        doc.lines_.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return doc;
}

Document Document::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    return Parse(text.str());
}

std::optional<Document::Location> Document::FindSection(const std::string& section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto name = SectionName(lines_[i]);
        if (!name || !EqualNoCase(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && !SectionName(lines_[end]))
            ++end;
        return Location{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> Document::FindKey(const Location& where, const std::string& key) const {
    for (std::size_t i = where.sectionHeader + 1; i < where.sectionEnd; ++i) {
        auto name = KeyName(lines_[i]);
        if (name && EqualNoCase(*name, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> Document::Value(const std::string& section,
                                           const std::string& key) const {
    auto where = FindSection(section);
    if (!where)
        return std::nullopt;
    auto line = FindKey(*where, key);
    if (!line)
        return std::nullopt;
    return ValueOf(lines_[*line]);
}

void Document::Set(const std::string& section, const std::string& key, const std::string& value) {
    std::string line = key + "=" + value;
    auto where = FindSection(section);
    if (!where) {
        lines_.push_back("[" + section + "]");
        lines_.push_back(std::move(line));
        return;
    }
    if (auto existing = FindKey(*where, key)) {
        lines_[*existing] = std::move(line);
        return;
    }
    // New keys go after the section's last non-blank line, ahead of any blank separator.
    std::size_t insertAt = where->sectionEnd;
    while (insertAt > where->sectionHeader + 1 && Trim(lines_[insertAt - 1]).empty())
        --insertAt;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
}

std::string Document::Text() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

bool Document::Save(const std::string& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    const std::string text = Text();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    return static_cast<bool>(out);
}

bool Document::SaveReplacing(const std::string& path) const {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const std::string text = Text();
    if (file.write(text.data(), static_cast<qint64>(text.size())) !=
        static_cast<qint64>(text.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, std::size_t bufferSize,
                                    const std::string& path) {
    auto value = Document::Load(path).Value(section, key);
    return FitToBuffer(value ? *value : defaultValue, bufferSize);
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path) {
    Document doc = Document::Load(path);
    doc.Set(section, key, value);
    return doc.Save(path);
}

} // namespace inifile
