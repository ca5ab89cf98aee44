#include "align/tool_run.h"

#include <QFile>
#include <QProcess>

#include <cstring>
#include <stdexcept>

namespace aligntest {

QByteArray RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        throw std::runtime_error(program.toStdString() + " failed: " + arguments.join(' ').toStdString() +
                                 "\n" + process.readAllStandardError().toStdString());
    return process.readAllStandardOutput();
}

std::vector<float> FloatsFrom(const QByteArray& bytes) {
    std::vector<float> samples(static_cast<std::size_t>(bytes.size()) / sizeof(float));
    if (!samples.empty())
        std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(float));
    return samples;
}

void WriteFloats(const QString& path, const std::vector<float>& samples) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(samples.data()), qint64(samples.size() * sizeof(float))) !=
            qint64(samples.size() * sizeof(float)))
        throw std::runtime_error("cannot write " + path.toStdString());
}

std::vector<float> DecodeToMono(const QString& path, int rate) {
    return FloatsFrom(RunTool("ffmpeg", {"-v", "error", "-i", path, "-ac", "1", "-ar", QString::number(rate),
                                         "-f", "f32le", "-"}));
}

} // namespace aligntest
