#include "writer_helpers.h"

#include "support/test_environment.h"

#include "platform/graph/event_queue.h"
#include "platform/graph/sources/decoder.h"
#include "platform/graph/sources/demultiplexer.h"
#include "platform/graph/sources/file_source.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace writertest {

using namespace graph;

namespace {

QString Run(const QString& program, const QStringList& arguments, QString* errors = nullptr) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput());
}

double RateOf(const QString& fraction) {
    const QStringList parts = fraction.split('/');
    if (parts.size() != 2 || parts[1].toDouble() == 0)
        return 0;
    return parts[0].toDouble() / parts[1].toDouble();
}

} // namespace

const ProbedStream* ProbedFile::Stream(const std::string& type) const {
    for (const ProbedStream& stream : streams) {
        if (stream.type == type)
            return &stream;
    }
    return nullptr;
}

ProbedFile Probe(const std::string& path) {
    const QString json =
        Run("ffprobe", {"-v", "error", "-count_packets", "-show_streams", "-show_format", "-of",
                        "json", QString::fromStdString(path)});
    const QJsonObject root = QJsonDocument::fromJson(json.toUtf8()).object();
    ProbedFile file;
    if (!root.contains("format"))
        return file;
    file.opened = true;
    const QJsonObject format = root["format"].toObject();
    file.format = format["format_name"].toString().toStdString();
    file.start = format["start_time"].toString().toDouble();
    file.duration = format["duration"].toString().toDouble();
    for (const QJsonValue value : root["streams"].toArray()) {
        const QJsonObject s = value.toObject();
        ProbedStream stream;
        stream.type = s["codec_type"].toString().toStdString();
        stream.codec = s["codec_name"].toString().toStdString();
        stream.pixelFormat = s["pix_fmt"].toString().toStdString();
        stream.width = s["width"].toInt();
        stream.height = s["height"].toInt();
        stream.sampleRate = s["sample_rate"].toString().toInt();
        stream.channels = s["channels"].toInt();
        stream.frameRate = RateOf(s["avg_frame_rate"].toString());
        stream.start = s["start_time"].toString().toDouble();
        stream.duration = s["duration"].toString().toDouble();
        stream.packets = s["nb_read_packets"].toString().toLong();
        file.streams.push_back(stream);
    }
    return file;
}

std::string DecodeErrors(const std::string& path) {
    QString errors;
    Run("ffmpeg", {"-v", "error", "-i", QString::fromStdString(path), "-f", "null", "-"}, &errors);
    return errors.toStdString();
}

double FirstSoundFrame(const std::string& path) {
    const QString frames =
        Run("ffprobe", {"-v", "error", "-select_streams", "a:0", "-show_entries", "frame=pts_time",
                        "-of", "csv=p=0", QString::fromStdString(path)});
    return frames.split('\n', Qt::SkipEmptyParts).value(0).toDouble();
}

std::vector<double> KeyFrames(const std::string& path) {
    const QString packets =
        Run("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_entries",
                        "packet=pts_time,flags", "-of", "csv=p=0", QString::fromStdString(path)});
    std::vector<double> times;
    for (const QString& line : packets.split('\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(',');
        if (fields.size() >= 2 && fields[1].startsWith('K'))
            times.push_back(fields[0].toDouble());
    }
    return times;
}

std::vector<std::uint8_t> FirstPicture(const std::string& path) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-i", QString::fromStdString(path), "-frames:v", "1",
                            "-f", "rawvideo", "-pix_fmt", "gray", "-"});
    ffmpeg.waitForFinished(60000);
    const QByteArray bytes = ffmpeg.readAllStandardOutput();
    return {bytes.begin(), bytes.end()};
}

long long FileSize(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    return info.exists() ? info.size() : -1;
}

Ending WaitForEnd(FilterGraph& graph, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        long code = 0;
        std::intptr_t p1 = 0, p2 = 0;
        while (SUCCEEDED(graph.GetEvent(&code, &p1, &p2, 10))) {
            graph.FreeEventParams(code, p1, p2);
            if (code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT)
                return {code, p1};
        }
    }
    return {};
}

std::string OutputPath(const std::string& name) {
    return (testsupport::TemporaryFolder() + "/").toStdString() + name;
}

std::vector<Pin*> DecodeFile(FilterGraph& graph, const std::string& path) {
    std::unique_ptr<FileSource> source;
    if (FAILED(FileSource::Create(path, &source)))
        return {};
    Pin* sourceOut = source->FindPin(PinDirection::Output, 0);
    auto demultiplexer = std::make_shared<Demultiplexer>();
    graph.AddFilter(std::move(source));
    graph.AddFilter(demultiplexer);
    if (FAILED(graph.ConnectDirect(sourceOut, demultiplexer->FindPin(PinDirection::Input, 0))))
        return {};
    std::vector<Pin*> decoded;
    for (MajorType major : {MajorType::Video, MajorType::Audio}) {
        for (Pin* pin : demultiplexer->Pins()) {
            if (pin->Direction() != PinDirection::Output || pin->OfferedType().Major() != major)
                continue;
            auto decoder = std::make_shared<Decoder>(major);
            graph.AddFilter(decoder);
            if (SUCCEEDED(graph.ConnectDirect(pin, decoder->FindPin(PinDirection::Input, 0))))
                decoded.push_back(decoder->FindPin(PinDirection::Output, 0));
        }
    }
    return decoded;
}

std::shared_ptr<BaseFilter> Compressor(const std::string& ffmpegName) {
    for (DeviceCategory category :
         {DeviceCategory::VideoCompressor, DeviceCategory::AudioCompressor}) {
        const std::vector<DeviceEntry>& entries = EnumerateDevices(category);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].libraryName != ffmpegName)
                continue;
            std::shared_ptr<BaseFilter> filter;
            CreateDeviceFilter(category, static_cast<int>(i), &filter);
            return filter;
        }
    }
    return nullptr;
}

} // namespace writertest
