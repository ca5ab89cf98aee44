#include "convert_command.h"

#include "sync/sync_list_file.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <cmath>

namespace clitest {

Result RunConvert(const QString& settingsRoot, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", settingsRoot);
    process.setProcessEnvironment(environment);
    process.start(QUILLET_CONVERT, arguments);
    // A long clip on a busy machine: the wait only bounds a hung run.
    EXPECT_TRUE(process.waitForFinished(600000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError()),
            QString::fromUtf8(process.readAllStandardOutput())};
}

QString PointsBeforeFlashes(const QString& path, const testsupport::DriftingClip& clip,
                            double offset, double drift) {
    std::vector<avsync::SyncPoint> points;
    for (double flash : clip.flashTimes) {
        const double video = flash - 0.5;
        points.push_back({std::llround(video * UNITS),
                          std::llround((offset + video * (1 + drift)) * UNITS)});
    }
    EXPECT_TRUE(avsync::SaveSyncList(path.toStdString(), "", points));
    return path;
}

QString Probe(const QString& file, const QString& entries) {
    QProcess ffprobe;
    ffprobe.start("ffprobe", {"-v", "error", "-show_entries", entries, "-of", "csv=p=0", file});
    ffprobe.waitForFinished(30000);
    return QString::fromUtf8(ffprobe.readAllStandardOutput()).trimmed();
}

} // namespace clitest
