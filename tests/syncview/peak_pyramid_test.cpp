// The waveform pyramid against the samples themselves, at zooms from the finest pair to the
// whole sound.
#include "syncview/peak_pyramid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// A sound with a slow swell, a little noise and single-sample spikes, of an awkward length.
std::vector<float> TestSound() {
    std::vector<float> sound(1'000'003);
    unsigned noise = 1;
    for (std::size_t i = 0; i < sound.size(); ++i) {
        noise = noise * 1103515245u + 12345u;
        sound[i] = 0.5f * float(std::sin(i * 1e-4)) +
                   0.05f * (float(noise >> 16 & 0x7fff) / 32768.0f - 0.5f);
    }
    for (std::size_t spike : {777u, 123'456u, 999'999u, 1'000'002u})
        sound[spike] = spike % 2 ? 0.97f : -0.93f;
    return sound;
}

syncview::PeakColumn Extent(const std::vector<float>& sound, double from, double to) {
    const auto a = std::size_t(std::clamp(std::floor(from), 0.0, double(sound.size())));
    const auto b = std::size_t(std::clamp(std::ceil(to), 0.0, double(sound.size())));
    if (a >= b)
        return {};
    const auto [low, high] = std::minmax_element(sound.begin() + a, sound.begin() + b);
    return {*low, *high};
}

TEST(PeakPyramid, EveryColumnHoldsItsSamplesAndLittleMore) {
    const std::vector<float> sound = TestSound();
    syncview::PeakPyramid peaks(48000);
    // Fed in uneven blocks, as a decoder hands them over.
    for (std::size_t at = 0, block = 1; at < sound.size();
         at += block, block = block * 7 % 5003 + 1)
        peaks.Add(sound.data() + at, std::min(block, sound.size() - at));
    peaks.Finish();
    EXPECT_EQ(peaks.Samples(), std::int64_t(sound.size()));
    EXPECT_LT(peaks.Bytes(), sound.size() * sizeof(float) / 40);

    const double quantum = 1.0 / 32767;
    for (const double perColumn : {64.0, 100.0, 1000.0, 37'000.0, 1'000'003.0 / 7}) {
        for (const double first : {-300.0, 0.0, 12'345.5}) {
            std::vector<syncview::PeakColumn> columns(9);
            peaks.Columns(first, perColumn, columns);
            // A column may take in the rest of the pairs it touches, which are no wider.
            const double slack = perColumn;
            for (std::size_t c = 0; c < columns.size(); ++c) {
                const double from = first + c * perColumn;
                const syncview::PeakColumn inner = Extent(sound, from, from + perColumn);
                const syncview::PeakColumn outer =
                    Extent(sound, from - slack, from + perColumn + slack);
                SCOPED_TRACE(testing::Message() << perColumn << " a column from " << from);
                EXPECT_LE(columns[c].low, inner.low + quantum);
                EXPECT_GE(columns[c].high, inner.high - quantum);
                EXPECT_GE(columns[c].low, outer.low - quantum);
                EXPECT_LE(columns[c].high, outer.high + quantum);
            }
        }
    }
    // Past the end there is nothing.
    std::vector<syncview::PeakColumn> beyond(3);
    peaks.Columns(2e6, 1000, beyond);
    for (const syncview::PeakColumn& column : beyond)
        EXPECT_EQ(column.high - column.low, 0.0f);
}

} // namespace
