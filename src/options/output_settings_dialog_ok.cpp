// The output options dialog's OK: every value checked, then stored and handed back.
#include "options/output_settings_dialog.h"

#include "language/language.h"
#include "options/container_check.h"
#include "options/field_check.h"
#include "options/output_extension.h"
#include "options/output_settings_dialog_rows.h"
#include "options/picture_copy_check.h"
#include "options/stored_compressor.h"
#include "platform/core/guid.h"
#include "platform/graph/filter.h"
#include "platform/graph/writing/device_enumerator.h"
#include "platform/settings/store.h"
#include "platform/ui/prompts.h"
#include "resources/resource.h"
#include "sync/time_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <climits>
#include <tuple>

using namespace options::dialog_rows;
using graph::DeviceCategory;

namespace {

// A typed picture side: even, and at least 16.
int PictureSide(const QString& text) {
    const int side = static_cast<int>(avsync::TextToInteger(text.toStdString())) / 2 * 2;
    return std::max(side, 16);
}

// Entry n of a category, or null.
const graph::DeviceEntry* Entry(DeviceCategory category, int n) {
    const auto& entries = graph::EnumerateDevices(category);
    return n >= 0 && n < static_cast<int>(entries.size()) ? &entries[n] : nullptr;
}

} // namespace

bool CDialogOutputSettings::ReadSkipSteps(int* forward, int* backward, float* audioForward,
                                          float* audioBackward) {
    QString why;
    int refused = 0;
    if (!options::ReadIntegerField(GetDlgItemText(IDC_EDIT_SKIP_FORWARD), 1, INT_MAX, forward,
                                   &why))
        refused = IDC_EDIT_SKIP_FORWARD;
    else if (!options::ReadIntegerField(GetDlgItemText(IDC_EDIT_SKIP_BACKWARD), 1, INT_MAX,
                                        backward, &why))
        refused = IDC_EDIT_SKIP_BACKWARD;
    else if (!options::ReadNumberField(GetDlgItemText(IDC_EDIT_AUDIO_SKIP_FORWARD), 0.01f, 65535.0f,
                                       audioForward, &why))
        refused = IDC_EDIT_AUDIO_SKIP_FORWARD;
    else if (!options::ReadNumberField(GetDlgItemText(IDC_EDIT_AUDIO_SKIP_BACKWARD), 0.01f,
                                       65535.0f, audioBackward, &why))
        refused = IDC_EDIT_AUDIO_SKIP_BACKWARD;
    if (refused == 0)
        return true;
    ui::MessageBox(this, why, {}, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    // The field in question takes the user back to it.
    auto* field = Item<QLineEdit>(refused);
    field->setFocus();
    field->selectAll();
    return false;
}

OutputSettings CDialogOutputSettings::ChosenPicture(int format, double typedRate) const {
    OutputSettings chosen;
    chosen.outputFormat = format;
    chosen.outputWidth = PictureSide(GetDlgItemText(IDC_EDIT_CUSTOM_WIDTH));
    chosen.outputHeight = PictureSide(GetDlgItemText(IDC_EDIT_CUSTOM_HEIGHT));
    const int rateRow = Combo(IDC_COMBO_FRAME_RATE)->currentIndex();
    chosen.outputFrameRate = rateRow == 0                   ? sourceFrameRate
                             : rateRow >= 1 && rateRow <= 5 ? kFixedFrameRates[rateRow - 1]
                                                            : typedRate;
    return chosen;
}

void CDialogOutputSettings::OnOk() {
    int forward = 0;
    int backward = 0;
    float audioForward = 0;
    float audioBackward = 0;
    if (!ReadSkipSteps(&forward, &backward, &audioForward, &audioBackward))
        return;
    const QString rateText = GetDlgItemText(IDC_EDIT_CUSTOM_FRAME_RATE).left(128);
    const double typedRate = avsync::DecimalTextToDouble(rateText.toStdString());
    if (!(typedRate >= 0.001)) {
        ui::MessageBox(this, "The frame rate is too small!");
        return;
    }
    const int format = Combo(IDC_COMBO_OUTPUT_FORMAT)->currentIndex();
    const int videoRow = Combo(IDC_COMBO_VIDEO_COMPRESSOR)->currentIndex();
    const int audioRow = Combo(IDC_COMBO_AUDIO_COMPRESSOR)->currentIndex();
    const bool copy = videoRow == Combo(IDC_COMBO_VIDEO_COMPRESSOR)->count() - 1;
    if (format != options::FormatWmv) {
        const int muxer = format == options::FormatAvi
                              ? graph::FindDevice(DeviceCategory::Filter, kDefaultMuxer)
                              : Combo(IDC_COMBO_MUXER_ORDERED)->currentIndex();
        QString refusal =
            options::ContainerRefusal(Entry(DeviceCategory::Filter, muxer),
                                      Entry(DeviceCategory::VideoCompressor, videoRow - 1),
                                      Entry(DeviceCategory::AudioCompressor, audioRow - 1), copy);
        if (refusal.isEmpty() && copy)
            refusal = options::PictureCopyRefusal(
                {videoPath, videoCount, nativeWidth, nativeHeight, sourceFrameRate},
                ChosenPicture(format, typedRate), Entry(DeviceCategory::Filter, muxer));
        // The dialog stays open until the user chooses what can be written: an error.
        if (!refusal.isEmpty()) {
            ui::MessageBox(this, refusal, Language().GetString(IDS_MESSAGE_ERROR),
                           ui::MB_OK | ui::MB_ICONERROR);
            return;
        }
    }

    settings::Store& store = settings::Profile();
    outputFrameRate = typedRate;
    frameRateIndex = Combo(IDC_COMBO_FRAME_RATE)->currentIndex();
    store.WriteProfileInt("Settings", "OutputFrameRateIndex", frameRateIndex);
    store.WriteProfileString("Settings", "OutputFrameRate",
                             frameRateIndex != 0 ? rateText : QStringLiteral("23.976"));
    if (frameRateIndex == 0) {
        outputFrameRate = sourceFrameRate;
    } else if (frameRateIndex >= 1 && frameRateIndex <= 5) {
        outputFrameRate = kFixedFrameRates[frameRateIndex - 1];
    } else if (frameRateIndex != kCustomFrameRateRow) {
        frameRateIndex = 1;
        outputFrameRate = 23.976;
    }

    outputFileName = GetDlgItemText(IDC_EDIT_OUTPUT_FILE);
    store.WriteProfileString("Settings", "OutputName", outputFileName);
    outputWidth = PictureSide(GetDlgItemText(IDC_EDIT_CUSTOM_WIDTH));
    outputHeight = PictureSide(GetDlgItemText(IDC_EDIT_CUSTOM_HEIGHT));
    store.WriteProfileInt("Settings", "OutputWidth", outputWidth);
    store.WriteProfileInt("Settings", "OutputHigh", outputHeight);

    for (auto [row, kind, compressor, used] :
         {std::tuple{videoRow, &options::kVideoCompressorKind, &videoCompressor,
                     &useVideoCompressor},
          {audioRow, &options::kAudioCompressorKind, &audioCompressor, &useAudioCompressor}}) {
        const bool copied = copy && kind == &options::kVideoCompressorKind;
        store.WriteProfileInt(kind->section, "CompressorNumber",
                              copied ? options::kCopyPictureNumber : row - 1);
        if (copied) {
            compressor->reset();
            *used = 0;
        } else if (row != 0) {
            *compressor = options::CreateCompressor(*kind, row - 1);
            // A flag without a compressor behind it would fail the conversion later.
            *used = *compressor ? 1 : 0;
        } else {
            *used = 0;
        }
    }

    copySourcePicture = copy ? 1 : 0;
    keepPitch = Item<QCheckBox>(IDC_CHECK_KEEP_PITCH)->isChecked() ? 1 : 0;
    store.WriteProfileInt("Settings", kKeepPitchValue, keepPitch);
    stretchMode = Combo(IDC_COMBO_RESIZE_MODE)->currentIndex() == 0 ? 2 : 0;
    // Kbps in units of 1024 bit/s, held within the stored 32-bit value.
    videoBitrate = static_cast<int>(std::clamp<long long>(
        avsync::TextToInteger(GetDlgItemText(IDC_EDIT_VIDEO_BITRATE).toStdString()) * 1024, INT_MIN,
        INT_MAX));
    store.WriteProfileInt("Settings", "n_video_bitrate", videoBitrate);
    const int audioRateRow = Combo(IDC_COMBO_AUDIO_BITRATE)->currentIndex();
    if (audioRateRow >= 0)
        audioBitrate = kAudioBitrates[audioRateRow];
    store.WriteProfileInt("Settings", "n_audio_bitrate", audioBitrate);
    outputFormat = format;
    store.WriteProfileInt("Settings", "nOuptputFormat", outputFormat);

    skipForwardSeconds = forward;
    skipBackwardSeconds = backward;
    audioSkipForwardSeconds = audioForward;
    audioSkipBackwardSeconds = audioBackward;
    store.WriteProfileInt("Settings", "SkipForward", skipForwardSeconds);
    store.WriteProfileInt("Settings", "SkipBackward", skipBackwardSeconds);
    store.WriteProfileString("Settings", "mf_audio_skip_forward",
                             QString::asprintf("%f", audioSkipForwardSeconds));
    store.WriteProfileString("Settings", "mf_audio_skip_backward",
                             QString::asprintf("%f", audioSkipBackwardSeconds));

    StoreMuxerChoice();
    accept();
}

void CDialogOutputSettings::StoreMuxerChoice() {
    settings::Store& store = settings::Profile();
    auto* ordered = Combo(IDC_COMBO_MUXER_ORDERED);
    const int muxer = ordered->currentIndex();
    store.WriteProfileInt("DirectShowFilters", "CurrentMuxer", muxer);
    store.WriteProfileString("DirectShowFilters", "CurrentMuxerName", ordered->currentText());
    std::shared_ptr<graph::BaseFilter> filter;
    if (SUCCEEDED(graph::CreateDeviceFilter(DeviceCategory::Filter, muxer, &filter)) && filter)
        store.WriteProfileString("DirectShowFilters", "CurrentMuxerCLSID",
                                 QString::fromStdString(core::GuidToString(filter->ClassId())));
}
