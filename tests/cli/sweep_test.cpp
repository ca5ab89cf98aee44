// Conversions swept across what users bring: offsets either way, drifts, a bend or a
// recorder's pause, points from a list, from --calculate or found, times between frames,
// every common frame rate and a variable one, both sample rates, mono and stereo, four
// containers, the picture copied or coded, the pitch kept or not. Each written file is
// checked against the clip's truth: every click on its flash, every flash of the span shown
// once, the output as long as the span.
//
// Twelve fixed seeds run here; QUILLET_SWEEP_COUNT=N (with QUILLET_SWEEP_FIRST_SEED) draws
// N scenarios from consecutive seeds instead (scripts/sweep.sh), and QUILLET_SWEEP_KEEP=DIR
// keeps the clip, the points and the output of each failed scenario in DIR/seed_N.
#include "convert_command.h"
#include "scenario.h"
#include "support/media_fixtures.h"
#include "support/test_environment.h"
#include "sync/sync_list_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iostream>

namespace {

using clitest::Scenario;

constexpr double kComposedSampleRate = 44100;

std::vector<std::uint32_t> Seeds() {
    if (const char* count = std::getenv("QUILLET_SWEEP_COUNT")) {
        const char* first = std::getenv("QUILLET_SWEEP_FIRST_SEED");
        const auto from = static_cast<std::uint32_t>(first ? std::strtoul(first, nullptr, 10) : 1000);
        std::vector<std::uint32_t> seeds(std::strtoul(count, nullptr, 10));
        for (std::size_t i = 0; i < seeds.size(); ++i)
            seeds[i] = from + static_cast<std::uint32_t>(i);
        return seeds;
    }
    // Together: every container and way of giving points, early and late sound, a bend, a
    // pause, a variable rate, the copy and the kept pitch.
    return {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
}

// Within one sample of the composed sound (and a quarter more, for where the click finder
// places an edge between two samples); whole milliseconds where the container keeps only
// those; half an output frame for a variable rate written at a steady one; found points add
// their own tenth of a millisecond; a millisecond where the pitch is kept.
double Tolerance(const Scenario& s) {
    double tolerance = 1.25 / kComposedSampleRate;
    if (s.container == "mkv" || s.container == "wmv")
        tolerance += 0.0005;
    if (s.keepPitch)
        tolerance = std::max(tolerance, 0.001);
    if (s.fps == 0 && s.container == "avi")
        tolerance = 0.5 / (150 / 5.5);
    if (s.points == Scenario::Points::Found)
        tolerance += 1e-4;
    return tolerance;
}

// The span composed, as quillet-convert says it: video from and to, in seconds.
bool ComposedSpan(const QString& said, double* from, double* to) {
    const QRegularExpressionMatch match =
        QRegularExpression("points; video ([0-9.]+) to ([0-9.]+) s").match(said);
    *from = match.captured(1).toDouble();
    *to = match.captured(2).toDouble();
    return match.hasMatch();
}

std::string Listed(const std::vector<double>& times) {
    std::string text;
    for (double t : times)
        text += std::to_string(t) + " ";
    return text;
}

class SweepTest : public ::testing::TestWithParam<std::uint32_t> {
  protected:
    void TearDown() override {
        const char* keep = std::getenv("QUILLET_SWEEP_KEEP");
        if (!keep || !HasFailure())
            return;
        const QString folder = QString("%1/seed_%2").arg(keep).arg(GetParam());
        QDir().mkpath(folder);
        for (const QString& file : made)
            QFile::copy(file, folder + "/" + QFileInfo(file).fileName());
    }
    QStringList made;
};

TEST_P(SweepTest, EveryClickFallsOnItsFlash) {
    Scenario s = clitest::DrawScenario(GetParam());
    SCOPED_TRACE(s.Describe());
    const testsupport::DriftingClip clip = testsupport::MakeClip(s.recipe);
    // The writer may shift both streams (Matroska, for the sound's priming): the first frame,
    // made at 0, tells by how much.
    s.fileStart = -testsupport::ProbeStream(clip.path, 'v').times.front();
    const QString folder = testsupport::TemporaryFolder();
    const QString list = folder + "/points.ini";
    ASSERT_TRUE(avsync::SaveSyncList(list.toStdString(), "", s.ListedPoints()));
    const QString output = folder + "/out." + QString::fromStdString(s.container);
    made = {QString::fromStdString(clip.path), list, output};
    const clitest::Result result =
        clitest::RunConvert(testsupport::TemporaryFolder(),
                            QStringList{QString::fromStdString(clip.path)} + s.Arguments(list) +
                                QStringList{"-o", output});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    double from = 0, to = 0;
    ASSERT_TRUE(ComposedSpan(result.errors, &from, &to)) << result.errors.toStdString();

    std::vector<double> expected; // where each flash of the span belongs in the output
    std::vector<double> clickRounding; // how far the clip's click lies from the map's instant
    for (std::size_t i = 0; i < clip.flashTimes.size(); ++i) {
        const double flash = clip.flashTimes[i] - s.fileStart;
        if (flash >= from - 1e-6 && flash < to) {
            expected.push_back(flash - from);
            clickRounding.push_back(clip.clickTimes[i] - s.AudioOf(clip.flashTimes[i]));
        }
    }
    const std::vector<double> flashes = testsupport::FlashTimes(output.toStdString());
    const std::vector<double> clicks =
        testsupport::ClickOnsets(output.toStdString(), s.sampleRate, s.keepPitch);
    const testsupport::StreamTiming written = testsupport::ProbeStream(output.toStdString(), 'v');
    // The output's own frame: a variable rate written at one rate takes its closest frames'.
    const double frame = written.times.size() > 1
                             ? (written.times.back() - written.times.front()) / (written.times.size() - 1)
                             : 1 / (s.fps > 0 ? s.fps : 25.0);
    const bool ownRate = s.fps <= 0 && (s.container == "avi" || s.container == "wmv");
    // Shown once: as many flashes as the span holds, each on its own frame.
    ASSERT_EQ(flashes.size(), expected.size())
        << "shown " << Listed(flashes) << "\nexpected " << Listed(expected) << "\n"
        << result.errors.toStdString();
    double worstFlash = 0, worstClick = 0;
    for (std::size_t i = 0; i < flashes.size(); ++i) {
        // Against the first: a container may start its time stamps late (ASF's preroll).
        // Written at a rate of its own, each flash may lie half an output frame either way.
        const double off = std::abs(flashes[i] - flashes[0] - (expected[i] - expected[0]));
        worstFlash = std::max(worstFlash, off);
        EXPECT_LE(off, (ownRate ? frame : frame / 2) + 1e-3) << "flash " << i;
    }
    ASSERT_EQ(clicks.size(), flashes.size())
        << "clicks " << Listed(clicks) << "\nflashes " << Listed(flashes) << "\n"
        << result.errors.toStdString();
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        const double click = clicks[i] - clickRounding[i];
        worstClick = std::max(worstClick, std::abs(click - flashes[i]));
        EXPECT_NEAR(click, flashes[i], Tolerance(s)) << "click " << i;
    }
    // A copy keeps up to two frames past the end that B-frames before it refer to.
    const double length = written.length;
    EXPECT_NEAR(length, to - from, (s.copyPicture ? 3 : 1) * frame + 1e-3);
    std::cout << "sweep " << s.Describe() << " | click " << worstClick * 1000 << " ms (allowed "
              << Tolerance(s) * 1000 << "), flashes " << flashes.size() << "/" << expected.size()
              << " placed within " << worstFlash * 1000 << " ms, length off by "
              << std::abs(length - (to - from)) * 1000 << " ms\n";
}

INSTANTIATE_TEST_SUITE_P(Seeds, SweepTest, ::testing::ValuesIn(Seeds()));

} // namespace
