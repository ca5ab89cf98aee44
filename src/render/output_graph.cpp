#include "render/output_graph.h"

#include "language/language.h"
#include "options/output_extension.h"
#include "options/picture_copy_check.h"
#include "platform/core/guid.h"
#include "platform/core/window_message.h"
#include "platform/graph/sources/demultiplexer.h"
#include "platform/graph/sources/file_source.h"
#include "platform/graph/writing/capture_graph_builder.h"
#include "platform/graph/writing/device_enumerator.h"
#include "platform/graph/writing/multiplexer.h"
#include "platform/graph/writing/packet_cut.h"
#include "platform/ui/prompts.h"
#include "platform/ui/show_error.h"
#include "render/asf_writer_profile.h"
#include "render/generate_profile.h"
#include "render/map_profile.h"
#include "resources/resource.h"

#include <QFile>
#include <QObject>

#include <optional>

namespace render {

namespace {

constexpr std::uint32_t kWmaFormatTag = 0x161;
constexpr std::uint32_t kWmvVersion9 = 0x00090000;
constexpr std::uint32_t kKeyFrameSeconds = 8;
// The profile text the writer is given when a profile file is asked for.
constexpr const char* kFileProfileText = "test2";

void Say(const QString& text) {
    ui::MessageBox(nullptr, text);
}

// The output file and why it could not be written: the encoder's or writer's own words, else
// the status's text.
QString NotWritten(graph::FilterGraph& graph, const std::string& file, HRESULT hr) {
    QString reason = QString::fromStdString(graph.TakeFailureReason());
    if (reason.isEmpty())
        reason = ErrorText(hr);
    return Language()
        .GetString(IDS_MESSAGE_OUTPUT_NOT_WRITTEN)
        .arg(QString::fromStdString(file), reason);
}

// The profile of WMV output, generated from the settings before the writer is added (also
// when a profile file is asked for, so its failures come first). A frame rate below 1 gives
// no frame duration to generate it with, and is refused saying so.
HRESULT GenerateWmvProfile(const OutputSettings& output,
                           std::unique_ptr<wmformat::Profile>& profile) {
    const std::optional<std::int32_t> frameRate = ProfileFrameRate(output.outputFrameRate);
    if (!frameRate) {
        Say(Language().GetString(IDS_MESSAGE_WMV_RATE_TOO_SMALL).arg(output.outputFrameRate));
        return E_INVALIDARG;
    }
    const AudioStreamDesc audio{static_cast<std::uint32_t>(output.audioBitrate), kWmaFormatTag,
                                44100, 2};
    const VideoStreamDesc video{wmformat::MakeFourCc("WMV3"),
                                static_cast<std::uint32_t>(output.videoBitrate),
                                output.outputHeight,
                                output.outputWidth,
                                *frameRate,
                                0,
                                kKeyFrameSeconds};
    const HRESULT hr = GenerateProfile(&audio, &video, kWmvVersion9, &profile);
    if (FAILED(hr))
        ui::ShowError("Failed to GenerateProfile Audio video with script!  hr=0x%x\n",
                      static_cast<unsigned>(hr));
    return hr;
}

// The ASF writer of WMV output, configured from the generated profile (or from the fixed
// profile text when a profile file is asked for).
HRESULT ConfigureAsfWriter(graph::BaseFilter* mux, OutputSettings& output,
                           std::unique_ptr<wmformat::Profile> profile) {
    auto* writer = dynamic_cast<graph::AsfWriter*>(mux);
    if (!writer) {
        ui::ShowError("Failed to QI for IConfigAsfWriter!  hr=0x%x\n",
                      static_cast<unsigned>(E_NOINTERFACE));
        return E_NOINTERFACE;
    }
    HRESULT hr = S_OK;
    const char* failure = "Failed to configure filter to use profile!  hr=0x%x\n";
    if (output.useFileProfile == 1) {
        hr = MapProfile(kFileProfileText, profile);
        if (FAILED(hr)) {
            ui::ShowError("Failed to map profile ID!  hr=0x%x\n", static_cast<unsigned>(hr));
            return hr;
        }
        failure = "Failed to configure filter to use file profile!  hr=0x%x\n";
    }
    graph::AsfWriterConfig config;
    hr = AsfWriterConfigOf(*profile, &config);
    if (SUCCEEDED(hr))
        hr = writer->ConfigureFilterUsingProfile(config);
    if (FAILED(hr)) {
        ui::ShowError(failure, static_cast<unsigned>(hr));
        return hr;
    }
    // The writer encodes by itself: no compressor filter goes before it.
    output.useVideoCompressor = 0;
    output.useAudioCompressor = 0;
    return S_OK;
}

// One group's pin into the writer, through its compressor when one is used.
HRESULT RenderGroup(editing::RenderEngine& engine, graph::FilterGraph& graph,
                    graph::CaptureGraphBuilder2& builder, graph::BaseFilter* mux,
                    const std::string& file, long group, bool useCompressor,
                    const std::shared_ptr<graph::BaseFilter>& compressor,
                    const char* compressorName) {
    graph::Pin* pin = nullptr;
    if (FAILED(engine.GetGroupOutputPin(group, &pin))) {
        Say("Could not GetGroupOutputPin( g, &pPin )");
        return E_FAIL;
    }
    graph::BaseFilter* through = nullptr;
    if (useCompressor) {
        const HRESULT hr = compressor ? graph.AddFilter(compressor, compressorName) : E_POINTER;
        if (FAILED(hr)) {
            Say(ErrorText(hr));
            return hr;
        }
        through = compressor.get();
    }
    graph.TakeFailureReason(); // one from before belongs to another attempt
    const HRESULT hr = builder.RenderStream(pin, through, mux);
    if (FAILED(hr))
        Say("failed pBuilder->RenderStream( NULL, NULL, pPin, NULL, pMux )\n" +
            NotWritten(graph, file, hr));
    return hr;
}

// The picture's own packets from the span into the writer: the video's file, split, cut.
HRESULT CopyPicture(graph::FilterGraph& graph, graph::CaptureGraphBuilder2& builder,
                    graph::BaseFilter* mux, const OutputParts::PictureCopy& copy) {
    std::unique_ptr<graph::FileSource> source;
    HRESULT hr = graph::FileSource::Create(copy.path, &source);
    if (FAILED(hr)) {
        Say("Can not read the picture of " + QString::fromStdString(copy.path) + "\n" +
            ErrorText(hr));
        return hr;
    }
    graph::Pin* bytes = source->FindPin(graph::PinDirection::Output, 0);
    auto splitter = std::make_shared<graph::Demultiplexer>();
    auto* writer = dynamic_cast<graph::Multiplexer*>(mux);
    auto cut =
        std::make_shared<graph::PacketCut>(copy.from, copy.to, writer ? writer->Format() : nullptr,
                                           options::UnevenFrameTimeBase(copy.path));
    graph.AddFilter(std::move(source), "Picture Source");
    graph.AddFilter(splitter, "Picture Splitter");
    graph.AddFilter(cut);
    hr = graph.ConnectDirect(bytes, splitter->FindPin(graph::PinDirection::Input, 0));
    graph::Pin* picture = nullptr;
    for (graph::Pin* pin : splitter->Pins()) {
        if (!picture && pin->Direction() == graph::PinDirection::Output &&
            pin->OfferedType().Major() == graph::MajorType::Video)
            picture = pin;
    }
    if (SUCCEEDED(hr))
        hr = picture ? graph.ConnectDirect(picture, cut->FindPin(graph::PinDirection::Input, 0))
                     : VFW_E_UNSUPPORTED_STREAM;
    if (SUCCEEDED(hr))
        hr = splitter->SeekTo(copy.from);
    if (SUCCEEDED(hr))
        hr = builder.RenderStream(cut->FindPin(graph::PinDirection::Output, 0), nullptr, mux);
    if (FAILED(hr))
        Say("Can not copy the picture of " + QString::fromStdString(copy.path) + "\n" +
            ErrorText(hr));
    return hr;
}

// The writer for the output format, added to the graph with the file name.
HRESULT AddWriter(graph::CaptureGraphBuilder2& builder, const std::string& file,
                  OutputSettings& output, const QString& muxerClassId, graph::BaseFilter** mux,
                  graph::IFileSinkFilter2** sink) {
    switch (output.outputFormat) {
    case options::FormatWmv:
        if (FAILED(builder.SetOutputFileName(graph::CLSID_WMAsfWriter, file, mux, sink))) {
            Say("Error pBuilder->SetOutputFileName(&guid, Filename, &pMux, &pWriter )");
            return E_FAIL;
        }
        return S_OK;
    case options::FormatCustomMuxer: {
        // A text that is no class identifier stands for none, which no writer has.
        const GUID classId = core::GuidFromString(muxerClassId.toStdString()).value_or(GUID{});
        if (FAILED(builder.SetOutputFileName(classId, file, mux, sink))) {
            Say("Please find the muxer, please install it.)");
            return E_FAIL;
        }
        return S_OK;
    }
    default:
        if (FAILED(builder.SetOutputFileName(graph::MEDIASUBTYPE_Avi, file, mux, sink))) {
            Say("Error pBuilder->SetOutputFileName(&guid, Filename, &pMux, &pWriter )");
            return E_FAIL;
        }
        return S_OK;
    }
}

} // namespace

bool KeepsEachFrameTime(const OutputSettings& output, const OutputParts& parts) {
    if (output.outputFormat != options::FormatCustomMuxer)
        return false;
    const graph::DeviceEntry* muxer = graph::FindDeviceByClassId(parts.muxerClassId.toStdString());
    if (!muxer || muxer->kind != graph::FilterKind::Multiplexer)
        return false;
    for (const char* keeps : {"matroska", "webm", "mp4", "mov"}) {
        if (muxer->libraryName == keeps)
            return true;
    }
    return false;
}

namespace {

HRESULT BuildOutputGraph(editing::RenderEngine& engine, const std::string& file,
                         OutputSettings& output, const OutputParts& parts, Conversion& conversion) {
    graph::CaptureGraphBuilder2 builder;
    editing::Timeline* timeline = nullptr;
    graph::FilterGraph* graph = nullptr;
    if (FAILED(engine.GetTimelineObject(&timeline)) || FAILED(engine.GetFilterGraph(&graph)))
        return E_FAIL;
    const int groups = timeline->GetGroupCount();
    if (groups == 0) {
        Say("Could not GetGroupCount( &Groups )");
        return E_INVALIDARG;
    }
    if (FAILED(builder.SetFiltergraph(graph))) {
        Say("Error pBuilder->SetFiltergraph( pGraph )");
        return E_FAIL;
    }
    std::unique_ptr<wmformat::Profile> profile;
    if (output.outputFormat == options::FormatWmv) {
        const HRESULT generated = GenerateWmvProfile(output, profile);
        if (FAILED(generated))
            return generated;
    }
    graph::BaseFilter* mux = nullptr;
    graph::IFileSinkFilter2* sink = nullptr;
    HRESULT hr = AddWriter(builder, file, output, parts.muxerClassId, &mux, &sink);
    if (FAILED(hr))
        return hr;
    if (auto* interleaving = graph::QueryFilterInterface<graph::IConfigInterleaving>(mux))
        interleaving->put_Mode(graph::INTERLEAVE_FULL);
    if (sink)
        sink->SetMode(graph::AM_FILE_OVERWRITE);
    conversion.pSink = sink;
    if (output.outputFormat == options::FormatWmv) {
        hr = ConfigureAsfWriter(mux, output, std::move(profile));
        if (FAILED(hr))
            return hr;
    }
    // Group 0 is the picture, every later group sound.
    for (int group = 0; group < groups; ++group) {
        const bool picture = group == 0;
        if (picture && parts.pictureCopy) {
            hr = CopyPicture(*graph, builder, mux, *parts.pictureCopy);
            if (FAILED(hr))
                return hr;
            continue;
        }
        hr = RenderGroup(engine, *graph, builder, mux, file, group,
                         (picture ? output.useVideoCompressor : output.useAudioCompressor) == 1,
                         picture ? parts.videoCompressor : parts.audioCompressor,
                         picture ? "VideoCompressor" : "AudioCompressor");
        if (FAILED(hr))
            return hr;
    }
    if (FAILED(graph->QueryInterface(&conversion.pControl))) {
        Say("Could not get pControl");
        return E_FAIL;
    }
    if (FAILED(graph->QueryInterface(&conversion.pEvent))) {
        Say("Could not get pEvent");
        return E_FAIL;
    }
    if (FAILED(conversion.pEvent->SetNotifyWindow(parts.notifyWindow, WM_GRAPHNOTIFY, 0))) {
        Say("can not SetNotifyWindow!!!");
        return E_FAIL;
    }
    if (output.outputFormat == options::FormatCustomMuxer && parts.beforeCustomRun)
        parts.beforeCustomRun(*graph);
    hr = conversion.pControl->Run();
    if (FAILED(hr)) {
        Say("can not pControl->Run()!!!\n" + NotWritten(*graph, file, hr));
        return hr;
    }
    return S_OK;
}

} // namespace

REFERENCE_TIME Conversion::WrittenTime() const {
    graph::FilterGraph* graph = nullptr;
    if (!pRenderEngine || FAILED(pRenderEngine->GetFilterGraph(&graph)))
        return 0;
    graph::IMediaSeeking* seeking = nullptr;
    REFERENCE_TIME position = 0;
    if (FAILED(graph->QueryInterface(&seeking)) || FAILED(seeking->GetCurrentPosition(&position)))
        return 0;
    return position;
}

QString ErrorText(HRESULT hr) {
    // The caller's buffer held 160 bytes with the terminating zero.
    return QString::fromStdString(core::StatusText(hr).substr(0, 159));
}

QString FailureReason(const Conversion& conversion, HRESULT hr) {
    graph::FilterGraph* graph = nullptr;
    QString reason;
    if (conversion.pRenderEngine && SUCCEEDED(conversion.pRenderEngine->GetFilterGraph(&graph)))
        reason = QString::fromStdString(graph->TakeFailureReason());
    return reason.isEmpty() ? ErrorText(hr) : reason;
}

QString StoppedSummary(REFERENCE_TIME reached, const QString& file) {
    return Language()
        .GetString(IDS_MESSAGE_CONVERSION_STOPPED)
        .arg(QString::number(static_cast<double>(reached) / UNITS, 'f', 1), file);
}

QString FailedSummary(const QString& file) {
    const int text =
        QFile::exists(file) ? IDS_MESSAGE_FAILED_NOT_REPLACED : IDS_MESSAGE_FAILED_NOT_WRITTEN;
    return Language().GetString(text).arg(file);
}

HRESULT RenderToFile(editing::Timeline* timeline, OutputSettings& output, const OutputParts& parts,
                     Conversion& conversion) {
    EndConversion(conversion);
    conversion.pRenderEngine = std::make_unique<editing::RenderEngine>();
    editing::RenderEngine& engine = *conversion.pRenderEngine;
    const auto fail = [&](HRESULT hr) {
        EndConversion(conversion);
        return hr;
    };
    if (FAILED(engine.SetTimelineObject(timeline))) {
        Say("Could not SetTimelineObject");
        return fail(E_FAIL);
    }
    engine.SetDynamicReconnectLevel(1);
    // "Original frame rate" of a phone's or screen recorder's picture: its own frame times.
    const bool followSourceTimes = output.frameRateIndex == 0 && KeepsEachFrameTime(output, parts);
    for (int group = 0; group < timeline->GetGroupCount(); ++group)
        timeline->GetGroup(group)->SetFollowSourceFrameTimes(followSourceTimes);
    if (FAILED(engine.ConnectFrontEnd())) {
        Say("Could not ConnectFrontEnd");
        return fail(E_FAIL);
    }
    // Every frame is rendered, none dropped for being late.
    for (int group = 0; group < timeline->GetGroupCount(); ++group)
        timeline->GetGroup(group)->SetPreviewMode(false);
    engine.ComposeInBackground();
    const HRESULT hr =
        BuildOutputGraph(engine, output.outputFileName.toStdString(), output, parts, conversion);
    return FAILED(hr) ? fail(hr) : hr;
}

void DiscardOutput(Conversion& conversion) {
    if (conversion.pSink)
        conversion.pSink->DiscardFile();
}

void EndConversion(Conversion& conversion) {
    conversion.pSink = nullptr;
    if (conversion.pControl)
        conversion.pControl->Stop();
    if (conversion.pEvent) {
        conversion.pEvent->SetNotifyWindow(nullptr, 0, 0);
        conversion.pEvent = nullptr;
    }
    conversion.pControl = nullptr;
    if (conversion.pRenderEngine) {
        conversion.pRenderEngine->ScrapIt();
        conversion.pRenderEngine.reset();
    }
}

} // namespace render
