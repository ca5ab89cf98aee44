#include "cli/convert_job.h"

#include "cli/conversion_run.h"
#include "cli/device_names.h"
#include "cli/progress_line.h"
#include "cli/source_video.h"
#include "cli/stderr_prompts.h"
#include "language/language.h"
#include "options/container_check.h"
#include "options/output_extension.h"
#include "options/picture_copy_check.h"
#include "options/stored_compressor.h"
#include "platform/core/guid.h"
#include "platform/graph/writing/device_enumerator.h"
#include "platform/graph/writing/filter_options.h"
#include "platform/settings/store.h"
#include "render/build_timeline.h"
#include "render/output_graph.h"
#include "render/output_place.h"
#include "render/rate_keeping_frames.h"
#include "resources/resource.h"

#include <QFileInfo>

extern "C" {
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace cli {
namespace {

// The shell's status of a program that Ctrl-C ended (128 + SIGINT).
constexpr int kInterruptedExit = 130;

void Say(const QString& text) {
    ui::MessageBox(nullptr, text);
}

// Says a refusal; true when there was one.
bool Refuses(const QString& refusal) {
    if (!refusal.isEmpty())
        Say(refusal);
    return !refusal.isEmpty();
}

// An existing file is replaced only when asked; a folder that cannot take the file is named
// before anything is read.
bool OutputWritable(const ConvertOptions& options) {
    if (Refuses(render::OutputPlaceRefusal(options.output)))
        return false;
    const QFileInfo output(options.output);
    if (!output.exists())
        return true;
    // Replaced only once the new file is complete.
    if (!options.overwrite) {
        Say(options.output + " exists. Give --overwrite to replace it; nothing was written.");
        return false;
    }
    return true;
}

// The output settings as the main window holds them once a video is open, with what the
// arguments change.
OutputSettings ChooseOutput(const ConvertOptions& options, const SourceVideo& source,
                            const settings::Store& store) {
    OutputSettings output;
    const std::optional<options::ExtensionFormat> named =
        options::FormatOfExtension(options.output);
    output.outputFormat =
        options.format.value_or(options.muxer ? options::FormatCustomMuxer
                                : named       ? named->outputFormat
                                        : store.GetProfileInt("Settings", "nOuptputFormat", 1));
    output.outputFileName = options.output;
    ReadFrameRateAndBitrates(store, output);
    output.outputWidth = options.width.value_or(source.width);
    output.outputHeight = options.height.value_or(source.height);
    // The stored choice is the main window's; a command converts at the input's own rate
    // unless told otherwise.
    output.sourceFrameRate = source.frameRate;
    output.frameRateIndex = options.frameRate ? 6 : 0; // the custom rate, or the source's
    output.outputFrameRate = options.frameRate.value_or(output.sourceFrameRate);
    output.videoBitrate = options.videoBitrate.value_or(output.videoBitrate);
    output.audioBitrate = options.audioBitrate.value_or(output.audioBitrate);
    // Like the frame rate, the stored choice is the window's: a command says what it wants.
    output.keepPitch = options.keepPitch ? 1 : 0;
    // The source's own rate may be no usable output rate.
    if (output.frameRateIndex == 0 &&
        (output.outputFrameRate > 100 || output.outputFrameRate < 0) &&
        ui::MessageBox(nullptr,
                       QString::asprintf("The output frame rate is %f.The value may not be "
                                         "proper.\nClick Yes to set the output frame rate "
                                         "23.976. Click No to keep it.",
                                         output.sourceFrameRate),
                       "Warning", ui::MB_YESNO) == ui::IDYES)
        output.outputFrameRate = 23.976;
    return output;
}

// A kind of compressor, and what messages call it.
struct NamedKind {
    const char* what;
    const options::CompressorKind& kind;
};

// The compressor named, none for "none", or without a name the stored choice (the default
// search when nothing is stored), as the main window chooses at start-up. False after
// saying why.
bool ChooseCompressor(const NamedKind& named, const std::optional<QString>& name,
                      const std::optional<int>& bitrate, std::shared_ptr<graph::BaseFilter>& out) {
    out.reset();
    if (name && *name == "none")
        return true;
    if (!name) {
        out = options::StoredCompressor(named.kind);
    } else {
        const int number = FindNamedDevice(named.kind.category, *name);
        if (number < 0) {
            Say(QStringLiteral("No %1 compressor has \"%2\" in its name; quillet-convert --list "
                               "shows the names.")
                    .arg(named.what, *name));
            return false;
        }
        // Made as the options dialog makes it: with the settings its encoder keeps.
        out = options::CreateCompressor(named.kind, number);
        if (!out) {
            Say(QStringLiteral("The %1 compressor \"%2\" can not be made.").arg(named.what, *name));
            return false;
        }
    }
    auto* pages = graph::QueryFilterInterface<graph::ISpecifyPropertyPages>(out.get());
    if (bitrate && pages)
        av_opt_set_int(pages->Options().Object(), "b", *bitrate, 0);
    return true;
}

// The class identifier of the custom multiplexer: the one named, else the one of the
// container the output's extension names, else the stored one. An output whose extension
// names another container than the one written is refused.
bool ChooseMuxer(const ConvertOptions& options, int outputFormat, QString& classId) {
    const auto& filters = graph::EnumerateDevices(graph::DeviceCategory::Filter);
    const std::optional<options::ExtensionFormat> named =
        options::FormatOfExtension(options.output);
    if (options.muxer) {
        const int number = FindNamedDevice(graph::DeviceCategory::Filter, *options.muxer);
        if (number < 0) {
            Say("No multiplexer has \"" + *options.muxer +
                "\" in its name; quillet-convert --list shows the names.");
            return false;
        }
        classId = QString::fromStdString(core::GuidToString(filters[number].classId));
    } else if (named && named->outputFormat == options::FormatCustomMuxer) {
        const auto found = std::find_if(filters.begin(), filters.end(), [&](const auto& entry) {
            return entry.kind == graph::FilterKind::Multiplexer &&
                   QString::fromStdString(entry.libraryName) == named->muxer;
        });
        if (found != filters.end())
            classId = QString::fromStdString(core::GuidToString(found->classId));
    } else {
        classId = settings::Profile().GetProfileString("DirectShowFilters", "CurrentMuxerCLSID",
                                                       "AVI Mux");
    }
    const graph::DeviceEntry* muxer = outputFormat == options::FormatCustomMuxer
                                          ? graph::FindDeviceByClassId(classId.toStdString())
                                          : nullptr;
    const QString extensions = muxer ? QString::fromStdString(muxer->extensions) : QString();
    if (!options::ExtensionContradicts(options.output, outputFormat, extensions))
        return true;
    const QString written = outputFormat == options::FormatAvi   ? QStringLiteral("AVI")
                            : outputFormat == options::FormatWmv ? QStringLiteral("WMV")
                            : muxer ? QString::fromStdString(muxer->friendlyName)
                                    : QStringLiteral("custom multiplexer");
    Say(QStringLiteral("The name %1 is that of another kind of file than the %2 output asked for. "
                       "Name it %3, or leave out --format and --muxer to let the name's "
                       "extension choose. Nothing was written.")
            .arg(options.output, written,
                 options::ApplyFormatExtension(options.output, outputFormat, extensions)));
    return false;
}

// A container that cannot hold the chosen compressors is refused before anything is written.
bool ContainerHoldsCompressors(const OutputSettings& output, const render::OutputParts& parts) {
    if (output.outputFormat == options::FormatWmv)
        return true;
    const graph::DeviceEntry* muxer = nullptr;
    if (output.outputFormat == options::FormatAvi) {
        const int avi = graph::FindDevice(graph::DeviceCategory::Filter, "AVI Mux");
        if (avi >= 0)
            muxer = &graph::EnumerateDevices(graph::DeviceCategory::Filter)[avi];
    } else {
        muxer = graph::FindDeviceByClassId(parts.muxerClassId.toStdString());
    }
    const auto entryOf = [](const std::shared_ptr<graph::BaseFilter>& compressor) {
        return compressor ? graph::FindDeviceByClassId(compressor->ClassId()) : nullptr;
    };
    const auto refusal = [&](bool soundOnly) {
        return options::ContainerRefusal(muxer, entryOf(parts.videoCompressor),
                                         entryOf(parts.audioCompressor),
                                         soundOnly || output.copySourcePicture == 1);
    };
    const QString refused = refusal(false);
    if (refused.isEmpty())
        return true;
    // The window's advice names its lists; here the options do that.
    const bool picture = refused != refusal(true);
    Say(refused + QStringLiteral(" Name another compressor with %1, or another muxer with "
                                 "--muxer; quillet-convert --list shows the names.")
                      .arg(picture ? "--video-encoder" : "--audio-encoder"));
    return false;
}

// The source's own picture is copied when --video-encoder says "copy", or without it when the
// settings chose the copy. False after saying why it cannot be.
bool ChoosePictureCopy(const ConvertOptions& options, const SourceVideo& source,
                       const settings::Store& store, OutputSettings& output,
                       render::OutputParts& parts) {
    const bool asked =
        options.videoEncoder ? *options.videoEncoder == "copy"
                             : store.GetProfileInt(options::kVideoCompressorKind.section,
                                                   "CompressorNumber", -2) ==
                                   options::kCopyPictureNumber;
    // WMV is coded by its writer, whatever compressor is chosen.
    if (!asked || output.outputFormat == options::FormatWmv)
        return true;
    const options::PictureCopySource picture{source.photoList[0].path,
                                             static_cast<int>(source.photoList.Count()),
                                             source.width, source.height, source.frameRate};
    const graph::DeviceEntry* muxer = graph::FindDeviceByClassId(parts.muxerClassId.toStdString());
    if (Refuses(options::PictureCopyRefusal(picture, output, muxer)))
        return false;
    output.copySourcePicture = 1;
    parts.pictureCopy = {source.photoList[0].path, source.sync.videoStart, source.sync.videoEnd};
    return true;
}

// What the input gave the run: the points (given or found), the drift found, the times.
void TakeSource(const ConvertOptions& options, const SourceVideo& source, bool opened,
                RunReport& report) {
    report.pointsFrom = options.autoPoints            ? QStringLiteral("found")
                        : !options.syncList.isEmpty() ? QStringLiteral("list")
                                                      : QStringLiteral("none");
    report.points = source.sync.Points();
    if (source.drift) {
        report.driftPpm = source.drift->ppm;
        report.offset = source.drift->offset;
    }
    const avsync::SyncState& sync = source.sync;
    if (opened)
        report.times = RunReport::Times{sync.videoStart, sync.videoEnd, sync.audioStart,
                                        sync.audioEnd, sync.outputDuration};
}

int Convert(const ConvertOptions& options, const StderrPrompts& said,
            std::unique_ptr<ProgressLine>& progress, RunReport& report) {
    const settings::Store& store = settings::Profile();
    SourceVideo source;
    if (!OutputWritable(options))
        return 1;
    const bool opened = OpenSource(options, slideshow::ReadTransitionDefaults(store), source);
    TakeSource(options, source, opened, report);
    if (!opened)
        return 1;
    OutputSettings output = ChooseOutput(options, source, store);

    render::OutputParts parts;
    if (!ChooseMuxer(options, output.outputFormat, parts.muxerClassId) ||
        !ChoosePictureCopy(options, source, store, output, parts))
        return 1;
    if (output.outputFormat != options::FormatWmv) {
        const bool copied = output.copySourcePicture == 1;
        if (!ChooseCompressor({"video", options::kVideoCompressorKind},
                              copied ? std::optional<QString>("none") : options.videoEncoder,
                              options.videoBitrate, parts.videoCompressor) ||
            !ChooseCompressor({"audio", options::kAudioCompressorKind}, options.audioEncoder,
                              options.audioBitrate, parts.audioCompressor))
            return 1;
        output.useVideoCompressor = parts.videoCompressor ? 1 : 0;
        output.useAudioCompressor = parts.audioCompressor ? 1 : 0;
        if (!parts.videoCompressor && !options.videoEncoder && !copied)
            ui::MessageBox(nullptr,
                           "No video compressor is chosen in the settings: the picture is "
                           "written uncompressed and the file will be very big. Continue?",
                           "Warning", ui::MB_YESNO);
        settings::SetFirstByteIfPresent(settings::DefaultRoot(), "DivXNetworks/DivX4Windows",
                                        "Disable feedback");
    }
    if (!ContainerHoldsCompressors(output, parts))
        return 1;
    if (const QString note = render::KeepEveryFrame(output, parts, source.photoList[0].path);
        !note.isEmpty())
        PrintMessage(note);

    // The build reports a step that fails and goes on; here any such step fails the run.
    const int before = said.MessageCount();
    render::Composition composition;
    const int singleSpan = source.sync.syncCount <= 0 ? 1 : 0;
    if (FAILED(composition.BuildTimeline(
            {source.sync, source.photoList, source.musicList, output, singleSpan})) ||
        said.MessageCount() != before)
        return 1;

    render::Conversion conversion;
    ConversionRun run(conversion);
    parts.notifyWindow = run.NotifyWindow();
    if (FAILED(render::RenderToFile(composition.Timeline(), output, parts, conversion)))
        return 1;
    progress = std::make_unique<ProgressLine>(source.sync.outputDuration, options.jsonProgress);
    const RunEnd end = run.Wait([&](REFERENCE_TIME written) { progress->Show(written); });
    const REFERENCE_TIME reached = conversion.WrittenTime();
    if (end == RunEnd::Completed)
        progress->Show(source.sync.outputDuration);
    progress->Break();
    // A stopped file keeps what was written, as with the Stop button; a failed one does not.
    if (end == RunEnd::Failed)
        render::DiscardOutput(conversion);
    render::EndConversion(conversion);
    composition.ReleaseTimeline();
    report.wrote = end != RunEnd::Failed;
    switch (end) {
    case RunEnd::Completed:
        report.message = QStringLiteral("Done. Output file: %1     Resolution: %2*%3")
                             .arg(output.outputFileName, QString::number(output.outputWidth),
                                  QString::number(output.outputHeight));
        PrintMessage(report.message);
        return 0;
    case RunEnd::Stopped:
        report.message = render::StoppedSummary(reached, output.outputFileName);
        PrintMessage(report.message);
        return kInterruptedExit;
    case RunEnd::Failed:
        ui::MessageBox(nullptr, Language()
                                    .GetString(IDS_MESSAGE_CONVERSION_BROKE_OFF)
                                    .arg(run.FailureReason(),
                                         render::FailedSummary(output.outputFileName)));
        break;
    }
    return 1;
}

} // namespace

int RunConversion(const ConvertOptions& options, RunReport& report) {
    std::unique_ptr<ProgressLine> progress;
    auto prompts = std::make_unique<StderrPrompts>([&progress] {
        if (progress)
            progress->Break();
    });
    const StderrPrompts& said = *prompts;
    ui::InstallPrompts(std::move(prompts));
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    const int status = Convert(options, said, progress, report);
    if (status == 1)
        report.message = said.LastMessage();
    return status;
}

} // namespace cli
