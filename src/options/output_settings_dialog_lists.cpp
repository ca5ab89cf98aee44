// The output options dialog's lists: filling them, and what choosing a row of one does.
#include "options/output_settings_dialog.h"

#include "language/language.h"
#include "options/av_option_rows.h"
#include "options/av_options_dialog.h"
#include "options/codec_settings.h"
#include "options/output_extension.h"
#include "options/output_settings_dialog_rows.h"
#include "options/picture_copy_check.h"
#include "options/stored_compressor.h"
#include "platform/graph/writing/device_enumerator.h"
#include "platform/graph/writing/filter_options.h"
#include "platform/settings/store.h"
#include "platform/ui/prompts.h"
#include "resources/resource.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <QComboBox>

#include <algorithm>
#include <array>
#include <tuple>

using namespace options::dialog_rows;
using graph::DeviceCategory;

namespace {

constexpr int kCustomSizeRow = 8;
// The fixed sizes of the resolution rows 1 to 7.
constexpr std::array<std::pair<int, int>, 7> kFixedSizes = {
    {{640, 480}, {720, 576}, {720, 480}, {480, 576}, {480, 480}, {352, 288}, {352, 240}}};
constexpr const char* kFixedSizeTexts[] = {"640*480", "720 * 576", "720 * 480", "480*576",
                                           "480*480", "352 * 288", "352 * 240"};
constexpr const char* kFixedFrameRateTexts[] = {"23.976", "24", "25", "29.97", "30"};

constexpr int kCompressorControls[] = {IDC_STATIC_VIDEO_COMPRESSOR,     IDC_COMBO_VIDEO_COMPRESSOR,
                                       IDC_STATIC_AUDIO_COMPRESSOR,     IDC_COMBO_AUDIO_COMPRESSOR,
                                       IDC_BUTTON_VIDEO_CODEC_SETTINGS, IDC_STATIC_OPTIONS_NOTE};
constexpr int kBitrateControls[] = {
    IDC_STATIC_VIDEO_COMPRESSOR_BITRATE, IDC_EDIT_VIDEO_BITRATE,  IDC_STATIC_VIDEO_BITRATE_UNIT,
    IDC_STATIC_AUDIO_COMPRESSOR_BITRATE, IDC_COMBO_AUDIO_BITRATE, IDC_STATIC_AUDIO_BITRATE_UNIT};
constexpr int kMuxerControls[] = {IDC_STATIC_VIDEO_MUXER, IDC_COMBO_MUXER_SORTED};

// The row of a kind's preferred compressor, or the uncompressed row without one.
int PreferredCompressorRow(const options::CompressorKind& kind) {
    return graph::FindDevice(kind.category, kind.preferred) + 1;
}

int RowOf(QComboBox* combo, const QString& text) {
    return combo->findText(text, Qt::MatchExactly);
}

} // namespace

void CDialogOutputSettings::FillResolutionRows() {
    auto* rows = Combo(IDC_COMBO_RESOLUTION);
    rows->clear();
    const QString original = Language().GetString(IDS_MESSAGE_ORIGINAL_SIZE);
    rows->addItem(
        nativeWidth != 0 || nativeHeight != 0
            ? QStringLiteral("%1 %2*%3")
                  .arg(original, QString::number(nativeWidth), QString::number(nativeHeight))
            : original);
    for (const char* text : kFixedSizeTexts)
        rows->addItem(text);
    rows->addItem(Language().GetString(IDS_MESSAGE_CUSTOM_SIZE));

    SetDlgItemText(IDC_EDIT_OUTPUT_FILE, outputFileName);
    SetDlgItemText(IDC_EDIT_CUSTOM_WIDTH, QString::number(outputWidth));
    SetDlgItemText(IDC_EDIT_CUSTOM_HEIGHT, QString::number(outputHeight));
    const std::pair<int, int> size{outputWidth, outputHeight};
    int row = kCustomSizeRow;
    if (size == std::pair{nativeWidth, nativeHeight}) {
        row = 0;
    } else if (const auto* fixed = std::find(kFixedSizes.begin(), kFixedSizes.end(), size);
               fixed != kFixedSizes.end()) {
        row = 1 + static_cast<int>(fixed - kFixedSizes.begin());
    }
    rows->setCurrentIndex(row);
    ShowDlgItem(IDC_EDIT_CUSTOM_WIDTH, row == kCustomSizeRow);
    ShowDlgItem(IDC_EDIT_CUSTOM_HEIGHT, row == kCustomSizeRow);
}

void CDialogOutputSettings::FillFrameRateRows() {
    auto* rows = Combo(IDC_COMBO_FRAME_RATE);
    rows->clear();
    const QString original = Language().GetString(IDS_MESSAGE_ORIGINAL_FRAME_SIZE);
    rows->addItem(videoCount >= 1
                      ? QString::asprintf("%s %.3f", original.toUtf8().constData(), sourceFrameRate)
                      : original);
    for (const char* text : kFixedFrameRateTexts)
        rows->addItem(text);
    rows->addItem(Language().GetString(IDS_MESSAGE_CUSTOM_FRAME_SIZE));

    SetDlgItemText(IDC_EDIT_CUSTOM_FRAME_RATE, frameRateIndex != 0
                                                   ? QString::asprintf("%.3f", outputFrameRate)
                                                   : QString::asprintf("%f", 23.976));
    rows->setCurrentIndex(frameRateIndex);
    ShowDlgItem(IDC_EDIT_CUSTOM_FRAME_RATE, frameRateIndex > 5);
}

void CDialogOutputSettings::FillCompressorList(int id, const options::CompressorKind& kind,
                                               const QString& uncompressed) {
    auto* list = Combo(id);
    list->clear();
    list->addItem(uncompressed);
    for (const graph::DeviceEntry& entry : graph::EnumerateDevices(kind.category))
        list->addItem(QString::fromStdString(entry.friendlyName));
    const int stored = settings::Profile().GetProfileInt(kind.section, "CompressorNumber", -2);
    const bool picture = kind.category == DeviceCategory::VideoCompressor;
    if (picture)
        list->addItem(Language().GetString(IDS_COPY_PICTURE));
    // A stored number past the list selects nothing, as a list does for a row it lacks.
    if (picture && stored == options::kCopyPictureNumber)
        list->setCurrentIndex(list->count() - 1);
    else
        list->setCurrentIndex(stored == -2 ? PreferredCompressorRow(kind) : stored + 1);
    ShowDlgItem(id, false);
}

void CDialogOutputSettings::FillMuxerLists() {
    auto* ordered = Combo(IDC_COMBO_MUXER_ORDERED);
    auto* sorted = Combo(IDC_COMBO_MUXER_SORTED);
    ordered->clear();
    sorted->clear();
    // The hidden list keeps every filter, so that its rows are the filters' numbers, which the
    // settings store; the one shown offers only what writes a file.
    QStringList names;
    for (const graph::DeviceEntry& entry : graph::EnumerateDevices(DeviceCategory::Filter)) {
        const QString name = QString::fromStdString(entry.friendlyName);
        ordered->addItem(name);
        if (entry.kind == graph::FilterKind::Multiplexer)
            names.append(name);
    }
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    sorted->addItems(names);
}

void CDialogOutputSettings::SelectMuxer(const QString& name) {
    const int found = graph::FindDevice(DeviceCategory::Filter, name.toStdString());
    // A filter that writes no file, stored by an older version, gives way to the default.
    if (found >= 0 && name != kDefaultMuxer &&
        graph::EnumerateDevices(DeviceCategory::Filter)[found].kind != graph::FilterKind::Multiplexer)
        return SelectMuxer(kDefaultMuxer);
    auto* ordered = Combo(IDC_COMBO_MUXER_ORDERED);
    auto* sorted = Combo(IDC_COMBO_MUXER_SORTED);
    if (found >= 0) {
        ordered->setCurrentIndex(found);
        sorted->setCurrentIndex(RowOf(sorted, ordered->itemText(found)));
    } else {
        ordered->setCurrentIndex(0);
        sorted->setCurrentIndex(0);
        ui::MessageBox(this, "can not find the default avi muxer!",
                       Language().GetString(IDS_MESSAGE_ERROR_LOWER));
    }
    ShowDlgItem(IDC_COMBO_MUXER_ORDERED, false);
}

void CDialogOutputSettings::OnCommand(int id) {
    switch (id) {
    case IDC_BUTTON_BROWSE:
        return OnBrowse();
    case IDC_BUTTON_OUTPUT_DEAULT:
        return OnDefault();
    case IDC_BUTTON_VIDEO_CODEC_SETTINGS:
        return OnCodecSettings();
    case IDC_BUTTON_OPTIONS_OK:
        return OnOk();
    case IDC_BUTTON_OPTIONS_CANCEL:
        return reject();
    default:
        return;
    }
}

void CDialogOutputSettings::OnFormatChanged() {
    outputFormat = Combo(IDC_COMBO_OUTPUT_FORMAT)->currentIndex();
    ApplyExtension(GetDlgItemText(IDC_EDIT_OUTPUT_FILE));
    ShowFormatControls();
}

void CDialogOutputSettings::ApplyExtension(const QString& path) {
    const int muxer = Combo(IDC_COMBO_MUXER_ORDERED)->currentIndex();
    const auto& muxers = graph::EnumerateDevices(DeviceCategory::Filter);
    const QString extensions = muxer >= 0 && muxer < static_cast<int>(muxers.size())
                                   ? QString::fromStdString(muxers[muxer].extensions)
                                   : QString();
    SetDlgItemText(IDC_EDIT_OUTPUT_FILE,
                   options::ApplyFormatExtension(path, outputFormat, extensions));
}

void CDialogOutputSettings::ShowFormatControls() {
    for (int id : kFormatControls)
        ShowDlgItem(id, false);
    const auto show = [this](const auto& ids) {
        for (int id : ids)
            ShowDlgItem(id, true);
    };
    if (outputFormat == options::FormatWmv) {
        show(kBitrateControls);
    } else {
        show(kCompressorControls);
        if (outputFormat == options::FormatCustomMuxer)
            show(kMuxerControls);
    }
}

void CDialogOutputSettings::OnResolutionChanged() {
    const int row = Combo(IDC_COMBO_RESOLUTION)->currentIndex();
    int width = outputWidth;
    int height = outputHeight;
    if (row == 0) {
        width = nativeWidth;
        height = nativeHeight;
    } else if (row >= 1 && row <= static_cast<int>(kFixedSizes.size())) {
        std::tie(width, height) = kFixedSizes[row - 1];
    }
    SetDlgItemText(IDC_EDIT_CUSTOM_WIDTH, QString::number(width));
    SetDlgItemText(IDC_EDIT_CUSTOM_HEIGHT, QString::number(height));
    ShowDlgItem(IDC_EDIT_CUSTOM_WIDTH, row == kCustomSizeRow);
    ShowDlgItem(IDC_EDIT_CUSTOM_HEIGHT, row == kCustomSizeRow);
}

void CDialogOutputSettings::OnFrameRateChanged() {
    const int row = Combo(IDC_COMBO_FRAME_RATE)->currentIndex();
    if (row == kCustomFrameRateRow) {
        SetDlgItemText(IDC_EDIT_CUSTOM_FRAME_RATE, QString::asprintf("%.3f", outputFrameRate));
    } else if (row >= 0) {
        const double rate = row == 0 ? sourceFrameRate : kFixedFrameRates[row - 1];
        SetDlgItemText(IDC_EDIT_CUSTOM_FRAME_RATE, QString::asprintf("%f", rate));
    }
    ShowDlgItem(IDC_EDIT_CUSTOM_FRAME_RATE, row == kCustomFrameRateRow);
}

void CDialogOutputSettings::OnMuxerChanged(int fromId, int toId) {
    auto* to = Combo(toId);
    to->setCurrentIndex(RowOf(to, Combo(fromId)->currentText()));
    if (outputFormat == options::FormatCustomMuxer)
        ApplyExtension(GetDlgItemText(IDC_EDIT_OUTPUT_FILE));
}

void CDialogOutputSettings::OnBrowse() {
    const ui::FileFilter types[] = {{Language().GetString(IDS_FILTER_AVI), "*.avi"},
                                    {Language().GetString(IDS_FILTER_WMV), "*.wmv"},
                                    {Language().GetString(IDS_FILTER_ANY_VIDEO), "*.*"}};
    const QString path = GetDlgItemText(IDC_EDIT_OUTPUT_FILE);
    const int slash = path.lastIndexOf(u'/');
    ui::FileDialogRequest request;
    request.title = Language().GetString(IDS_MESSAGE_BROWSE_CAPTION);
    request.initialFolder = slash >= 0 ? path.left(slash) : QStringLiteral(".");
    request.initialName = QStringLiteral("*.*");
    const int type = std::clamp(outputFormat, 0, 2);
    request.filters = {types[type]};
    if (const auto chosen = ui::CurrentPrompts().SaveFileName(this, request))
        ApplyExtension(*chosen);
}

void CDialogOutputSettings::OnDefault() {
    if (outputFormat == options::FormatWmv) {
        SetDlgItemText(IDC_EDIT_VIDEO_BITRATE, QStringLiteral("780"));
        Combo(IDC_COMBO_AUDIO_BITRATE)->setCurrentIndex(1);
    } else {
        Combo(IDC_COMBO_VIDEO_COMPRESSOR)
            ->setCurrentIndex(PreferredCompressorRow(options::kVideoCompressorKind));
        Combo(IDC_COMBO_AUDIO_COMPRESSOR)
            ->setCurrentIndex(PreferredCompressorRow(options::kAudioCompressorKind));
        if (outputFormat == options::FormatCustomMuxer) {
            SelectMuxer(kDefaultMuxer);
            ApplyExtension(GetDlgItemText(IDC_EDIT_OUTPUT_FILE));
        }
    }
    SetDlgItemText(IDC_EDIT_SKIP_FORWARD, QStringLiteral("20"));
    SetDlgItemText(IDC_EDIT_SKIP_BACKWARD, QStringLiteral("10"));
    SetDlgItemText(IDC_EDIT_AUDIO_SKIP_FORWARD, QStringLiteral("0.3"));
    SetDlgItemText(IDC_EDIT_AUDIO_SKIP_BACKWARD, QStringLiteral("0.3"));
}

void CDialogOutputSettings::OnCodecSettings() {
    const auto& entries = graph::EnumerateDevices(DeviceCategory::VideoCompressor);
    // Every picture encoder can be configured, whatever picture it is given.
    QStringList descriptions;
    for (const graph::DeviceEntry& entry : entries)
        descriptions.append(QString::fromStdString(entry.friendlyName));
    auto* codecs = Combo(IDC_COMBO_CODEC_LIST);
    codecs->clear();
    codecs->addItems(descriptions);
    const int row =
        options::PickCodecRow(descriptions, Combo(IDC_COMBO_VIDEO_COMPRESSOR)->currentText());
    if (row < 0)
        return;
    codecs->setCurrentIndex(row);
    const graph::DeviceEntry& entry = entries[row];
    const auto codecOptions =
        graph::FilterOptions::ForEncoder(avcodec_find_encoder_by_name(entry.libraryName.c_str()));
    if (!codecOptions)
        return;
    // The page opens on the settings the encoder keeps.
    codecOptions->SetState(options::StoredCodecState(entry.libraryName));
    CDialogAvOptions page(codecOptions->Object(), options::kEncoderGeneralOptions,
                          QString::fromStdString(entry.friendlyName), this);
    if (page.exec() == QDialog::Accepted)
        options::StoreCodecState(entry.libraryName, codecOptions->State());
}
