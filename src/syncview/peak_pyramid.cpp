#include "syncview/peak_pyramid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace syncview {

namespace {
constexpr float kScale = 32767.0f;

std::int16_t ToShort(float sample) {
    return static_cast<std::int16_t>(std::lround(std::clamp(sample, -1.0f, 1.0f) * kScale));
}
} // namespace

void PeakPyramid::Add(const float* samples, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::int16_t value = ToShort(samples[i]);
        if (openCount_ == 0) {
            open_ = {value, value};
        } else {
            open_.low = std::min(open_.low, value);
            open_.high = std::max(open_.high, value);
        }
        if (++openCount_ == kFinestSamples) {
            levels_[0].push_back(open_);
            openCount_ = 0;
            Close(0);
        }
    }
    samples_ += std::int64_t(count);
}

PeakPyramid::Pair PeakPyramid::Extent(const std::vector<Pair>& pairs, std::size_t from) {
    Pair merged = pairs[from];
    for (std::size_t i = from + 1; i < std::min(pairs.size(), from + kLevelFactor); ++i) {
        merged.low = std::min(merged.low, pairs[i].low);
        merged.high = std::max(merged.high, pairs[i].high);
    }
    return merged;
}

// Once a level has a whole group of pairs more, the level above gets their extent.
void PeakPyramid::Close(std::size_t level) {
    const std::vector<Pair>& below = levels_[level];
    if (below.size() % kLevelFactor != 0)
        return;
    if (levels_.size() == level + 1)
        levels_.emplace_back();
    levels_[level + 1].push_back(Extent(below, below.size() - kLevelFactor));
    Close(level + 1);
}

void PeakPyramid::Finish() {
    if (openCount_ > 0) {
        levels_[0].push_back(open_);
        openCount_ = 0;
    }
    // The last, partial group of each level goes up as well, so every level reaches the end.
    for (std::size_t level = 0; level < levels_.size(); ++level) {
        const std::vector<Pair>& below = levels_[level];
        const std::size_t whole = (below.size() + kLevelFactor - 1) / kLevelFactor;
        if (below.size() <= 1)
            break;
        if (levels_.size() == level + 1)
            levels_.emplace_back();
        std::vector<Pair>& above = levels_[level + 1];
        if (above.size() < whole)
            above.push_back(Extent(below, above.size() * kLevelFactor));
    }
    for (std::vector<Pair>& level : levels_)
        level.shrink_to_fit();
}

void PeakPyramid::Columns(double first, double samplesPerColumn,
                          std::vector<PeakColumn>& columns) const {
    // The coarsest level whose pairs are no wider than a column.
    std::size_t level = 0;
    double pairSamples = kFinestSamples;
    while (level + 1 < levels_.size() && pairSamples * kLevelFactor <= samplesPerColumn) {
        ++level;
        pairSamples *= kLevelFactor;
    }
    const std::vector<Pair>& pairs = levels_[level];
    const std::int64_t count = std::int64_t(pairs.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const double from = first + double(c) * samplesPerColumn;
        std::int64_t a = std::int64_t(std::floor(from / pairSamples));
        std::int64_t b = std::int64_t(std::ceil((from + samplesPerColumn) / pairSamples));
        a = std::max<std::int64_t>(a, 0);
        b = std::min(b, count);
        if (a >= b) {
            columns[c] = {};
            continue;
        }
        std::int16_t low = std::numeric_limits<std::int16_t>::max();
        std::int16_t high = std::numeric_limits<std::int16_t>::min();
        for (std::int64_t i = a; i < b; ++i) {
            low = std::min(low, pairs[std::size_t(i)].low);
            high = std::max(high, pairs[std::size_t(i)].high);
        }
        columns[c] = {low / kScale, high / kScale};
    }
}

std::size_t PeakPyramid::Bytes() const {
    std::size_t bytes = 0;
    for (const std::vector<Pair>& level : levels_)
        bytes += level.capacity() * sizeof(Pair);
    return bytes;
}

} // namespace syncview
