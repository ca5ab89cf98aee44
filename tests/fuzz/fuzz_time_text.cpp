// Text to time and numbers on any text: the readings agree with each other, stay in their
// ranges, and a time read back from its own text, checked or typed, is the same time.
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"

#include "sync/time_text.h"

#include <cmath>
#include <limits>
#include <string>

namespace fuzz {

int FuzzTimeText(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<REFERENCE_TIME> inRange = avsync::TextToTimeInRange(text);
    const REFERENCE_TIME time = avsync::TextToTime(text);
    const double number = avsync::TextToDouble(text);
    const long long integer = avsync::TextToInteger(text);
    const std::optional<REFERENCE_TIME> typed = avsync::TypedTextToTime(text);

    FUZZ_CHECK(integer >= std::numeric_limits<int>::min() &&
               integer <= std::numeric_limits<int>::max());
    // A typed time with a point is the checked reading's; every shown time may be typed.
    if (typed && text.find(',') == std::string::npos)
        FUZZ_CHECK(typed == inRange);
    FUZZ_CHECK(avsync::TypedTextToTime(avsync::TimeToText(time)) == time);
    if (inRange) {
        FUZZ_CHECK(time == *inRange);
        FUZZ_CHECK(avsync::TextToTimeInRange(avsync::TimeToText(time)) == time);
    } else if (std::isnan(number)) {
        FUZZ_CHECK(time == 0);
    } else {
        // Held at the end of the range on the number's side.
        FUZZ_CHECK(time == (number < 0 ? std::numeric_limits<REFERENCE_TIME>::min()
                                       : std::numeric_limits<REFERENCE_TIME>::max()));
    }
    return 0;
}

} // namespace fuzz
