#pragma once
// Whole seconds as a clock: "%02d:%02d:%02d" of hours, minutes and seconds.
#include <QString>

inline QString ClockText(long long seconds) {
    return QString::asprintf("%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
}
