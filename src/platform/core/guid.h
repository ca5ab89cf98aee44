#pragma once
// Class and type identifiers: 128-bit values laid out like the Windows GUID, written as the
// braced registry text "{DE75D012-7A65-11D2-8CEA-00A0C9441E20}".
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::array<std::uint8_t, 8> Data4{};
    bool operator==(const GUID&) const = default;
};

using CLSID = GUID;

constexpr GUID GUID_NULL{};

namespace core {

namespace detail {
constexpr int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The value of `digits` hex digits at `at`, or -1 when one of them is not a hex digit.
constexpr std::int64_t HexField(std::string_view text, std::size_t at, std::size_t digits) {
    std::int64_t value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        int d = HexDigit(text[at + i]);
        if (d < 0)
            return -1;
        value = value * 16 + d;
    }
    return value;
}
} // namespace detail

// Reads the braced text form, upper or lower case hex digits; anything else gives nothing.
constexpr std::optional<GUID> GuidFromString(std::string_view text) {
    if (text.size() != 38 || text[0] != '{' || text[37] != '}' || text[9] != '-' ||
        text[14] != '-' || text[19] != '-' || text[24] != '-')
        return std::nullopt;
    const std::int64_t d1 = detail::HexField(text, 1, 8);
    const std::int64_t d2 = detail::HexField(text, 10, 4);
    const std::int64_t d3 = detail::HexField(text, 15, 4);
    if (d1 < 0 || d2 < 0 || d3 < 0)
        return std::nullopt;
    GUID guid{static_cast<std::uint32_t>(d1),
              static_cast<std::uint16_t>(d2),
              static_cast<std::uint16_t>(d3),
              {}};
    // Data4 is written as 2 bytes, a dash, then 6 bytes.
    constexpr std::size_t kByteAt[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (std::size_t i = 0; i < 8; ++i) {
        const std::int64_t byte = detail::HexField(text, kByteAt[i], 2);
        if (byte < 0)
            return std::nullopt;
        guid.Data4[i] = static_cast<std::uint8_t>(byte);
    }
    return guid;
}

// A GUID constant written in its text form; a malformed text does not compile.
consteval GUID GuidLiteral(std::string_view text) {
    return GuidFromString(text).value();
}

// The braced text form with upper-case hex digits, as the registry shows it.
std::string GuidToString(const GUID& guid);

// A name-based identifier (RFC 4122 version 5): the same namespace and name always give the
// same GUID, and different names practically never the same one.
GUID NameBasedGuid(const GUID& nameSpace, std::string_view name);

} // namespace core
