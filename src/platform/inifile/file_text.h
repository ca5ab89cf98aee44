#pragma once
// The text of a profile file as the reader and the writer take it. Editors often save a
// UTF-8 or UTF-16LE file with its byte-order mark; the mark tells the encoding.
#include <optional>
#include <string>
#include <string_view>

namespace inifile {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The whole file, decoded to UTF-8 when it begins with a byte-order mark and taken as it is
// otherwise; nothing when it does not exist or cannot be read.
std::optional<std::string> ReadFileText(const std::string& path);

// Whether the bytes begin with a UTF-8 or UTF-16LE byte-order mark.
bool BeginsWithByteOrderMark(std::string_view bytes);

// Text that begins with a UTF-8 or UTF-16LE byte-order mark, as UTF-8 without the mark;
// nothing when the bytes begin with neither.
std::optional<std::string> DecodeByByteOrderMark(std::string_view bytes);

// UTF-16LE bytes as UTF-8; an odd last byte is left out.
std::string Utf16LeToUtf8(std::string_view bytes);

} // namespace inifile
