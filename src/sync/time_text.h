#pragma once
// Seconds as the user sees and types them. Both directions ignore the user's locale: times are
// shown with a point before the decimals; a typed time may have a point or a comma.
#include "platform/core/reftime.h"

#include <optional>
#include <string>

namespace avsync {

// The time in seconds with seven decimals ("%.7f"), so one 100-ns unit stays visible.
std::string TimeToText(REFERENCE_TIME time);

// The leading number of the text (as atof reads it; no number gives 0) times 10,000,000,
// truncated toward zero. Values beyond the 64-bit range are held at its ends.
REFERENCE_TIME TextToTime(const std::string& text);

// As TextToTime, but nothing when the number is not finite or lies beyond the 64-bit range,
// for texts that must not be taken for a time other than the one they say.
std::optional<REFERENCE_TIME> TextToTimeInRange(const std::string& text);

// A time the user typed: the whole text, blanks around it aside, is one number of seconds,
// with a point or a comma before the decimals. Nothing for any other text (also an empty one)
// and for a number beyond the range of times.
std::optional<REFERENCE_TIME> TypedTextToTime(const std::string& text);

// The leading number of the text as a double, as atof reads it (no number gives 0), with a
// decimal point whatever the locale.
double TextToDouble(const std::string& text);

// As TextToDouble, with a comma read as the decimal point when the text has no point, as
// users of many languages type it ("29,97").
double DecimalTextToDouble(const std::string& text);

// The leading decimal integer of the text, as atoi reads it (no number gives 0); values
// beyond the 32-bit range are held at its ends.
long long TextToInteger(const std::string& text);

// Whether a count of 100-ns units computed in double precision is finite and fits a time.
bool FitsTime(double value);

} // namespace avsync
