#include "cli/run_report.h"

#include "platform/graph/av_util.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {
namespace {

double Seconds(REFERENCE_TIME time) {
    return static_cast<double>(time) / UNITS;
}

QJsonValue TextOrNull(const QString& text) {
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

// What the file holds, as a player reads it: the container, the first picture and sound
// streams' codecs, the picture's size and frame rate, the length.
QJsonValue Written(const QString& path) {
    const QFileInfo file(path);
    if (!file.isFile())
        return {};
    QJsonObject written{{"bytes", file.size()}};
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.toUtf8().constData(), nullptr, nullptr) < 0)
        return written;
    const graph::FormatContextPtr format(raw);
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return written;
    written["container"] = format->iformat->name;
    if (format->duration != AV_NOPTS_VALUE)
        written["seconds"] = static_cast<double>(format->duration) / AV_TIME_BASE;
    const int video = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video >= 0) {
        const AVStream* stream = format->streams[video];
        written["videoCodec"] = avcodec_get_name(stream->codecpar->codec_id);
        written["width"] = stream->codecpar->width;
        written["height"] = stream->codecpar->height;
        const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate
                                                               : stream->r_frame_rate;
        if (rate.num > 0 && rate.den > 0) {
            written["frameRate"] = QStringLiteral("%1/%2").arg(rate.num).arg(rate.den);
            written["framesPerSecond"] = av_q2d(rate);
        }
    }
    const int audio = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (audio >= 0) {
        const AVCodecParameters* sound = format->streams[audio]->codecpar;
        written["audioCodec"] = avcodec_get_name(sound->codec_id);
        written["sampleRate"] = sound->sample_rate;
        written["channels"] = sound->ch_layout.nb_channels;
    }
    return written;
}

QJsonObject Json(const RunReport& report) {
    QJsonArray points;
    for (const avsync::SyncPoint& point : report.points)
        points.append(QJsonObject{{"video", Seconds(point.videoTime)}, {"audio", Seconds(point.audioTime)}});
    QJsonValue drift;
    if (report.driftPpm && report.offset)
        drift = QJsonObject{{"ppm", *report.driftPpm}, {"offset", Seconds(*report.offset)}};
    QJsonValue times;
    if (report.times)
        times = QJsonObject{{"videoStart", Seconds(report.times->videoStart)},
                            {"videoEnd", Seconds(report.times->videoEnd)},
                            {"audioStart", Seconds(report.times->audioStart)},
                            {"audioEnd", Seconds(report.times->audioEnd)},
                            {"output", Seconds(report.times->output)}};
    return {{"input", report.input},
            {"output", report.output},
            {"separateSound", TextOrNull(report.separateSound)},
            {"pointsFrom", report.pointsFrom},
            {"points", points},
            {"drift", drift},
            {"times", times},
            {"written", report.wrote ? Written(report.output) : QJsonValue()},
            {"wallSeconds", report.wallSeconds},
            {"exitStatus", report.exitStatus},
            {"message", report.message}};
}

} // namespace

QString WriteReport(const QString& path, const RunReport& report) {
    QFile file(path);
    // One line, so that the reports of a batch join into a list line by line.
    const QByteArray text = QJsonDocument(Json(report)).toJson(QJsonDocument::Compact) + '\n';
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        return QStringLiteral("Can not write the report %1: %2.").arg(path, file.errorString());
    return {};
}

} // namespace cli
