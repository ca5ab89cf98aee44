#include "convert_command.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace clitest {

Result RunConvert(const QString& settingsRoot, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", settingsRoot);
    process.setProcessEnvironment(environment);
    process.start(QUILLET_CONVERT, arguments);
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError()),
            QString::fromUtf8(process.readAllStandardOutput())};
}

QString Probe(const QString& file, const QString& entries) {
    QProcess ffprobe;
    ffprobe.start("ffprobe", {"-v", "error", "-show_entries", entries, "-of", "csv=p=0", file});
    ffprobe.waitForFinished(30000);
    return QString::fromUtf8(ffprobe.readAllStandardOutput()).trimmed();
}

} // namespace clitest
