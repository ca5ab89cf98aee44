#include "media/probe.h"

#include "language/language.h"
#include "platform/graph/filter_graph.h"
#include "platform/graph/sources/multimedia_stream.h"
#include "platform/ui/prompts.h"
#include "resources/resource.h"

#include <QFileInfo>
#include <QString>

#include <algorithm>

namespace media {
namespace {

bool Fail(QWidget* owner, const QString& text) {
    ui::MessageBox(owner, text, "Error");
    return false;
}

} // namespace

QString ProbeVideo(const std::string& path, ProbedVideo& probed) {
    const QString file = QString::fromStdString(path);
    const CLanguage& language = Language();
    if (!QFileInfo::exists(file))
        return language.GetString(IDS_MESSAGE_FILE_NOT_FOUND).arg(file);
    // The file's name on a line of its own, whatever the language's word order.
    const auto named = [&file](const QString& reason) {
        return QStringLiteral("%1\n\n%2").arg(file, reason);
    };
    graph::FilterGraph graph;
    if (FAILED(graph.RenderFile(path)))
        return named(language.GetString(IDS_MESSAGE_NOT_OPEN_FILE));
    graph::IMediaSeeking* seeking = nullptr;
    if (FAILED(graph.QueryInterface(&seeking)))
        return named("Failed to get IID_IMediaSeeking");
    const bool gif = QFileInfo(QString::fromStdString(path)).suffix().toLower() == "gif";
    const HRESULT length = gif ? seeking->GetDuration(&probed.length)
                               : seeking->GetStopPosition(&probed.length);
    if (FAILED(length))
        return named(language.GetString(IDS_MESSAGE_NO_DURATION));
    if (FAILED(seeking->GetDuration(&probed.graphDuration)))
        probed.graphDuration = -1;
    // The file rendered, so what it lacks is a picture.
    graph::IBasicVideo* video = nullptr;
    long width = 0;
    long height = 0;
    if (FAILED(graph.QueryInterface(&video)) || FAILED(video->GetVideoSize(&width, &height)))
        return language.GetString(IDS_MESSAGE_NO_PICTURE).arg(file);
    probed.width = static_cast<int>(width);
    probed.height = static_cast<int>(height);
    double secondsPerFrame = 0;
    // A picture without a steady frame time has no frame rate to take over.
    if (FAILED(video->get_AvgTimePerFrame(&secondsPerFrame)) || !(secondsPerFrame > 0))
        return named("Failed to get_AvgTimePerFrame");
    probed.frameRate = (10'000'000 / secondsPerFrame) / 10'000'000;
    return {};
}

REFERENCE_TIME GraphLength(const std::string& path) {
    graph::FilterGraph graph;
    if (FAILED(graph.RenderFile(path)))
        return -1;
    graph::IMediaSeeking* seeking = nullptr;
    REFERENCE_TIME length = 0;
    if (FAILED(graph.QueryInterface(&seeking)) || FAILED(seeking->GetDuration(&length)))
        return -1;
    return length;
}

bool StreamDurations(QWidget* owner, const std::string& path, REFERENCE_TIME& video,
                     REFERENCE_TIME& audio) {
    graph::MultiMediaStream streams;
    streams.AddMediaStream(graph::StreamPurpose::PrimaryVideo);
    if (FAILED(streams.OpenFile(path)))
        return Fail(owner, QStringLiteral("Could not open %1.").arg(QString::fromStdString(path)));
    if (FAILED(streams.GetDuration(graph::StreamPurpose::PrimaryVideo, &video)))
        return Fail(owner, "Files[cFile].pMMStream->GetDuration(&VideoDuration)");
    // A video without sound has no sound length, which is no fault of the file.
    streams.GetDuration(graph::StreamPurpose::PrimaryAudio, &audio);
    return true;
}

REFERENCE_TIME SoundLength(const std::string& path) {
    graph::MultiMediaStream streams;
    REFERENCE_TIME length = 0;
    if (FAILED(streams.AddMediaStream(graph::StreamPurpose::PrimaryAudio)) ||
        FAILED(streams.OpenFile(path)) ||
        FAILED(streams.GetDuration(graph::StreamPurpose::PrimaryAudio, &length)))
        return 0;
    return std::max<REFERENCE_TIME>(length, 0);
}

} // namespace media
