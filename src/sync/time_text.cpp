#include "sync/time_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
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
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer,
                                static_cast<double>(time) / UNITS, std::chars_format::fixed, 7);
    return std::string(buffer, result.ptr);
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

REFERENCE_TIME TextToTime(const std::string& text) {
    const double seconds = TextToDouble(text);
    if (std::isnan(seconds))
        return 0;
    double units = seconds * static_cast<double>(UNITS);
    if (!FitsTime(units))
        return units < 0 ? std::numeric_limits<REFERENCE_TIME>::min()
                         : std::numeric_limits<REFERENCE_TIME>::max();
    return static_cast<REFERENCE_TIME>(units);
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
