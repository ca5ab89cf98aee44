// Convert: the checks and questions before a conversion, its start through the composition
// and the output graph, its clock and progress, its events, and its end with the summary.
#include "app/clock_text.h"
#include "app/vellum_dlg.h"
#include "language/language.h"
#include "options/filter_property_dialog.h"
#include "options/output_extension.h"
#include "options/picture_copy_check.h"
#include "options/stored_compressor.h"
#include "platform/core/guid.h"
#include "platform/graph/writing/device_enumerator.h"
#include "platform/settings/store.h"
#include "platform/ui/prompts.h"
#include "render/output_place.h"
#include "render/rate_keeping_frames.h"
#include "resources/resource.h"

#include <QFile>
#include <QFileInfo>
#include <QProgressBar>

#include <algorithm>

namespace {

// Where the compressor question sends a user whose FFmpeg has no MPEG-4 encoder.
constexpr const char* kCodecDownloadPage = "https://ffmpeg.org/download.html";

constexpr int kButtonsLockedWhileConverting[] = {IDC_BUTTON_ADD_VIDEO, IDC_BUTTON_OUTPUT_SETTINGS,
                                                 IDC_BUTTON_START_TIME, IDC_BUTTON_END_TIME};

} // namespace

void CVellumDlg::ChooseCompressors() {
    // WMV output uses the writer's own encoders.
    if (output.outputFormat == options::FormatWmv) {
        output.useVideoCompressor = 0;
        output.useAudioCompressor = 0;
        output.copySourcePicture = 0;
        return;
    }
    settings::SetFirstByteIfPresent(settings::DefaultRoot(), "DivXNetworks/DivX4Windows",
                                    "Disable feedback");
    videoCompressor = options::StoredCompressor(options::kVideoCompressorKind);
    audioCompressor = options::StoredCompressor(options::kAudioCompressorKind);
    output.copySourcePicture =
        settings::Profile().GetProfileInt(options::kVideoCompressorKind.section,
                                          "CompressorNumber", -2) == options::kCopyPictureNumber;
    // A flag without a compressor behind it would fail the conversion later.
    output.useVideoCompressor = videoCompressor ? 1 : 0;
    output.useAudioCompressor = audioCompressor ? 1 : 0;
}

void CVellumDlg::OnConvert() {
    if (photoList.Count() == 0) {
        ui::MessageBox(this, Language().GetString(IDS_MESSAGE_OPEN_VIDEO_FIRST));
        return;
    }
    if (previewRunning == 1) {
        ui::MessageBox(this, Language().GetString(IDS_MESSAGE_STOP_PREVIEW_FIRST));
        return;
    }
    if (converting != 0) {
        FinishConversion(S_OK, true);
        return;
    }
    if (const QString refusal = render::OutputPlaceRefusal(output.outputFileName);
        !refusal.isEmpty()) {
        ui::MessageBox(this, refusal);
        return;
    }
    if (!ConfirmReplacingOutput())
        return;
    CheckOutputFrameRate();
    if (output.outputFormat != options::FormatWmv) {
        if (output.useVideoCompressor == 0 && output.copySourcePicture == 0 &&
            ui::MessageBox(
                this,
                QStringLiteral(
                    "You do not select a video compressor in Options dialog. The output file will "
                    "be very big.\nStrongly recommend you to install DivX codec, then select DivX "
                    "as video compressor.\nIf there is no DivX codec on your system, please "
                    "download it at %1\nDo you want to continue?")
                    .arg(kCodecDownloadPage),
                "Warning", ui::MB_YESNO) != ui::IDYES)
            return;
        settings::SetFirstByteIfPresent(settings::DefaultRoot(), "DivXNetworks/DivX4Windows",
                                        "Disable feedback");
    }
    render::OutputParts parts;
    parts.videoCompressor = videoCompressor;
    parts.audioCompressor = audioCompressor;
    parts.muxerClassId =
        settings::Profile().GetProfileString("DirectShowFilters", "CurrentMuxerCLSID", "AVI Mux");
    // The rate chosen for this file only; the window's choice stays "Original frame rate".
    rateBeforeKeepingFrames_ = output.outputFrameRate;
    const QString rateNote = render::KeepEveryFrame(output, parts, photoList[0].path);
    if (!ComposeTimeline() || !ChoosePictureCopy(parts)) {
        composition.ReleaseTimeline();
        output.outputFrameRate = rateBeforeKeepingFrames_;
        return;
    }
    parts.notifyWindow = this;
    parts.beforeCustomRun = [this](graph::FilterGraph& graph) {
        CDialogFilterPerproty dialog(this);
        dialog.filterGraph = &graph;
        dialog.exec();
    };
    if (FAILED(render::RenderToFile(composition.Timeline(), output, parts, conversion))) {
        composition.ReleaseTimeline();
        output.outputFrameRate = rateBeforeKeepingFrames_;
        return;
    }
    converting = 1;
    // Language files keep the button's two labels with the dialog texts, not the strings.
    SetDlgItemText(IDC_BUTTON_CONVERT, Language().GetDialogTextOrString(IDS_BUTTON_STOP));
    conversionClock_->start();
    for (int id : kButtonsLockedWhileConverting)
        EnableDlgItem(id, false);
    if (!rateNote.isEmpty())
        SetDlgItemText(IDC_STATIC_STATUS, rateNote);
    ShowProgress();
}

bool CVellumDlg::ChoosePictureCopy(render::OutputParts& parts) {
    if (output.copySourcePicture != 1 || output.outputFormat == options::FormatWmv)
        return true;
    const graph::DeviceEntry* muxer = graph::FindDeviceByClassId(parts.muxerClassId.toStdString());
    // The points and times may have changed since the options were chosen.
    const QString refusal = options::PictureCopyRefusal(
        {photoList[0].path, static_cast<int>(photoList.Count()), nativeWidth, nativeHeight,
         output.sourceFrameRate},
        output, muxer);
    // The conversion does not start: an error.
    if (!refusal.isEmpty()) {
        ui::MessageBox(this, refusal, Language().GetString(IDS_MESSAGE_ERROR),
                       ui::MB_OK | ui::MB_ICONERROR);
        return false;
    }
    parts.pictureCopy = {photoList[0].path, composedTimes.videoStart, composedTimes.videoEnd};
    return true;
}

bool CVellumDlg::ConfirmReplacingOutput() {
    if (!QFile::exists(output.outputFileName))
        return true;
    // The video would be lost under its own conversion.
    const QString target = QFileInfo(output.outputFileName).canonicalFilePath();
    if (target == QFileInfo(QString::fromStdString(photoList[0].path)).canonicalFilePath()) {
        ui::MessageBox(this,
                       Language().GetString(IDS_MESSAGE_OUTPUT_IS_SOURCE).arg(output.outputFileName));
        return false;
    }
    // The file is replaced only once its successor is complete, so a failed conversion
    // leaves it as it was.
    const QString question =
        output.outputFileName + " " + Language().GetString(IDS_MESSAGE_FILE_EXIST);
    return ui::MessageBox(this, question, Language().GetString(IDS_MESSAGE_WARNING),
                       ui::MB_YESNO | ui::MB_ICONEXCLAMATION) == ui::IDYES;
}

QString CVellumDlg::FinishConversion(HRESULT failure, bool stopped) {
    conversionClock_->stop();
    const REFERENCE_TIME reached = conversion.WrittenTime();
    if (FAILED(failure))
        render::DiscardOutput(conversion);
    render::EndConversion(conversion);
    composition.ReleaseTimeline();
    output.outputFrameRate = rateBeforeKeepingFrames_;
    converting = 0;
    SetDlgItemText(IDC_BUTTON_CONVERT, Language().GetDialogTextOrString(IDS_BUTTON_CONVERT));
    elapsedSeconds = 0;
    QString summary;
    if (FAILED(failure)) {
        // A file the user stops keeps what was written; one that failed is not the whole
        // video, so the writer deleted it.
        summary = render::FailedSummary(output.outputFileName);
    } else if (stopped) {
        summary = render::StoppedSummary(reached, output.outputFileName);
    } else {
        summary = Language().GetString(IDS_MESSAGE_CONVERSION_DONE) + ". " + StatusLine();
    }
    SetDlgItemText(IDC_STATIC_STATUS, summary);
    for (int id : kButtonsLockedWhileConverting)
        EnableDlgItem(id, true);
    Item<QProgressBar>(IDC_PROGRESS_CONVERSION)->hide();
    return summary;
}

void CVellumDlg::OnConversionEvents() {
    long code = 0;
    std::intptr_t param1 = 0;
    std::intptr_t param2 = 0;
    while (conversion.pEvent &&
           SUCCEEDED(conversion.pEvent->GetEvent(&code, &param1, &param2, 0))) {
        conversion.pEvent->FreeEventParams(code, param1, param2);
        if (code == graph::EC_COMPLETE) {
            FinishConversion();
        } else if (code == graph::EC_ERRORABORT) {
            // A conversion that fails while it streams (its source cut short, a full disk)
            // ends here, with what went wrong.
            const auto failure = static_cast<HRESULT>(param1);
            const QString reason = render::FailureReason(conversion, failure);
            const QString summary = FinishConversion(FAILED(failure) ? failure : E_FAIL);
            ui::MessageBox(this,
                           Language().GetString(IDS_MESSAGE_CONVERSION_BROKE_OFF).arg(reason, summary));
        }
    }
}

void CVellumDlg::ShowProgress() {
    auto* bar = Item<QProgressBar>(IDC_PROGRESS_CONVERSION);
    const REFERENCE_TIME total = composedTimes.outputDuration;
    const REFERENCE_TIME written = std::clamp<REFERENCE_TIME>(conversion.WrittenTime(), 0, total);
    const double done = total > 0 ? double(written) / double(total) : 0;
    bar->setValue(static_cast<int>(done * bar->maximum()));
    // The time left, at the pace so far; nothing to say before the first second or so.
    QString left;
    if (done > 0.01 && elapsedSeconds > 0)
        left = " · " + Language()
                           .GetString(IDS_PROGRESS_TIME_LEFT)
                           .arg(ClockText(static_cast<int>(elapsedSeconds * (1 - done) / done)));
    bar->setFormat(QStringLiteral("%p%") + left);
    bar->show();
}
