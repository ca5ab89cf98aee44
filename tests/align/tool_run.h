#pragma once
// Running the command-line tools that make the test material, and moving raw 32-bit float
// sound to and from them.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace aligntest {

// The tool's standard output; throws with its error output when it fails.
QByteArray RunTool(const QString& program, const QStringList& arguments);

// A file or the ffmpeg command's output of raw little-endian 32-bit floats, and writing one.
std::vector<float> FloatsFrom(const QByteArray& bytes);
void WriteFloats(const QString& path, const std::vector<float>& samples);

// Any sound file decoded by the ffmpeg command to one channel at `rate`.
std::vector<float> DecodeToMono(const QString& path, int rate);

} // namespace aligntest
