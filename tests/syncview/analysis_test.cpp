// What the sync view shows, against clips whose flashes and clicks are known exactly: the
// frames' times (also of a clip whose frames last unequally), the sound's onsets from the
// view's one decoding pass, and the close-up reader's samples and pictures.
#include "support/drift_fixtures.h"
#include "syncview/detail_reader.h"
#include "syncview/picture_analysis.h"
#include "syncview/sound_analysis.h"

#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {

double Seconds(REFERENCE_TIME t) {
    return double(t) / UNITS;
}

TEST(SyncViewAnalysis, FrameTimesAreTheStoredOnes) {
    const struct {
        const char* name;
        testsupport::DriftingClip clip;
        std::size_t frames;
    } cases[] = {
        {"steady", testsupport::MakeDriftingClip(4, 25, {1.0, 2.48}, 0.1, 0), 100},
        {"uneven", testsupport::MakeVariableRateClip(4, {10, 41}, 0.1, 0), 109},
    };
    for (const auto& c : cases) {
        syncview::FrameTimes times;
        ASSERT_EQ(syncview::ReadFrameTimes(c.clip.path, nullptr, &times), S_OK) << c.name;
        EXPECT_NEAR(double(times.starts.size()), double(c.frames), 1) << c.name;
        EXPECT_TRUE(std::is_sorted(times.starts.begin(), times.starts.end())) << c.name;
        for (double flash : c.clip.flashTimes) {
            const std::size_t i = times.FrameAt(std::llround(flash * UNITS) + 1);
            EXPECT_NEAR(Seconds(times.starts[i]), flash, 1e-6) << c.name;
            EXPECT_GT(times.EndOf(i), times.starts[i]) << c.name;
        }
    }
}

TEST(SyncViewAnalysis, OnsetsAndCloseUpShowEachClickOnItsSample) {
    const testsupport::DriftingClip clip =
        testsupport::MakeDriftingClip(6, 25, {1.0, 3.0, 5.0}, 0.25, 300e-6);
    const syncview::SoundPicture picture = syncview::AnalyseSound(clip.path, nullptr);
    ASSERT_EQ(picture.status, S_OK);
    EXPECT_NEAR(double(picture.peaks.Samples()), 6.0 * 48000, 48000 * 0.05);
    ASSERT_EQ(picture.onsets.size(), clip.clickTimes.size());
    for (std::size_t i = 0; i < clip.clickTimes.size(); ++i)
        EXPECT_NEAR(Seconds(picture.onsets[i]), clip.clickTimes[i], 0.05e-3) << "click " << i;

    // The close-up of the first click: quiet up to its sample, loud from it on.
    std::atomic<int> ready{0};
    syncview::DetailReader reader(clip.path, clip.path, 48, [&] { ++ready; });
    const std::int64_t click = std::llround(clip.clickTimes[0] * 48000);
    reader.WantSamples(click - 100, 200);
    const std::int64_t flash = std::llround(clip.flashTimes[1] * UNITS);
    reader.WantFrames({flash, flash - UNITS / 25});
    ASSERT_TRUE(QTest::qWaitFor([&] { return ready.load() >= 3; }, 20000));
    const syncview::SampleSpan span = reader.Samples();
    ASSERT_EQ(span.first, click - 100);
    ASSERT_EQ(span.samples.size(), 200u);
    EXPECT_EQ(span.rate, 48000);
    EXPECT_LT(std::abs(span.samples[98]), 0.2f);
    EXPECT_GT(span.samples[101], 0.5f);

    // The flash's frame is white, the one before it black.
    const QImage white = reader.Thumbnail(flash);
    const QImage black = reader.Thumbnail(flash - UNITS / 25);
    ASSERT_FALSE(white.isNull());
    ASSERT_FALSE(black.isNull());
    EXPECT_EQ(white.height(), 48);
    EXPECT_GT(qGray(white.pixel(white.width() / 2, 24)), 200);
    EXPECT_LT(qGray(black.pixel(black.width() / 2, 24)), 50);
}

} // namespace
