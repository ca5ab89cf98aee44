#include "app/point_proposals_dialog.h"

#include "align/align_text.h"
#include "language/language.h"
#include "resources/resource.h"
#include "sync/recording_jumps.h"
#include "sync/time_text.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString Time(REFERENCE_TIME time) {
    return QString::fromStdString(avsync::TimeToText(time));
}

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

// Drift, offset and the jumps: what the user needs to judge whether the match is believable.
QString Summary(const align::Alignment& found, bool withJumps) {
    const CLanguage& language = Language();
    QString text = language.GetString(IDS_FOUND_DRIFT_OFFSET)
                       .arg(align::DriftText(found.driftPpm), Time(found.offset));
    if (!withJumps)
        return text;
    if (found.jumps.empty())
        return text + '\n' + language.GetString(IDS_FOUND_NO_JUMP);
    for (const align::Jump& jump : found.jumps)
        text += '\n' + language.GetString(IDS_FOUND_JUMP)
                           .arg(Time(jump.videoFrom), Time(jump.videoTo), Time(jump.recordingFrom),
                                Time(jump.recordingTo));
    std::vector<avsync::SyncPoint> points;
    for (const align::ProposedPoint& point : found.points)
        points.push_back({point.video, point.audio});
    for (const avsync::VideoSpan& span : avsync::SilentSpans(points))
        text +=
            '\n' + language.GetString(IDS_FOUND_SILENT_SPAN).arg(Time(span.from), Time(span.to));
    return text;
}

} // namespace

PointProposalsDialog::PointProposalsDialog(const align::Alignment& found, int soundColumn,
                                           bool withJumps, QWidget* parent)
    : QDialog(parent), points_(found.points) {
    setWindowTitle(QStringLiteral("Points found"));
    const CLanguage& language = Language();
    auto* layout = new QVBoxLayout(this);
    table_ = new QTableWidget(static_cast<int>(points_.size()), 3);
    table_->setHorizontalHeaderLabels({language.GetString(IDS_COLUMN_FOUND_VIDEO_TIME),
                                       language.GetString(soundColumn),
                                       language.GetString(IDS_COLUMN_FOUND_CONFIDENCE)});
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->verticalHeader()->hide();
    for (int row = 0; row < table_->rowCount(); ++row) {
        const align::ProposedPoint& point = points_[static_cast<std::size_t>(row)];
        QTableWidgetItem* video = Cell(Time(point.video));
        video->setFlags(video->flags() | Qt::ItemIsUserCheckable);
        video->setCheckState(Qt::Checked);
        table_->setItem(row, 0, video);
        table_->setItem(row, 1, Cell(Time(point.audio)));
        table_->setItem(row, 2, Cell(QString::number(point.confidence, 'f', 2)));
    }
    layout->addWidget(table_);
    layout->addWidget(new QLabel(Summary(found, withJumps)));

    auto* buttons = new QHBoxLayout;
    addAll_ = new QPushButton(language.GetString(IDS_BUTTON_ADD_ALL_POINTS));
    addChecked_ = new QPushButton(language.GetString(IDS_BUTTON_ADD_CHECKED_POINTS));
    cancel_ = new QPushButton(language.GetString(IDS_BUTTON_CANCEL));
    buttons->addStretch();
    for (QPushButton* button : {addAll_, addChecked_, cancel_})
        buttons->addWidget(button);
    layout->addLayout(buttons);
    connect(addAll_, &QPushButton::clicked, this, [this] {
        CheckAll();
        accept();
    });
    connect(addChecked_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    resize(460, 420);
    // Every text here is the language's, so the whole dialog takes its font.
    if (language.dialogFont)
        setFont(*language.dialogFont);
    language.TranslateDialog(this, IDD_DIALOG_POINT_PROPOSALS);
}

void PointProposalsDialog::CheckAll() {
    for (int row = 0; row < table_->rowCount(); ++row)
        table_->item(row, 0)->setCheckState(Qt::Checked);
}

std::vector<avsync::SyncPoint> PointProposalsDialog::Chosen() const {
    std::vector<avsync::SyncPoint> chosen;
    if (result() != QDialog::Accepted)
        return chosen;
    for (int row = 0; row < table_->rowCount(); ++row) {
        if (table_->item(row, 0)->checkState() == Qt::Checked) {
            const align::ProposedPoint& point = points_[static_cast<std::size_t>(row)];
            chosen.push_back({point.video, point.audio});
        }
    }
    return chosen;
}
