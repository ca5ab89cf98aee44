#include "clock.h"

#include <chrono>
#include <utility>

namespace core {
namespace {
std::function<std::int64_t()>& Source() {
    static std::function<std::int64_t()> source;
    return source;
}
} // namespace

std::int64_t NowSeconds() {
    if (Source())
        return Source()();
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

void SetNowSecondsSource(std::function<std::int64_t()> source) { Source() = std::move(source); }

} // namespace core
