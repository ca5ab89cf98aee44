#include "inifile.h"

#include "platform/inifile/file_text.h"
#include "platform/inifile/line_rules.h"
#include "platform/inifile/parsed_file.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>


namespace inifile {
namespace {

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
    for (const std::string_view line : SplitLines(text))
        doc.lines_.emplace_back(line);
    return doc;
}

Document Document::Load(const std::string& path) {
    const std::optional<std::string> text = ReadFileText(path);
    return text ? Parse(*text) : Document();
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
    // Text that begins like a byte-order mark gets a mark of its own, for the reader to drop
    // instead of taking the text's first bytes for one.
    if (BeginsWithByteOrderMark(text))
        text.insert(0, kUtf8ByteOrderMark);
    return text;
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
    const std::optional<ParsedFile> file = ParsedFile::Load(path);
    return file ? file->GetString(section, key, defaultValue, bufferSize)
                : FitToBuffer(defaultValue, bufferSize);
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path) {
    Document doc = Document::Load(path);
    doc.Set(section, key, value);
    return doc.SaveReplacing(path);
}

} // namespace inifile
