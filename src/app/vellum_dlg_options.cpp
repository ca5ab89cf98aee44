// Options: the output options dialog over the window's output settings, skip steps and
// compressors, and the summary line it leaves.
#include "app/vellum_dlg.h"
#include "language/language.h"
#include "options/output_settings_dialog.h"
#include "resources/resource.h"

void CVellumDlg::OnOutputSettings() {
    CDialogOutputSettings dialog(this);
    dialog.outputFileName = output.outputFileName;
    dialog.outputWidth = output.outputWidth;
    dialog.outputHeight = output.outputHeight;
    dialog.useVideoCompressor = output.useVideoCompressor;
    dialog.useAudioCompressor = output.useAudioCompressor;
    dialog.nativeWidth = nativeWidth;
    dialog.nativeHeight = nativeHeight;
    dialog.videoCount = static_cast<int>(photoList.Count());
    dialog.sourceFrameRate = output.sourceFrameRate;
    dialog.outputFrameRate = output.outputFrameRate;
    dialog.frameRateIndex = output.frameRateIndex;
    dialog.stretchMode = output.stretchMode;
    dialog.videoBitrate = output.videoBitrate;
    dialog.audioBitrate = output.audioBitrate;
    dialog.outputFormat = output.outputFormat;
    dialog.useFileProfile = output.useFileProfile;
    dialog.skipForwardSeconds = syncState.skipForwardSeconds;
    dialog.skipBackwardSeconds = syncState.skipBackwardSeconds;
    dialog.audioSkipForwardSeconds = static_cast<float>(syncState.audioSkipForwardSeconds);
    dialog.audioSkipBackwardSeconds = static_cast<float>(syncState.audioSkipBackwardSeconds);
    dialog.videoCompressor = videoCompressor;
    dialog.audioCompressor = audioCompressor;
    dialog.copySourcePicture = output.copySourcePicture;
    dialog.keepPitch = output.keepPitch;
    if (photoList.Count() > 0)
        dialog.videoPath = photoList[0].path;
    if (dialog.exec() != QDialog::Accepted)
        return;

    output.outputFileName = dialog.outputFileName;
    output.outputWidth = dialog.outputWidth;
    output.outputHeight = dialog.outputHeight;
    output.useVideoCompressor = dialog.useVideoCompressor;
    output.useAudioCompressor = dialog.useAudioCompressor;
    output.copySourcePicture = dialog.copySourcePicture;
    output.keepPitch = dialog.keepPitch;
    output.frameRateIndex = dialog.frameRateIndex;
    output.outputFrameRate = dialog.outputFrameRate;
    output.stretchMode = dialog.stretchMode;
    output.videoBitrate = dialog.videoBitrate;
    output.audioBitrate = dialog.audioBitrate;
    output.outputFormat = dialog.outputFormat;
    output.useFileProfile = dialog.useFileProfile;
    syncState.skipForwardSeconds = dialog.skipForwardSeconds;
    syncState.skipBackwardSeconds = dialog.skipBackwardSeconds;
    syncState.audioSkipForwardSeconds = dialog.audioSkipForwardSeconds;
    syncState.audioSkipBackwardSeconds = dialog.audioSkipBackwardSeconds;
    videoCompressor = dialog.videoCompressor;
    audioCompressor = dialog.audioCompressor;
    SetDlgItemText(IDC_STATIC_STATUS, SoundStatusLine());
}

QString CVellumDlg::StatusLine() const {
    const QString start = QStringLiteral("%1 %2     %3 ")
                              .arg(Language().GetString(IDS_MESSAGE_OUTPUT_FILE),
                                   output.outputFileName,
                                   Language().GetString(IDS_MESSAGE_RESOLUTION));
    // Until a video is probed there is no size to name.
    if (nativeWidth != 0 || nativeHeight != 0)
        return start + QStringLiteral("%1*%2").arg(output.outputWidth).arg(output.outputHeight);
    return start + Language().GetString(IDS_MESSAGE_ORIGINAL_SIZE);
}
