#include "sync/time_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <locale>
#include <sstream>

namespace avsync {
namespace {

// Skips what atof skips before the number: white space and one plus sign.
const char* NumberStart(const std::string& text) {
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v')
        ++p;
    if (*p == '+' && p[1] != '-')
        ++p;
    return p;
}

} // namespace

std::string TimeToText(REFERENCE_TIME time) {
    // Whole seconds and units written apart: a double holds only about 16 digits, so a time
    // of more than a few years would not show the unit it ends in.
    const std::uint64_t magnitude =
        time < 0 ? 0 - static_cast<std::uint64_t>(time) : static_cast<std::uint64_t>(time);
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, "%s%llu.%07llu", time < 0 ? "-" : "",
                                     static_cast<unsigned long long>(magnitude / UNITS),
                                     static_cast<unsigned long long>(magnitude % UNITS));
    return std::string(buffer, static_cast<std::size_t>(length));
}

bool FitsTime(double value) {
    // 2^63 is exactly representable; anything at or past it does not fit.
    constexpr double limit = 9223372036854775808.0;
    return std::isfinite(value) && value > -limit && value < limit;
}

double TextToDouble(const std::string& text) {
    const char* start = NumberStart(text);
    double value = 0;
    auto result = std::from_chars(start, start + std::char_traits<char>::length(start), value);
    if (result.ec == std::errc::invalid_argument)
        return 0;
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: the classic-locale stream tells the two apart,
        // giving the largest finite value or 0.
        std::istringstream number(std::string(start, result.ptr));
        number.imbue(std::locale::classic());
        number >> value;
    }
    return value;
}

double DecimalTextToDouble(const std::string& text) {
    std::string number = text;
    const std::size_t comma = number.find(',');
    if (comma != std::string::npos && number.find('.') == std::string::npos)
        number[comma] = '.';
    return TextToDouble(number);
}

namespace {

// Plain decimal seconds ("-12.3456789") read exactly: the seven decimals a time shows give
// back the very same time, which a detour through a double cannot promise. Nothing when the
// text holds an exponent, a special value, or a number of units a time cannot hold.
std::optional<REFERENCE_TIME> ExactDecimalTime(const std::string& text) {
    const char* p = NumberStart(text);
    const bool negative = (*p == '-');
    if (negative)
        ++p;
    // Counted without sign, up to 2^63 units: the negative end of the range is one further.
    const std::uint64_t largest =
        static_cast<std::uint64_t>(std::numeric_limits<REFERENCE_TIME>::max()) + (negative ? 1 : 0);
    std::uint64_t whole = 0;
    int digits = 0;
    for (; *p >= '0' && *p <= '9'; ++p, ++digits) {
        whole = whole * 10 + static_cast<std::uint64_t>(*p - '0');
        if (whole > largest / UNITS)
            return std::nullopt;
    }
    std::uint64_t fraction = 0;
    int decimals = 0;
    if (*p == '.') {
        for (++p; *p >= '0' && *p <= '9'; ++p, ++digits) {
            if (decimals < 7) {
                fraction = fraction * 10 + (*p - '0');
                ++decimals;
            }
        }
    }
    if (digits == 0 || *p == 'e' || *p == 'E')
        return std::nullopt;
    for (; decimals < 7; ++decimals)
        fraction *= 10;
    const std::uint64_t units = whole * UNITS + fraction;
    if (units > largest)
        return std::nullopt;
    return static_cast<REFERENCE_TIME>(negative ? 0 - units : units);
}

} // namespace

std::optional<REFERENCE_TIME> TextToTimeInRange(const std::string& text) {
    if (const std::optional<REFERENCE_TIME> exact = ExactDecimalTime(text))
        return exact;
    const double units = TextToDouble(text) * static_cast<double>(UNITS);
    if (!FitsTime(units))
        return std::nullopt;
    return static_cast<REFERENCE_TIME>(units);
}

REFERENCE_TIME TextToTime(const std::string& text) {
    if (const std::optional<REFERENCE_TIME> time = TextToTimeInRange(text))
        return *time;
    const double seconds = TextToDouble(text);
    if (std::isnan(seconds))
        return 0;
    return seconds < 0 ? std::numeric_limits<REFERENCE_TIME>::min()
                       : std::numeric_limits<REFERENCE_TIME>::max();
}

std::optional<REFERENCE_TIME> TypedTextToTime(const std::string& text) {
    constexpr const char* kBlanks = " \t\n\r\f\v";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return std::nullopt;
    std::string number = text.substr(first, text.find_last_not_of(kBlanks) + 1 - first);
    // A comma is the decimal mark of many languages; the number reader takes a point.
    const std::size_t comma = number.find(',');
    if (comma != std::string::npos) {
        if (number.find_first_of(".,", comma + 1) != std::string::npos ||
            number.find('.') != std::string::npos)
            return std::nullopt;
        number[comma] = '.';
    }
    // Sign, digits with at most one decimal mark among them, and an optional exponent; nothing
    // after it.
    const auto isDigit = [&](std::size_t i) {
        return i < number.size() && number[i] >= '0' && number[i] <= '9';
    };
    std::size_t i = (number[0] == '+' || number[0] == '-') ? 1 : 0;
    int digits = 0;
    for (; isDigit(i); ++i)
        ++digits;
    if (i < number.size() && number[i] == '.') {
        for (++i; isDigit(i); ++i)
            ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        if (i < number.size() && (number[i] == '+' || number[i] == '-'))
            ++i;
        if (!isDigit(i))
            return std::nullopt;
        while (isDigit(i))
            ++i;
    }
    if (i != number.size())
        return std::nullopt;
    return TextToTimeInRange(number);
}

long long TextToInteger(const std::string& text) {
    const char* start = NumberStart(text);
    long long value = 0;
    auto result = std::from_chars(start, start + std::char_traits<char>::length(start), value);
    if (result.ec == std::errc::invalid_argument)
        return 0;
    constexpr long long low = std::numeric_limits<int>::min();
    constexpr long long high = std::numeric_limits<int>::max();
    if (result.ec == std::errc::result_out_of_range)
        return (*start == '-') ? low : high;
    return value < low ? low : (value > high ? high : value);
}

} // namespace avsync
