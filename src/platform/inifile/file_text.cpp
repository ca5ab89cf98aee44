#include "platform/inifile/file_text.h"

#include <QString>

#include <fstream>
#include <sstream>

namespace inifile {
namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

} // namespace

std::optional<std::string> ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    if (std::optional<std::string> decoded = DecodeByByteOrderMark(text))
        return decoded;
    return text;
}

bool BeginsWithByteOrderMark(std::string_view bytes) {
    return bytes.starts_with(kUtf8ByteOrderMark) || bytes.starts_with(kUtf16LeMark);
}

std::optional<std::string> DecodeByByteOrderMark(std::string_view bytes) {
    if (bytes.starts_with(kUtf8ByteOrderMark))
        return std::string(bytes.substr(kUtf8ByteOrderMark.size()));
    if (bytes.starts_with(kUtf16LeMark))
        return Utf16LeToUtf8(bytes.substr(kUtf16LeMark.size()));
    return std::nullopt;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return QString::fromStdU16String(units).toStdString();
}

} // namespace inifile
