#pragma once
// Every media and timeline time is a signed count of 100-nanosecond units.
#include <cstdint>

using REFERENCE_TIME = std::int64_t;

constexpr REFERENCE_TIME UNITS = 10'000'000; // units per second
