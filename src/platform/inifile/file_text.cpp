#include "platform/inifile/file_text.h"

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

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
    // Little-endian whatever the text begins with: QString::fromUtf16 would take a first
    // U+FFFE for a big-endian mark and swap the bytes of the whole text.
    QStringDecoder decoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(
        QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size() / 2 * 2)));
    return text.toStdString();
}

} // namespace inifile
