#include "platform/editing/transient_scan.h"

#include <algorithm>
#include <cmath>

namespace editing {

namespace {
constexpr double kRise = 10.0;
constexpr double kFloor = 1e-4; // -40 dB of full scale, as a mean square
constexpr std::int64_t kChunk = 8192;
} // namespace

TransientScan::TransientScan(AudioSampleReader& reader, SourceLine line, std::int64_t first,
                             std::int64_t end)
    : reader_(reader), line_(line), first_(first), end_(end),
      shortLength_(std::max(reader.SampleRate() / 2000, 1)),
      longLength_(std::max(reader.SampleRate() / 50, 1)),
      apart_(std::max(reader.SampleRate() / 20, 1)),
      scanned_(static_cast<std::int64_t>(std::floor(line.At(first)))) {}

std::int64_t TransientScan::OutputSampleOf(std::int64_t position) const {
    return first_ + std::llround((static_cast<double>(position) - line_.At(first_)) / line_.step);
}

const std::vector<std::int64_t>& TransientScan::Until(std::int64_t to) {
    const auto last = static_cast<std::int64_t>(std::ceil(line_.At(std::min(to, end_))));
    while (scanned_ < last) {
        // The stretch before the chunk is read again for the level the chunk is compared with;
        // the half millisecond after it for the level of its last moments.
        const std::int64_t from = scanned_ - longLength_;
        const std::int64_t stop = std::min(scanned_ + kChunk, last);
        const std::int64_t count = stop + shortLength_ - from;
        sound_.resize(2 * static_cast<std::size_t>(count));
        reader_.Read(from, count, sound_.data());
        power_.assign(static_cast<std::size_t>(count) + 1, 0.0);
        for (std::int64_t i = 0; i < count; ++i) {
            const double left = sound_[2 * i];
            const double right = sound_[2 * i + 1];
            power_[i + 1] = power_[i] + (left * left + right * right) / 2;
        }
        const auto mean = [&](std::int64_t at, std::int64_t length) {
            return (power_[at - from + length] - power_[at - from]) / static_cast<double>(length);
        };
        for (std::int64_t p = scanned_; p < stop; ++p) {
            if (p - lastMoment_ < apart_)
                continue;
            if (mean(p, shortLength_) > kRise * mean(p - longLength_, longLength_) + kFloor) {
                lastMoment_ = p;
                moments_.push_back(OutputSampleOf(p));
            }
        }
        scanned_ = stop;
    }
    return moments_;
}

} // namespace editing
