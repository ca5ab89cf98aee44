// Many conversions through a job runner: the batch script runs three jobs through GNU
// parallel two at a time; the job log, the reports and the written files say what happened.
#include "align/flashing_dual_recording.h"
#include "convert_command.h"
#include "support/drift_fixtures.h"
#include "support/test_environment.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

constexpr double kOffset = 0.3;
constexpr double kDrift = 0.01;

QJsonObject ReadReport(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QJsonDocument::fromJson(file.readAll()).object();
}

// A video with its list, one that does not exist, and one with a separate recording whose
// points are found: exit statuses 0, 1 and 0 in the job log, a report each, both written
// files in sync.
TEST(BatchConvertTest, ThreeJobsThroughParallelLogReportAndConvertInSync) {
    const QString folder = testsupport::TemporaryFolder();
    const testsupport::DriftingClip clip =
        testsupport::MakeDriftingClip(12, 25, {1.0, 4.0, 7.0, 10.0}, kOffset, kDrift);
    const QString points =
        clitest::PointsBeforeFlashes(folder + "/drifting.ini", clip, kOffset, kDrift);
    const aligntest::FlashingDualRecording& dual = aligntest::MakeFlashingDualRecording();
    const QString list = folder + "/jobs.txt";
    QFile jobs(list);
    ASSERT_TRUE(jobs.open(QIODevice::WriteOnly));
    jobs.write((QString::fromStdString(clip.path) + '\t' + points + '\n' + folder +
                "/missing.mkv\t" + points + '\n' + QString::fromStdString(dual.videoPath) +
                '\t' + QString::fromStdString(dual.recorderPath) + '\n')
                   .toUtf8());
    jobs.close();

    QProcess batch;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", testsupport::TemporaryFolder());
    environment.insert("QUILLET_CONVERT", QUILLET_CONVERT);
    batch.setProcessEnvironment(environment);
    const QString out = folder + "/out";
    batch.start(QUILLET_BATCH_SCRIPT,
                {"-j", "2", list, out, "--video-encoder", "none", "--audio-encoder", "none"});
    ASSERT_TRUE(batch.waitForFinished(600000));
    EXPECT_EQ(batch.exitCode(), 1) << batch.readAllStandardError().toStdString();

    // Seq Host Starttime JobRuntime Send Receive Exitval Signal Command, in any order.
    QFile log(out + "/joblog");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    std::map<int, int> exits;
    for (const QByteArray& line : log.readAll().split('\n').mid(1)) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() > 6)
            exits[fields[0].toInt()] = fields[6].trimmed().toInt();
    }
    EXPECT_EQ(exits, (std::map<int, int>{{1, 0}, {2, 1}, {3, 0}}));

    QFile gathered(out + "/reports.json");
    ASSERT_TRUE(gathered.open(QIODevice::ReadOnly));
    const QJsonArray reports = QJsonDocument::fromJson(gathered.readAll()).array();
    ASSERT_EQ(reports.size(), 3);
    const QJsonObject listed = reports[0].toObject();
    EXPECT_EQ(listed, ReadReport(out + "/" +
                                 QFileInfo(QString::fromStdString(clip.path)).completeBaseName() +
                                 ".json"));
    EXPECT_EQ(listed["exitStatus"].toInt(), 0);
    EXPECT_EQ(listed["pointsFrom"].toString(), "list");
    EXPECT_EQ(listed["points"].toArray().size(), 4);
    EXPECT_NEAR(listed["times"]["output"].toDouble(), 12, 0.1);
    EXPECT_EQ(listed["written"]["frameRate"].toString(), "25/1");
    EXPECT_GT(listed["written"]["width"].toInt(), 0);
    EXPECT_EQ(listed["written"]["videoCodec"].toString(), "rawvideo");

    const QJsonObject missing = reports[1].toObject();
    EXPECT_EQ(missing["exitStatus"].toInt(), 1);
    EXPECT_TRUE(missing["message"].toString().contains("does not exist"))
        << missing["message"].toString().toStdString();
    EXPECT_TRUE(missing["written"].isNull());

    const QJsonObject found = reports[2].toObject();
    EXPECT_EQ(found["exitStatus"].toInt(), 0);
    EXPECT_EQ(found["pointsFrom"].toString(), "found");
    EXPECT_GE(found["points"].toArray().size(), 3);
    EXPECT_NEAR(found["drift"]["ppm"].toDouble(), dual.driftPpm, 1.0);
    EXPECT_NEAR(found["drift"]["offset"].toDouble(), dual.offset, 1e-4);

    testsupport::ExpectClicksOnFlashes(listed["output"].toString().toStdString(), clip.flashTimes,
                                       clip.fps, "listed", 1.0 / 44100);
    testsupport::ExpectClicksOnFlashes(found["output"].toString().toStdString(), dual.flashTimes,
                                       dual.fps, "found", 1e-4 + dual.clickRounding + 1.0 / 44100);
}

} // namespace
