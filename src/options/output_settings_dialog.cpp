// The output options dialog: its controls, and opening it on the owner's values.
#include "options/output_settings_dialog.h"

#include "language/language.h"
#include "options/output_settings_dialog_rows.h"
#include "options/stored_compressor.h"
#include "platform/settings/store.h"
#include "resources/resource.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

using namespace options::dialog_rows;

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
    // Whatever the format, the sound is composed the same way.
    grid->addWidget(Register(IDC_CHECK_KEEP_PITCH, new QCheckBox("Keep the pitch", this)), 6, 2,
                    Qt::AlignLeft);

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

    Item<QCheckBox>(IDC_CHECK_KEEP_PITCH)->setChecked(keepPitch != 0);
    SetDlgItemText(IDC_EDIT_SKIP_FORWARD, QString::number(skipForwardSeconds));
    SetDlgItemText(IDC_EDIT_SKIP_BACKWARD, QString::number(skipBackwardSeconds));
    SetDlgItemText(IDC_EDIT_AUDIO_SKIP_FORWARD, QString::number(audioSkipForwardSeconds));
    SetDlgItemText(IDC_EDIT_AUDIO_SKIP_BACKWARD, QString::number(audioSkipBackwardSeconds));

    Language().TranslateDialog(this, IDD_DIALOG_OUTPUT_OPTIONS);
    return ui::Dialog::exec();
}
