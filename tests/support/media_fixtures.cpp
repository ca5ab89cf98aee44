#include "support/media_fixtures.h"

#include "support/test_environment.h"

#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <stdexcept>

namespace testsupport {

namespace {

const QString kPicture = QString("color=c=black:s=%1x%2:r=%3:d=%4,format=gray,"
                                 "geq=lum='if(mod(floor(N/pow(2,floor(X/20))),2),235,16)',"
                                 "format=yuv420p")
                             .arg(kClipWidth)
                             .arg(kClipHeight)
                             .arg(kClipFps)
                             .arg(kClipSeconds);

QString SoundSource() {
    QString expression = "0.2*sin(2*PI*440*t)";
    for (double click : kClickTimes)
        expression += QString("+0.7*between(t,%1,%2)").arg(click).arg(click + 0.001);
    return QString("aevalsrc='%1':s=%2:d=%3")
        .arg(expression)
        .arg(kClipSampleRate)
        .arg(kClipSeconds);
}

void RunFfmpeg(const QStringList& arguments) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", QStringList{"-hide_banner", "-loglevel", "error", "-y"} + arguments);
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0)
        throw std::runtime_error("ffmpeg failed: " + arguments.join(' ').toStdString() + "\n" +
                                 ffmpeg.readAllStandardError().toStdString());
}

QString Folder() {
    static const QString folder = TemporaryFolder();
    return folder;
}

QString Make(ClipKind kind) {
    const QStringList picture{"-f", "lavfi", "-i", kPicture};
    const QStringList sound{"-f", "lavfi", "-i", SoundSource()};
    const QStringList stereo{"-ac", "2"};
    const QStringList x264{"-c:v", "libx264", "-preset",  "ultrafast",
                           "-g",   "25",      "-pix_fmt", "yuv420p"};
    QStringList arguments;
    QString name;
    switch (kind) {
    case ClipKind::H264Aac:
        name = "h264_aac.mp4";
        arguments = picture + sound + x264 + QStringList{"-c:a", "aac"} + stereo;
        break;
    case ClipKind::Mpeg4Mp3:
        name = "mpeg4_mp3.avi";
        arguments = picture + sound +
                    QStringList{"-c:v", "mpeg4", "-q:v", "3", "-g", "25", "-c:a", "libmp3lame"} +
                    stereo;
        break;
    case ClipKind::Wmv2Wma2:
        name = "wmv2_wma2.asf";
        arguments = picture + sound +
                    QStringList{"-c:v", "wmv2", "-q:v", "3", "-g", "25", "-c:a", "wmav2"} + stereo;
        break;
    case ClipKind::Vp9Opus:
        name = "vp9_opus.webm";
        arguments = picture + sound +
                    QStringList{"-c:v", "libvpx-vp9", "-deadline", "realtime", "-cpu-used",
                                "8",    "-g",         "25",        "-c:a",     "libopus"} +
                    stereo;
        break;
    case ClipKind::H264Pcm:
        name = "h264_pcm.mkv";
        arguments = picture + sound + x264 + QStringList{"-c:a", "pcm_s16le"} + stereo;
        break;
    case ClipKind::PictureOnly:
        name = "picture_only.mp4";
        arguments = picture + x264;
        break;
    case ClipKind::SoundOnly:
        name = "sound_only.m4a";
        arguments = sound + QStringList{"-c:a", "aac"} + stereo;
        break;
    case ClipKind::WithSubtitles: {
        const QString subtitles = Folder() + "/subtitles.srt";
        QFile file(subtitles);
        file.open(QIODevice::WriteOnly);
        file.write("1\n00:00:00,500 --> 00:00:01,500\nHello\n\n"
                   "2\n00:00:02,000 --> 00:00:03,000\nWorld\n\n");
        file.close();
        name = "with_subtitles.mkv";
        arguments =
            picture + sound + QStringList{"-i", subtitles} + x264 +
            QStringList{"-c:a", "aac", "-c:s", "srt", "-map", "0", "-map", "1", "-map", "2"} +
            stereo;
        break;
    }
    }
    const QString path = Folder() + "/" + name;
    RunFfmpeg(arguments + QStringList{path});
    return path;
}

} // namespace

std::string Clip(ClipKind kind) {
    static std::map<ClipKind, QString> made;
    auto found = made.find(kind);
    if (found == made.end())
        found = made.emplace(kind, Make(kind)).first;
    return found->second.toStdString();
}

std::string PlainClip(int width, int height, int fps, double seconds, bool sound) {
    static std::map<QString, QString> made;
    const QString name = QString("plain_%1x%2_%3_%4%5.mp4")
                             .arg(width)
                             .arg(height)
                             .arg(fps)
                             .arg(seconds)
                             .arg(sound ? "" : "_silent");
    auto found = made.find(name);
    if (found == made.end()) {
        QStringList arguments{"-f", "lavfi", "-i",
                              QString("testsrc=s=%1x%2:r=%3:d=%4").arg(width).arg(height).arg(fps).arg(seconds)};
        if (sound)
            arguments += QStringList{"-f", "lavfi", "-i",
                                     QString("sine=f=440:r=%1:d=%2").arg(kClipSampleRate).arg(seconds),
                                     "-c:a", "aac", "-ac", "2"};
        arguments += QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p",
                                 Folder() + "/" + name};
        RunFfmpeg(arguments);
        found = made.emplace(name, Folder() + "/" + name).first;
    }
    return found->second.toStdString();
}

std::string ToneFile(double frequency, double seconds) {
    const QString path = Folder() + QString("/tone_%1_%2.wav").arg(frequency).arg(seconds);
    if (!QFile::exists(path))
        RunFfmpeg({"-f", "lavfi", "-i",
                   QString("sine=f=%1:r=%2:d=%3").arg(frequency).arg(kClipSampleRate).arg(seconds),
                   "-ac", "2", path});
    return path.toStdString();
}

std::string SpeechFile() {
    const QString path = Folder() + "/speech.wav";
    if (!QFile::exists(path)) {
        QProcess espeak;
        espeak.start("espeak-ng", {"-w", path, "-s", "150",
                                   "Every recorded instant still falls on its picture, and the "
                                   "voice keeps the pitch that it had."});
        if (!espeak.waitForFinished(60000) || espeak.exitCode() != 0)
            throw std::runtime_error("espeak-ng failed: " +
                                     espeak.readAllStandardError().toStdString());
    }
    return path.toStdString();
}

std::string MetronomeClip(int seconds) {
    static std::map<int, QString> made;
    auto found = made.find(seconds);
    if (found == made.end()) {
        const QString path = Folder() + QString("/metronome_%1.mkv").arg(seconds);
        RunFfmpeg({"-f", "lavfi", "-i",
                   QString("testsrc=s=%1x%2:r=%3:d=%4")
                       .arg(kClipWidth)
                       .arg(kClipHeight)
                       .arg(kClipFps)
                       .arg(seconds),
                   "-f", "lavfi", "-i",
                   QString("aevalsrc='0.2*sin(2*PI*440*t)+0.7*between(mod(t,1),0.5,0.501)':"
                           "s=%1:d=%2")
                       .arg(kClipSampleRate)
                       .arg(seconds),
                   "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a",
                   "pcm_s16le", "-ac", "2", path});
        found = made.emplace(seconds, path).first;
    }
    return found->second.toStdString();
}

std::string MetronomeSound(int seconds) {
    const QString path = Folder() + QString("/metronome_%1.wav").arg(seconds);
    if (!QFile::exists(path))
        RunFfmpeg({"-i", QString::fromStdString(MetronomeClip(seconds)), "-vn", "-c:a",
                   "pcm_s16le", path});
    return path.toStdString();
}

std::string TruncatedClip() {
    const QString whole = QString::fromStdString(Clip(ClipKind::H264Aac));
    QFile file(whole);
    file.open(QIODevice::ReadOnly);
    const QByteArray half = file.read(file.size() / 2);
    const QString path = Folder() + "/truncated.mp4";
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(half);
    return path.toStdString();
}

std::string DamagedPictureClip() {
    QFile file(QString::fromStdString(Clip(ClipKind::Mpeg4Mp3)));
    file.open(QIODevice::ReadOnly);
    QByteArray avi = file.readAll();
    std::mt19937 noise(7);
    int pictures = 0;
    // The chunks of the 'movi' list: four-character code, little-endian size, data.
    for (qsizetype at = avi.indexOf("movi") + 4; at + 8 <= avi.size();) {
        const QByteArray code = avi.mid(at, 4);
        if (code == "idx1")
            break;
        quint32 size = 0;
        std::memcpy(&size, avi.constData() + at + 4, 4);
        if (code.endsWith("dc") && ++pictures > 10) {
            for (qsizetype i = at + 8; i < at + 8 + size && i < avi.size(); ++i)
                avi[i] = static_cast<char>(noise());
        }
        at += 8 + size + (size & 1);
    }
    const QString path = Folder() + "/damaged.avi";
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(avi);
    return path.toStdString();
}

std::string NonMediaFile() {
    const QString path = Folder() + "/notes.avi";
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    for (int i = 0; i < 200; ++i)
        out.write("These are plain notes, not a video.\n");
    return path.toStdString();
}

std::string JoinedRecording() {
    const QString path = Folder() + "/joined.ts";
    QByteArray joined;
    for (int part = 0; part < 2; ++part) {
        const QString piece = Folder() + QString("/recording_%1.ts").arg(part);
        const int seconds = kClipSeconds / 2;
        RunFfmpeg({"-f", "lavfi", "-i",
                   QString("testsrc=s=%1x%2:r=%3:d=%4")
                       .arg(kClipWidth)
                       .arg(kClipHeight)
                       .arg(kClipFps)
                       .arg(seconds),
                   "-f", "lavfi", "-i",
                   QString("sine=f=440:r=%1:d=%2").arg(kClipSampleRate).arg(seconds), "-c:v",
                   "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac", "-ac",
                   part == 0 ? "2" : "1", "-output_ts_offset", QString::number(part * seconds),
                   piece});
        QFile file(piece);
        file.open(QIODevice::ReadOnly);
        joined += file.readAll();
    }
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(joined);
    return path.toStdString();
}

namespace {

QString Probe(const std::string& path, const QStringList& arguments) {
    QProcess ffprobe;
    ffprobe.start("ffprobe", QStringList{"-v", "error"} + arguments +
                                 QStringList{QString::fromStdString(path)});
    ffprobe.waitForFinished(60000);
    return QString::fromUtf8(ffprobe.readAllStandardOutput());
}

double FileStart(const std::string& path) {
    return Probe(path, {"-show_entries", "format=start_time", "-of", "csv=p=0"})
        .trimmed()
        .toDouble();
}

} // namespace

double FirstSoundTime(const std::string& path) {
    const QString first =
        Probe(path, {"-select_streams", "a:0", "-read_intervals", "%+#1", "-show_entries",
                     "frame=best_effort_timestamp_time", "-of", "csv=p=0"});
    return first.split('\n', Qt::SkipEmptyParts).value(0).toDouble() - FileStart(path);
}

StreamTiming ProbeStream(const std::string& path, char type) {
    auto probe = [&](const QStringList& arguments) { return Probe(path, arguments); };
    const double fileStart = FileStart(path);
    const QStringList packets = probe({"-select_streams", QString(type) + ":0", "-show_entries",
                                       "packet=pts_time,dts_time,duration_time", "-of", "csv=p=0"})
                                    .split('\n', Qt::SkipEmptyParts);
    double first = 1e9, end = 0;
    std::vector<double> times;
    for (const QString& line : packets) {
        const QStringList fields = line.split(',');
        // AVI stores no showing times: its packets, in showing order, have their decoding times.
        const QString time = fields.size() < 3 || fields[0] != "N/A" ? fields[0] : fields[1];
        if (fields.size() < 3 || time == "N/A")
            continue;
        const double pts = time.toDouble();
        first = std::min(first, pts);
        end = std::max(end, pts + fields[2].toDouble());
        times.push_back(pts - fileStart);
    }
    std::sort(times.begin(), times.end());
    // Packets before the file's start carry encoder priming that is never played.
    first = std::max(first, fileStart);
    return {first - fileStart, end - first, times};
}

int FrameNumberOf(const QImage& image) {
    if (image.width() < kClipWidth || image.height() < kClipHeight)
        return -1;
    int number = 0;
    for (int bit = 0; bit < 8; ++bit) {
        const int level = qGray(image.pixel(bit * 20 + 10, kClipHeight / 2));
        if (level > 90 && level < 160)
            return -1;
        if (level >= 160)
            number |= 1 << bit;
    }
    return number;
}

std::vector<std::int16_t> DecodeSound(const std::string& path) {
    const QString raw = Folder() + "/reference.raw";
    RunFfmpeg({"-i", QString::fromStdString(path), "-map", "0:a:0", "-f", "s16le", "-ac", "2",
               "-ar", QString::number(kClipSampleRate), raw});
    QFile file(raw);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
    return samples;
}

long FindClick(const std::vector<std::int16_t>& stereo, long from, int threshold) {
    for (long frame = from; frame * 2 + 1 < static_cast<long>(stereo.size()); ++frame) {
        if (std::abs(stereo[frame * 2]) >= threshold ||
            std::abs(stereo[frame * 2 + 1]) >= threshold)
            return frame;
    }
    return -1;
}

} // namespace testsupport
