#pragma once
// quillet-convert run as a user runs it, with its settings in a folder of the test's own.
#include <QString>
#include <QStringList>

namespace clitest {

struct Result {
    int exitCode = -1;
    QString errors;
    QString output; // standard output
};

Result RunConvert(const QString& settingsRoot, const QStringList& arguments);

// What ffprobe says of the file's `entries` (e.g. "stream=codec_name"), one line each.
QString Probe(const QString& file, const QString& entries);

} // namespace clitest
