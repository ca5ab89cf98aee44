#include "sync/change_sync_point_dialog.h"

#include "language/language.h"
#include "platform/ui/prompts.h"
#include "resources/resource.h"
#include "sync/time_box.h"
#include "sync/time_text.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CDialogChangeSyncPoint::CDialogChangeSyncPoint(QWidget* parent) : ui::Dialog(parent) {
    setWindowTitle(QStringLiteral("Change synchronization time"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(Register(IDC_STATIC_CHANGE_SYNC_VIDEO_TIME, new QLabel("Video time:", this)), 0, 0);
    grid->addWidget(Register(IDC_EDIT_CHANGE_SYNC_VIDEO_TIME, new QLineEdit(this)), 0, 1);
    grid->addWidget(Register(IDC_STATIC_CHANGE_SYNC_AUDIO_TIME, new QLabel("Audio time:", this)), 1, 0);
    grid->addWidget(Register(IDC_EDIT_CHANGE_SYNC_AUDIO_TIME, new QLineEdit(this)), 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = Register(IDOK_BUTTON, new QPushButton("OK", this));
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(Register(IDCANCEL_BUTTON, new QPushButton("Cancel", this)));
    grid->addLayout(buttons, 2, 0, 1, 2);
    setFixedSize(280, 148);
}

int CDialogChangeSyncPoint::exec() {
    SetDlgItemText(IDC_EDIT_CHANGE_SYNC_VIDEO_TIME, QString::fromStdString(avsync::TimeToText(videoTime)));
    SetDlgItemText(IDC_EDIT_CHANGE_SYNC_AUDIO_TIME, QString::fromStdString(avsync::TimeToText(audioTime)));
    Language().TranslateDialog(this, IDD_DIALOG_EDIT_SYNC_POINT);
    return ui::Dialog::exec();
}

void CDialogChangeSyncPoint::OnCommand(int id) {
    if (id == IDOK_BUTTON) {
        const std::optional<REFERENCE_TIME> video = avsync::ReadTimeBox(
            *this, IDC_EDIT_CHANGE_SYNC_VIDEO_TIME, IDC_STATIC_CHANGE_SYNC_VIDEO_TIME, videoTime);
        if (!video)
            return;
        const std::optional<REFERENCE_TIME> audio = avsync::ReadTimeBox(
            *this, IDC_EDIT_CHANGE_SYNC_AUDIO_TIME, IDC_STATIC_CHANGE_SYNC_AUDIO_TIME, audioTime);
        if (!audio)
            return;
        // Refused times stay typed, so the user can correct them; the bounds are written as
        // the boxes write times.
        if (bounds && !bounds->Holds({*video, *audio})) {
            const auto text = [](REFERENCE_TIME time) {
                return QString::fromStdString(avsync::TimeToText(time));
            };
            ui::MessageBox(this,
                           Language()
                               .GetString(IDS_MESSAGE_OUT_OF_RANGE)
                               .arg(text(bounds->low.videoTime), text(bounds->high.videoTime),
                                    text(bounds->low.audioTime), text(bounds->high.audioTime)),
                           Language().GetString(IDS_MESSAGE_ERROR_LOWER));
            return;
        }
        videoTime = *video;
        audioTime = *audio;
        accept();
    } else if (id == IDCANCEL_BUTTON) {
        reject();
    }
}
