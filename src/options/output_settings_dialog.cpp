#include "options/output_settings_dialog.h"

#include "language/language.h"
#include "options/av_option_rows.h"
#include "options/av_options_dialog.h"
#include "options/codec_settings.h"
#include "options/container_check.h"
#include "options/field_check.h"
#include "options/output_extension.h"
#include "options/picture_copy_check.h"
#include "options/stored_compressor.h"
#include "platform/core/guid.h"
#include "platform/graph/device_enumerator.h"
#include "platform/graph/filter.h"
#include "platform/graph/filter_options.h"
#include "platform/settings/store.h"
#include "platform/ui/prompts.h"
#include "resources/resource.h"
#include "sync/time_text.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <climits>

namespace {

using graph::DeviceCategory;

constexpr int kCustomSizeRow = 8;
constexpr int kCustomFrameRateRow = 6;

// The fixed sizes of the resolution rows 1 to 7.
constexpr std::array<std::pair<int, int>, 7> kFixedSizes = {
    {{640, 480}, {720, 576}, {720, 480}, {480, 576}, {480, 480}, {352, 288}, {352, 240}}};
constexpr const char* kFixedSizeTexts[] = {"640*480", "720 * 576", "720 * 480", "480*576",
                                           "480*480", "352 * 288", "352 * 240"};
// The fixed rates of the frame-rate rows 1 to 5.
constexpr std::array<double, 5> kFixedFrameRates = {23.976, 24, 25, 29.97, 30};
constexpr const char* kFixedFrameRateTexts[] = {"23.976", "24", "25", "29.97", "30"};
// The audio bit-rate rows, in bit/s.
constexpr std::array<int, 4> kAudioBitrates = {64000, 128000, 192000, 320000};

// What each output format shows; every other control of the table is hidden.
constexpr int kFormatControls[] = {IDC_STATIC_VIDEO_COMPRESSOR, IDC_COMBO_VIDEO_COMPRESSOR,
                                   IDC_STATIC_AUDIO_COMPRESSOR, IDC_COMBO_AUDIO_COMPRESSOR,
                                   IDC_BUTTON_VIDEO_CODEC_SETTINGS, IDC_STATIC_OPTIONS_NOTE,
                                   IDC_STATIC_VIDEO_COMPRESSOR_BITRATE, IDC_EDIT_VIDEO_BITRATE,
                                   IDC_STATIC_VIDEO_BITRATE_UNIT,
                                   IDC_STATIC_AUDIO_COMPRESSOR_BITRATE, IDC_COMBO_AUDIO_BITRATE,
                                   IDC_STATIC_AUDIO_BITRATE_UNIT, IDC_STATIC_VIDEO_MUXER,
                                   IDC_COMBO_MUXER_SORTED};
constexpr int kCompressorControls[] = {IDC_STATIC_VIDEO_COMPRESSOR, IDC_COMBO_VIDEO_COMPRESSOR,
                                       IDC_STATIC_AUDIO_COMPRESSOR, IDC_COMBO_AUDIO_COMPRESSOR,
                                       IDC_BUTTON_VIDEO_CODEC_SETTINGS, IDC_STATIC_OPTIONS_NOTE};
constexpr int kBitrateControls[] = {IDC_STATIC_VIDEO_COMPRESSOR_BITRATE, IDC_EDIT_VIDEO_BITRATE,
                                    IDC_STATIC_VIDEO_BITRATE_UNIT,
                                    IDC_STATIC_AUDIO_COMPRESSOR_BITRATE, IDC_COMBO_AUDIO_BITRATE,
                                    IDC_STATIC_AUDIO_BITRATE_UNIT};
constexpr int kMuxerControls[] = {IDC_STATIC_VIDEO_MUXER, IDC_COMBO_MUXER_SORTED};

constexpr const char* kDefaultMuxer = "AVI Mux";

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

// The row of a kind's preferred compressor, or the uncompressed row without one.
int PreferredCompressorRow(const options::CompressorKind& kind) {
    return graph::FindDevice(kind.category, kind.preferred) + 1;
}

int RowOf(QComboBox* combo, const QString& text) { return combo->findText(text, Qt::MatchExactly); }

} // namespace

CDialogOutputSettings::CDialogOutputSettings(QWidget* parent) : ui::Dialog(parent) {
    setWindowTitle(QStringLiteral("Output options"));
    CreateControls();
}

CDialogOutputSettings::~CDialogOutputSettings() = default;

QComboBox* CDialogOutputSettings::Combo(int id) const { return Item<QComboBox>(id); }

void CDialogOutputSettings::CreateControls() {
    auto* page = new QVBoxLayout(this);
    page->setSizeConstraint(QLayout::SetFixedSize);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    page->addLayout(grid);
    const auto label = [this](int id, const char* text) {
        return Register(id, new QLabel(QString::fromUtf8(text), this));
    };
    const auto combo = [this](int id) {
        auto* box = Register(id, new QComboBox(this));
        // Long encoder names must not widen the dialog; the open list shows them whole.
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(28);
        return box;
    };
    const auto edit = [this](int id, int width) {
        auto* line = Register(id, new QLineEdit(this));
        if (width > 0)
            line->setFixedWidth(width);
        return line;
    };

    grid->addWidget(label(IDC_STATIC_OUTPUT_FORMAT, "Output Format:"), 0, 0);
    grid->addWidget(combo(IDC_COMBO_OUTPUT_FORMAT), 0, 1);

    grid->addWidget(label(IDC_STATIC_OUTPUT_FILE, "Output file:"), 1, 0);
    auto* file = new QHBoxLayout;
    file->addWidget(edit(IDC_EDIT_OUTPUT_FILE, 0));
    file->addWidget(Register(IDC_BUTTON_BROWSE, new QPushButton("Browse", this)));
    grid->addLayout(file, 1, 1, 1, 2);

    grid->addWidget(label(IDC_STATIC_RESOLUTION, "Resolution:"), 2, 0);
    grid->addWidget(combo(IDC_COMBO_RESOLUTION), 2, 1);
    auto* size = new QHBoxLayout;
    size->addWidget(edit(IDC_EDIT_CUSTOM_WIDTH, 56));
    size->addWidget(edit(IDC_EDIT_CUSTOM_HEIGHT, 56));
    size->addStretch();
    grid->addLayout(size, 2, 2);

    grid->addWidget(label(IDC_STATIC_FRAME_RATE, "Frame rate:"), 3, 0);
    grid->addWidget(combo(IDC_COMBO_FRAME_RATE), 3, 1);
    auto* rate = new QHBoxLayout;
    rate->addWidget(edit(IDC_EDIT_CUSTOM_FRAME_RATE, 80));
    rate->addStretch();
    grid->addLayout(rate, 3, 2);

    grid->addWidget(label(IDC_STATIC_RESIZE_MODE, "Resize mode:"), 4, 0);
    grid->addWidget(combo(IDC_COMBO_RESIZE_MODE), 4, 1);

    // AVI and the custom multiplexer choose compressors; WMV chooses bit rates in the same
    // rows.
    grid->addWidget(label(IDC_STATIC_VIDEO_COMPRESSOR, "Video compressor:"), 5, 0);
    grid->addWidget(label(IDC_STATIC_VIDEO_COMPRESSOR_BITRATE, "Video encoding bitrate:"), 5, 0);
    grid->addWidget(combo(IDC_COMBO_VIDEO_COMPRESSOR), 5, 1);
    auto* videoRate = new QHBoxLayout;
    videoRate->addWidget(edit(IDC_EDIT_VIDEO_BITRATE, 80));
    videoRate->addWidget(label(IDC_STATIC_VIDEO_BITRATE_UNIT, "Kbps"));
    videoRate->addStretch();
    grid->addLayout(videoRate, 5, 1);
    grid->addWidget(Register(IDC_BUTTON_VIDEO_CODEC_SETTINGS, new QPushButton("Settings", this)), 5, 2,
                    Qt::AlignLeft);

    grid->addWidget(label(IDC_STATIC_AUDIO_COMPRESSOR, "Audio compressor:"), 6, 0);
    grid->addWidget(label(IDC_STATIC_AUDIO_COMPRESSOR_BITRATE, "Audio encoding bitrate:"), 6, 0);
    grid->addWidget(combo(IDC_COMBO_AUDIO_COMPRESSOR), 6, 1);
    auto* audioRate = new QHBoxLayout;
    auto* audioRates = Register(IDC_COMBO_AUDIO_BITRATE, new QComboBox(this));
    audioRate->addWidget(audioRates);
    audioRate->addWidget(label(IDC_STATIC_AUDIO_BITRATE_UNIT, "Kbps"));
    audioRate->addStretch();
    grid->addLayout(audioRate, 6, 1);

    grid->addWidget(label(IDC_STATIC_VIDEO_MUXER, "Custom video muxer:"), 7, 0);
    grid->addWidget(combo(IDC_COMBO_MUXER_SORTED), 7, 1);
    auto* note = label(IDC_STATIC_OPTIONS_NOTE,
                       "Note: some video and audio compressors may not work properly. For more "
                       "detail, please read help.");
    note->setWordWrap(true);
    grid->addWidget(note, 8, 0, 1, 3);
    // Whatever the format shows, the dialog keeps its size.
    for (int id : kFormatControls) {
        QSizePolicy policy = GetDlgItem(id)->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        GetDlgItem(id)->setSizePolicy(policy);
    }

    // Never shown: the codecs "Settings" configures, the audio bit rate as a number and the
    // filters in their enumeration order.
    for (int id : {IDC_COMBO_CODEC_LIST, IDC_COMBO_MUXER_ORDERED})
        Register(id, new QComboBox(this))->hide();
    Register(IDC_EDIT_AUDIO_BITRATE, new QLineEdit(this))->hide();

    auto* skips = new QGroupBox(this);
    auto* skipGrid = new QGridLayout(skips);
    for (auto [row, labelId, text, editId, unitId] :
         {std::tuple{0, IDC_STATIC_SKIP_FORWARD, "Skip forward:", IDC_EDIT_SKIP_FORWARD,
                     IDC_STATIC_UNIT_SECOND},
          {1, IDC_STATIC_SKIP_BACKWARD, "Skip backward:", IDC_EDIT_SKIP_BACKWARD,
           IDC_STATIC_UNIT_SECOND_2},
          {2, IDC_STATIC_AUDIO_SKIP_FORWARD, "Audio skip forward:", IDC_EDIT_AUDIO_SKIP_FORWARD,
           IDC_STATIC_UNIT_SECOND_3},
          {3, IDC_STATIC_AUDIO_SKIP_BACKWARD, "Audio skip backward:", IDC_EDIT_AUDIO_SKIP_BACKWARD,
           IDC_STATIC_UNIT_SECOND_4}}) {
        skipGrid->addWidget(Register(labelId, new QLabel(text, skips)), row, 0);
        auto* step = Register(editId, new QLineEdit(skips));
        step->setFixedWidth(90);
        skipGrid->addWidget(step, row, 1);
        skipGrid->addWidget(Register(unitId, new QLabel("Seconds", skips)), row, 2);
    }
    skipGrid->setColumnStretch(3, 1);
    page->addWidget(skips);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Register(IDC_BUTTON_OUTPUT_DEAULT, new QPushButton("Default", this)));
    buttons->addStretch();
    auto* ok = Register(IDC_BUTTON_OPTIONS_OK, new QPushButton("OK", this));
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(Register(IDC_BUTTON_OPTIONS_CANCEL, new QPushButton("Cancel", this)));
    page->addLayout(buttons);

    Combo(IDC_COMBO_OUTPUT_FORMAT)->addItems(Language().GetString(IDS_OUTPUT_FORMATS).split(u'\n'));
    audioRates->addItems({"64", "128", "192", "320"});

    // A row the user picks; rows the program selects do not count, as in a dialog template.
    const auto onPick = [this](int id, void (CDialogOutputSettings::*handler)()) {
        connect(Combo(id), &QComboBox::activated, this, [this, handler] { (this->*handler)(); });
    };
    onPick(IDC_COMBO_OUTPUT_FORMAT, &CDialogOutputSettings::OnFormatChanged);
    onPick(IDC_COMBO_RESOLUTION, &CDialogOutputSettings::OnResolutionChanged);
    onPick(IDC_COMBO_FRAME_RATE, &CDialogOutputSettings::OnFrameRateChanged);
    connect(Combo(IDC_COMBO_MUXER_ORDERED), &QComboBox::activated, this,
            [this] { OnMuxerChanged(IDC_COMBO_MUXER_ORDERED, IDC_COMBO_MUXER_SORTED); });
    connect(Combo(IDC_COMBO_MUXER_SORTED), &QComboBox::activated, this,
            [this] { OnMuxerChanged(IDC_COMBO_MUXER_SORTED, IDC_COMBO_MUXER_ORDERED); });
}

int CDialogOutputSettings::exec() {
    FillResolutionRows();
    FillFrameRateRows();
    FillCompressorList(IDC_COMBO_VIDEO_COMPRESSOR, options::kVideoCompressorKind,
                       Language().GetString(IDS_UNCOMPRESSED_VIDEO));
    FillCompressorList(IDC_COMBO_AUDIO_COMPRESSOR, options::kAudioCompressorKind,
                       Language().GetString(IDS_UNCOMPRESSED_AUDIO));

    auto* resize = Combo(IDC_COMBO_RESIZE_MODE);
    resize->clear();
    resize->addItems({Language().GetString(IDS_MESSAGE_PRESERVE_ASPECT_RATIO),
                      Language().GetString(IDS_MESSAGE_RESIZE_STRETCH)});
    resize->setCurrentIndex(stretchMode == 2 ? 0 : 1);

    SetDlgItemText(IDC_EDIT_VIDEO_BITRATE,
                   QString::number(static_cast<unsigned>(videoBitrate) / 1024u));
    SetDlgItemText(IDC_EDIT_AUDIO_BITRATE, QString::number(audioBitrate / 1000));
    const auto* audioRow = std::find(kAudioBitrates.begin(), kAudioBitrates.end(), audioBitrate);
    Combo(IDC_COMBO_AUDIO_BITRATE)
        ->setCurrentIndex(audioRow == kAudioBitrates.end()
                              ? -1
                              : static_cast<int>(audioRow - kAudioBitrates.begin()));

    Combo(IDC_COMBO_OUTPUT_FORMAT)->setCurrentIndex(outputFormat);
    OnFormatChanged();

    FillMuxerLists();
    SelectMuxer(settings::Profile().GetProfileString("DirectShowFilters", "CurrentMuxerName",
                                                     kDefaultMuxer));

    SetDlgItemText(IDC_EDIT_SKIP_FORWARD, QString::number(skipForwardSeconds));
    SetDlgItemText(IDC_EDIT_SKIP_BACKWARD, QString::number(skipBackwardSeconds));
    SetDlgItemText(IDC_EDIT_AUDIO_SKIP_FORWARD, QString::number(audioSkipForwardSeconds));
    SetDlgItemText(IDC_EDIT_AUDIO_SKIP_BACKWARD, QString::number(audioSkipBackwardSeconds));

    Language().TranslateDialog(this, IDD_DIALOG_OUTPUT_OPTIONS);
    return ui::Dialog::exec();
}

void CDialogOutputSettings::FillResolutionRows() {
    auto* rows = Combo(IDC_COMBO_RESOLUTION);
    rows->clear();
    const QString original = Language().GetString(IDS_MESSAGE_ORIGINAL_SIZE);
    rows->addItem(nativeWidth != 0 || nativeHeight != 0
                      ? QStringLiteral("%1 %2*%3").arg(original).arg(nativeWidth).arg(nativeHeight)
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
    rows->addItem(videoCount >= 1 ? QString::asprintf("%s %.3f", original.toUtf8().constData(),
                                                      sourceFrameRate)
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
    QStringList names;
    for (const graph::DeviceEntry& entry : graph::EnumerateDevices(DeviceCategory::Filter))
        names.append(QString::fromStdString(entry.friendlyName));
    ordered->addItems(names);
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    sorted->addItems(names);
}

void CDialogOutputSettings::SelectMuxer(const QString& name) {
    const int found = graph::FindDevice(DeviceCategory::Filter, name.toStdString());
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
        if (outputFormat == options::FormatCustomMuxer)
            SelectMuxer(kDefaultMuxer);
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

bool CDialogOutputSettings::ReadSkipSteps(int* forward, int* backward, float* audioForward,
                                          float* audioBackward) {
    QString why;
    int refused = 0;
    if (!options::ReadIntegerField(GetDlgItemText(IDC_EDIT_SKIP_FORWARD), 1, INT_MAX, forward, &why))
        refused = IDC_EDIT_SKIP_FORWARD;
    else if (!options::ReadIntegerField(GetDlgItemText(IDC_EDIT_SKIP_BACKWARD), 1, INT_MAX,
                                        backward, &why))
        refused = IDC_EDIT_SKIP_BACKWARD;
    else if (!options::ReadNumberField(GetDlgItemText(IDC_EDIT_AUDIO_SKIP_FORWARD), 0.01f,
                                       65535.0f, audioForward, &why))
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
    chosen.outputFrameRate = rateRow == 0                  ? sourceFrameRate
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
    const double typedRate = avsync::TextToDouble(rateText.toStdString());
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
        QString refusal = options::ContainerRefusal(
            Entry(DeviceCategory::Filter, muxer), Entry(DeviceCategory::VideoCompressor, videoRow - 1),
            Entry(DeviceCategory::AudioCompressor, audioRow - 1), copy);
        if (refusal.isEmpty() && copy)
            refusal = options::PictureCopyRefusal(
                {videoPath, videoCount, nativeWidth, nativeHeight, sourceFrameRate},
                ChosenPicture(format, typedRate), Entry(DeviceCategory::Filter, muxer), syncState);
        if (!refusal.isEmpty()) {
            ui::MessageBox(this, refusal, {}, ui::MB_OK | ui::MB_ICONEXCLAMATION);
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
         {std::tuple{videoRow, &options::kVideoCompressorKind, &videoCompressor, &useVideoCompressor},
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
    stretchMode = Combo(IDC_COMBO_RESIZE_MODE)->currentIndex() == 0 ? 2 : 0;
    // Kbps in units of 1024 bit/s, held within the stored 32-bit value.
    videoBitrate = static_cast<int>(std::clamp<long long>(
        avsync::TextToInteger(GetDlgItemText(IDC_EDIT_VIDEO_BITRATE).toStdString()) * 1024,
        INT_MIN, INT_MAX));
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
