#pragma once
// Wall-clock seconds since 1970-01-01 UTC. Tests replace the source to move time at will.
#include <cstdint>
#include <functional>

namespace core {

std::int64_t NowSeconds();

// Installs another time source; an empty function restores the system clock.
void SetNowSecondsSource(std::function<std::int64_t()> source);

} // namespace core
